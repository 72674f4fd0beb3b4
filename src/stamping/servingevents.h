#pragma once
// Long work of the windows done on a worker thread while the thread of the
// windows keeps handling input and repainting, so a big picture does not
// freeze them. The work may reach the windows through onGuiThread().

#include <functional>

// Runs `work` on a worker thread and returns when it is done; meanwhile the
// calling thread handles its events as they come. An exception of the work is
// thrown again here.
void RunServingEvents(const std::function<void()>& work);
