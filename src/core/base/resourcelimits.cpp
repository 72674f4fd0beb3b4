#include "core/base/resourcelimits.h"

#include <QByteArray>
#include <QFile>
#include <QList>

#include <algorithm>
#include <dirent.h>
#include <limits>
#include <sys/resource.h>

namespace {

// Descriptors kept free for the program beside its files: Qt, fonts, the
// settings, standard streams, "tester.bmp" and libraries that open their own.
constexpr int kDescriptorReserve = 16;

constexpr qint64 kUnlimited = std::numeric_limits<qint64>::max();

int openDescriptorCount() {
    DIR* dir = ::opendir("/proc/self/fd");
    if (!dir)
        return 3;
    int count = 0;
    while (const dirent* entry = ::readdir(dir))
        count += entry->d_name[0] != '.';
    ::closedir(dir);
    return count - 1; // the folder's own descriptor
}

// The whole of a small file of /proc or /sys; empty when it cannot be read.
QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(1 << 16);
}

// The value of `key` ("MemAvailable:") in a /proc file of "key value kB" lines, in bytes.
qint64 kilobytesField(const QByteArray& text, const QByteArray& key) {
    for (const QByteArray& line : text.split('\n')) {
        if (!line.startsWith(key))
            continue;
        bool ok = false;
        const qint64 kilobytes = line.mid(key.size()).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? kilobytes * 1024 : kUnlimited;
    }
    return kUnlimited;
}

// A number of bytes in a cgroup file; "max", missing or unreadable: unlimited.
qint64 bytesIn(const QString& path) {
    bool ok = false;
    const qint64 value = readSmallFile(path).trimmed().toLongLong(&ok);
    return ok ? value : kUnlimited;
}

// What the memory limit of this process's control group leaves (version 2, or
// version 1's memory controller).
qint64 controlGroupLeft() {
    qint64 left = kUnlimited;
    for (const QByteArray& line : readSmallFile(QStringLiteral("/proc/self/cgroup")).split('\n')) {
        // "0::/path" (version 2) or "4:memory:/path" (version 1)
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3)
            continue;
        const QString path = QString::fromUtf8(fields.mid(2).join(':'));
        qint64 limit = kUnlimited, usage = 0;
        if (fields[0] == "0" && fields[1].isEmpty()) {
            limit = bytesIn(QStringLiteral("/sys/fs/cgroup%1/memory.max").arg(path));
            usage = bytesIn(QStringLiteral("/sys/fs/cgroup%1/memory.current").arg(path));
        } else if (fields[1].split(',').contains("memory")) {
            limit =
                bytesIn(QStringLiteral("/sys/fs/cgroup/memory%1/memory.limit_in_bytes").arg(path));
            usage =
                bytesIn(QStringLiteral("/sys/fs/cgroup/memory%1/memory.usage_in_bytes").arg(path));
        }
        if (limit != kUnlimited && usage != kUnlimited)
            left = std::min(left, std::max<qint64>(limit - usage, 0));
    }
    return left;
}

qint64 addressSpaceLeft(qint64 extra) {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return kUnlimited;
    const qint64 inUse =
        kilobytesField(readSmallFile(QStringLiteral("/proc/self/status")), "VmSize:");
    if (inUse == kUnlimited)
        return kUnlimited;
    return std::max<qint64>(qint64(limit.rlim_cur) - inUse - extra, 0);
}

} // namespace

void raiseOpenFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == limit.rlim_max)
        return;
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
}

int filesAtOnceWithinOpenFileLimit(int wanted, int descriptorsPerFile) {
    wanted = std::max(wanted, 1);
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return wanted;
    const qint64 free = qint64(limit.rlim_cur) - openDescriptorCount() - kDescriptorReserve;
    const qint64 files = free / std::max(descriptorsPerFile, 1);
    return int(std::clamp<qint64>(files, 1, wanted));
}

qint64 memoryAvailableToProcess(qint64 extraAddressSpace) {
    const qint64 system =
        kilobytesField(readSmallFile(QStringLiteral("/proc/meminfo")), "MemAvailable:");
    return std::min({system, controlGroupLeft(), addressSpaceLeft(extraAddressSpace)});
}
