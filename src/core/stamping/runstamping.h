#pragma once
// The stamping run behind "Copyright setzen" and "stampora-cli stamp": options
// saved on request, output folder and copyright text fixed once, then every
// job-list entry stamped in list order.

#include "core/stamping/stampfile.h"
#include "core/stamping/stampinginputs.h"
#include "core/stamping/stampingprogress.h"
#include "core/stamping/stampingreport.h"

struct StampingEngineOptions {
    // 1: rows and notice options are read live, file by file. More: they are
    // read once before the first file and the files are stamped in parallel.
    int threads = 1;
    // The windows keep every composed picture as "tester.bmp"; the command line does not.
    ComposedPictureWriter writeComposedPicture;
};

// Steps 1 to 3: the options stored when asked for, the output folder made
// ready (its separator added on the field), the copyright text fixed into
// `common`. False when the run cannot start: `report.startError` says why, and
// no folder made for the run is left behind. Without `storeOptions` step 1 is
// the caller's.
bool startStamping(StampingInputs& inputs, StampingReport& report, StampRequest* common,
                   bool storeOptions = true);

class StaleCleaner;

// The row's output folder: the run's own, or the folder below it that the
// inputs name for the row, made when missing (else the request's refusal says why).
void placeRowOutput(StampingInputs& inputs, int row, StampRequest& request, StaleCleaner& cleaner);

// The whole run at once, on the calling thread (the windows run it through
// StampingRun, on their event loop).
StampingReport RunStamping(StampingInputs& inputs, StampingProgress& progress,
                           const StampingEngineOptions& options = {});
