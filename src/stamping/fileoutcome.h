#pragma once
// What became of one job-list file in a run.

#include <QString>
#include <QStringList>

struct FileOutcome {
    QString source;
    QString output;
    bool ok = false;
    QString error; // German reason when not ok
    // German: what the output lacks that did not fail the file (broken
    // metadata of the source left out, say)
    QStringList notes = {};
};
