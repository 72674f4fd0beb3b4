#pragma once
// The result of one stamping run: an error that kept it from starting, or what
// became of every processed file.

#include "core/stamping/fileoutcome.h"

#include <QString>
#include <vector>

struct StampingReport {
    QString startError; // German; set when nothing started
    std::vector<FileOutcome> files;
    bool stopped = false;         // ended early because the caller asked
    bool optionsNotSaved = false; // saving as default was asked for and failed
    QString composedPictureError; // German; "tester.bmp" could not be written

    bool started() const { return startError.isEmpty(); }
    int failedCount() const;
};
