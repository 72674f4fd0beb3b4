#pragma once
// Work that touches widgets runs on the thread of the application object; a
// call from another thread waits there until it is done and takes its result.

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <type_traits>
#include <utility>

template <class Work> std::invoke_result_t<Work> onGuiThread(Work&& work) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return work();
    using Result = std::invoke_result_t<Work>;
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(app, std::forward<Work>(work), Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            app, [&result, &work] { result = work(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}
