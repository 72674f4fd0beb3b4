#pragma once
// The stamping run behind "Copyright setzen" and "stampora-cli stamp": options
// saved on request, output folder and copyright text fixed once, then every
// job-list entry stamped in list order.

#include "stamping/stampfile.h"
#include "stamping/stampinginputs.h"
#include "stamping/stampingprogress.h"
#include "stamping/stampingreport.h"

struct StampingEngineOptions {
    // 1: rows and notice options are read live, file by file. More: they are
    // read once before the first file and the files are stamped in parallel.
    int threads = 1;
    // The windows keep every composed picture as "tester.bmp"; the command line does not.
    ComposedPictureWriter writeComposedPicture;
};

StampingReport RunStamping(StampingInputs& inputs, StampingProgress& progress,
                           const StampingEngineOptions& options = {});
