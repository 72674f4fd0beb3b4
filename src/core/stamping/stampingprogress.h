#pragma once
// What a stamping run reports while it goes. Every hook has a silent default.

#include "core/stamping/fileoutcome.h"

#include <QString>

class StampingProgress {
public:
    virtual ~StampingProgress() = default;

    // Once per job-list row before anything else; false stops the run there
    // (the windows yield to the event loop here).
    virtual bool yield() { return true; }
    // The first entry that is not removed is about to be processed.
    virtual void processingStarted() {}
    // Row `row` is being worked on: its source, the rows after it, its number.
    virtual void rowStarted(int row) { (void)row; }
    virtual void fileCounters(const QString& source, int rowsLeft, int rowsDone) {
        (void)source, (void)rowsLeft, (void)rowsDone;
    }
    // The three-step bar of the current file.
    virtual void fileStep(int value, int maximum) { (void)value, (void)maximum; }
    // A file is done. With several threads this comes from the worker threads,
    // one call at a time.
    virtual void fileFinished(const FileOutcome& outcome) { (void)outcome; }
};
