#pragma once
// The message a page shows at the end of a run.

#include "core/base/usermessage.h"
#include "core/stamping/stampingreport.h"

// The start error; the completion message when every processed file succeeded;
// else a warning with the number stamped and each failed file with its reason.
MessageBoxRequest stampingMessage(const StampingReport& report);
