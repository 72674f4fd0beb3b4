#pragma once
// What became of one job-list file in a run.

#include <QString>

struct FileOutcome {
    QString source;
    QString output;
    bool ok = false;
    QString error; // German reason when not ok
};
