#pragma once
// The message a page shows at the end of a run.

#include "core/base/usermessage.h"
#include "core/stamping/stampingreport.h"

// The start error; the completion message when every processed file succeeded;
// else a warning with the number stamped and each failed file with its reason.
// The files' notes (what an output lacks without having failed) follow, each
// with its file; they never make a success a failure.
MessageBoxRequest stampingMessage(const StampingReport& report);
