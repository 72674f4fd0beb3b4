#include "core/imaging/exiv2call.h"

#include <exiv2/exiv2.hpp>

#include <exception>
#include <mutex>
#include <new>

namespace {

thread_local QStringList* tComplaints = nullptr;

void collect(int level, const char* text) {
    if (tComplaints && level >= Exiv2::LogMsg::warn && text)
        tComplaints->append(QString::fromUtf8(text).trimmed());
}

std::mutex xmpLock;

void lockXmp(void*, bool lock) {
    if (lock)
        xmpLock.lock();
    else
        xmpLock.unlock();
}

void setUpOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
        Exiv2::LogMsg::setHandler(collect);
        // namespaces are registered under a lock, so threads may parse XMP at once
        Exiv2::XmpParser::initialize(lockXmp, nullptr);
    });
}

} // namespace

bool callExiv2(const std::function<void()>& work, QStringList* complaints) {
    setUpOnce();
    QStringList* const outer = tComplaints;
    QStringList own;
    tComplaints = complaints ? complaints : &own;
    bool ok = true;
    try {
        work();
    } catch (const Exiv2::AnyError& error) {
        tComplaints->append(QString::fromUtf8(error.what()));
        ok = false;
    } catch (const std::bad_alloc&) {
        tComplaints->append(QStringLiteral("out of memory"));
        ok = false;
    } catch (const std::exception& error) {
        tComplaints->append(QString::fromUtf8(error.what()));
        ok = false;
    } catch (...) {
        ok = false;
    }
    tComplaints = outer;
    return ok;
}
