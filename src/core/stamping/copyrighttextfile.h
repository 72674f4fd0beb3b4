#pragma once
// The copyright text file: a plain text file whose lines, joined with nothing
// between them, form the copyright text of a run.

#include <QByteArrayView>
#include <QString>

// The text of a file's bytes: UTF-16 (little or big endian) after a UTF-16
// byte-order mark, else UTF-8 when the bytes are valid UTF-8 (a leading
// byte-order mark dropped), Windows-1252 otherwise; lines end at CR LF, CR or LF
// and are joined without separators. Pure, total on any input.
QString decodeCopyrightTextFile(QByteArrayView bytes);

// Reads and decodes the file at `path`. Returns false with a German reason in
// `error` when it is missing, not a regular file, too large or unreadable.
bool readCopyrightTextFile(const QString& path, QString* text, QString* error);
