#pragma once
// A number with its noun in the right number: "1 Datei", "0 Dateien", "2 Dateien".

#include <QString>

QString countedNoun(qint64 count, const QString& singular, const QString& plural);
