#pragma once
// Step 4 of a run: the walk over the job list in row order. Rows are read (path,
// removed flag, notice options) as their files are handed out, up to a number
// of files ahead of the one whose results are shown next; the results are shown
// in row order, and each row is made current once every earlier row's results
// are shown, so counters, current row and bar move as in a run of one file
// after the other. The caller stamps what is handed out, on any thread, and
// gives the outcomes back on the walk's thread.

#include "core/stamping/stalecleaner.h"
#include "core/stamping/stampfile.h"
#include "core/stamping/stampinginputs.h"
#include "core/stamping/stampingprogress.h"
#include "core/stamping/stampingreport.h"

#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class StampingWalk {
public:
    struct File {
        int row;
        StampRequest request;
    };

    // `common` holds the output folder and text of steps 2 and 3; `ahead` is
    // the most files in hand at once (1: one file after the other). The output
    // folder is cleaned of stale temporaries here.
    StampingWalk(StampingInputs& inputs, StampingProgress& progress, StampRequest common,
                 int ahead);

    // The files to stamp now: rows read while fewer than `ahead` files are in
    // hand, none of them touching a path of a file in hand. Before a row is
    // read the progress may stop the run; the files in hand are still taken back.
    std::vector<File> filesToStart();
    // A file handed out is done after `stepsDone` of its three steps; its
    // results are shown once every earlier row's are.
    void finished(int row, const FileOutcome& outcome, int stepsDone);
    // Nothing in hand and nothing left to hand out.
    bool done();

    StampingReport& report() { return report_; }

private:
    struct InHand {
        int row;
        StampRequest request;
        QStringList touched;
        bool handedOut = false;
        std::optional<FileOutcome> outcome;
        int stepsDone = 0;
    };

    bool touchesFileInHand(const InHand& file) const;
    void makeCurrent(int row);
    void showReadyResults();

    StampingInputs& inputs_;
    StampingProgress& progress_;
    const StampRequest common_;
    const int ahead_;
    StaleCleaner cleaner_;
    StampingReport report_;
    std::deque<InHand> inHand_; // in row order
    int nextRead_ = 1;          // the next row to read
    int nextCurrent_ = 1;       // the next row to make current
    bool started_ = false;      // processingStarted() reported
};
