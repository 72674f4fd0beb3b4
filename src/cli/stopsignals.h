#pragma once
// The end of a run by SIGTERM or SIGINT: the run's own temporary files go and
// the process ends with 128 + the signal's number (143, 130), as a shell reports
// a process that the signal ended. The signals are taken by a thread of their
// own, so the removal runs as ordinary code, not in a signal handler.

// Blocks the stop signals in the calling thread. Call it first in main, before
// any thread starts: every later thread inherits the mask, so only the signal
// thread ever receives them.
void blockStopSignals();

// Starts the thread that waits for a stop signal, removes the process's
// temporaries and ends the process.
void startStopSignalThread();
