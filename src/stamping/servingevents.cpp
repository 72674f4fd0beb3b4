#include "stamping/servingevents.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <exception>
#include <thread>

void RunServingEvents(const std::function<void()>& work) {
    QCoreApplication* app = QCoreApplication::instance();
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        // wakes the waiting loop below; posted after the flag, so it is never missed
        QMetaObject::invokeMethod(
            app, [] {}, Qt::QueuedConnection);
    });
    // Calls of the work into the windows arrive as events and are answered at once.
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
