#include "cli/stopsignals.h"

#include "core/base/temporaryoutput.h"

#include <csignal>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

} // namespace

void blockStopSignals() {
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void startStopSignalThread() {
    std::thread([] {
        const sigset_t set = stopSignals();
        int signalNumber = 0;
        if (sigwait(&set, &signalNumber) != 0)
            return;
        // no file written from here on, and none left half
        removeOwnTemporariesForExit();
        ::_exit(128 + signalNumber);
    }).detach();
}
