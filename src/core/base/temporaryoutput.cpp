#include "core/base/temporaryoutput.h"

#include "core/base/descriptorio.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Plain read/write copy for file systems without copy_file_range.
bool copyByReading(int in, int out) {
    static constexpr std::size_t kChunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (;;) {
        const ssize_t n = readResumed(in, buffer.get(), kChunk);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!writeAll(out, buffer.get(), static_cast<std::size_t>(n)))
            return false;
    }
}

// The temporaries this process holds, so that its own are never taken for
// stale ones (locks of one process on a network share need not conflict) and
// can be removed when a stop signal ends the process.
class LiveTemporaries {
public:
    static LiveTemporaries& instance() {
        static LiveTemporaries* live = new LiveTemporaries; // outlives every thread
        return *live;
    }
    // Creates the file at `path` with `open` (a descriptor or -1 with errno)
    // and records it, in one step: a stop never comes between the two, so it
    // finds every temporary on disk. -1 with EINTR once the process is stopping.
    template <typename Open> int createAndAdd(const QByteArray& path, Open open) {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            errno = EINTR;
            return -1;
        }
        const int fd = open();
        if (fd >= 0)
            paths_.insert(path);
        return fd;
    }
    void remove(const QByteArray& path) {
        const std::lock_guard lock(mutex_);
        paths_.erase(path);
    }
    bool contains(const QByteArray& path) {
        const std::lock_guard lock(mutex_);
        return paths_.count(path) != 0;
    }
    void removeAllAndStop() {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const QByteArray& path : paths_)
            ::unlink(path.constData());
        paths_.clear();
    }

private:
    std::mutex mutex_;
    std::set<QByteArray> paths_;
    bool stopping_ = false;
};

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file at `path` is the one open at `fd`.
bool pathIsOpenFile(const QByteArray& path, int fd) {
    struct stat atPath {
    }, open{};
    return ::lstat(path.constData(), &atPath) == 0 && ::fstat(fd, &open) == 0 &&
           sameFile(atPath, open);
}

int lockExclusive(int fd, int flags) {
    int result;
    do
        result = ::flock(fd, LOCK_EX | flags);
    while (result != 0 && errno == EINTR);
    return result;
}

// Renames without replacing; link and unlink where the file system has no
// such rename (some network file systems).
int renameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return -1;
    if (::link(from, to) != 0)
        return -1;
    ::unlink(from);
    return 0;
}

} // namespace

TemporaryOutput::~TemporaryOutput() {
    // removed while still locked, so no other run ever sees it unlocked
    if (!path_.isEmpty()) {
        ::unlink(path_.constData());
        LiveTemporaries::instance().remove(path_);
    }
    if (fd_ >= 0)
        ::close(fd_);
}

bool TemporaryOutput::fail(const QString& what, int errorNumber) {
    errorNumber_ = errorNumber;
    error_ = QStringLiteral("%1: %2").arg(what, describeFileError(errorNumber));
    return false;
}

bool TemporaryOutput::create(const QString& folder, mode_t mode) {
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QString cannotCreate = QStringLiteral("Die Ausgabedatei konnte nicht angelegt werden");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral("%1%2-%3")
                .arg(QLatin1String(kTemporaryPrefix))
                .arg(::getpid())
                .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        const QByteArray path = fileNameToBytes(base + name);
        const int fd = LiveTemporaries::instance().createAndAdd(path, [&] {
            return ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        });
        if (fd < 0) {
            if (errno != EEXIST)
                return fail(cannotCreate, errno);
            continue;
        }
        // Locked before anything is written. A cleaner of another run may have
        // taken the unlocked file for stale in the instant after its creation:
        // then the name is gone or another file's, and a new one is made.
        // Where the file system takes no locks, no cleaner can take one either
        // and the file is never removed as stale.
        const bool locked =
            lockExclusive(fd, 0) == 0 || errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP;
        if (!locked || !pathIsOpenFile(path, fd)) {
            ::close(fd);
            LiveTemporaries::instance().remove(path);
            continue;
        }
        fd_ = fd;
        path_ = path;
        return true;
    }
    return fail(cannotCreate, EEXIST);
}

bool TemporaryOutput::copyFrom(int sourceFd) {
    bool firstCall = true;
    for (;;) {
        const ssize_t n = ::copy_file_range(sourceFd, nullptr, fd_, nullptr, 1 << 30, 0);
        if (n > 0) {
            firstCall = false;
            continue;
        }
        if (n == 0)
            return true;
        if (errno == EINTR)
            continue;
        // Not offered between these two files: copy by reading from where it stopped.
        if (firstCall && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                          errno == EOPNOTSUPP || errno == EBADF || errno == EPERM))
            break;
        return fail(QStringLiteral("Die Datei konnte nicht kopiert werden"), errno);
    }
    if (!copyByReading(sourceFd, fd_))
        return fail(QStringLiteral("Die Datei konnte nicht kopiert werden"), errno);
    return true;
}

bool TemporaryOutput::write(QByteArrayView bytes) {
    if (!writeAll(fd_, bytes.data(), static_cast<std::size_t>(bytes.size())))
        return fail(QStringLiteral("Die Ausgabedatei konnte nicht geschrieben werden"),
                    errno ? errno : EIO);
    return true;
}

void TemporaryOutput::keepPermissionsOf(const QString& path) {
    struct stat info {};
    if (fd_ >= 0 && ::stat(fileNameToBytes(path).constData(), &info) == 0)
        ::fchmod(fd_, info.st_mode & 07777);
}

bool TemporaryOutput::commit(const QString& finalPath) {
    return finish(finalPath, true);
}

bool TemporaryOutput::commitNew(const QString& finalPath) {
    return finish(finalPath, false);
}

bool TemporaryOutput::finish(const QString& finalPath, bool replace) {
    // The lock stays on a second descriptor of the same open file until the
    // rename is done; closing the first reports any error of the writes.
    const int lockFd = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (lockFd < 0)
        return fail(QStringLiteral("Die Ausgabedatei konnte nicht geschrieben werden"), errno);
    const int fd = fd_;
    fd_ = lockFd;
    if (::close(fd) != 0)
        return fail(QStringLiteral("Die Ausgabedatei konnte nicht geschrieben werden"), errno);
    const QByteArray target = fileNameToBytes(finalPath);
    const int renamed = replace ? ::rename(path_.constData(), target.constData())
                                : renameNoReplace(path_.constData(), target.constData());
    if (renamed != 0) {
        const int error = errno;
        // a file there that stays, or one that never came to be
        struct stat there {};
        const bool existed = ::lstat(target.constData(), &there) == 0;
        return fail(existed ? QStringLiteral("Die Ausgabedatei konnte nicht ersetzt werden")
                            : QStringLiteral("Die Ausgabedatei konnte nicht angelegt werden"),
                    error);
    }
    LiveTemporaries::instance().remove(path_);
    path_.clear();
    ::close(fd_);
    fd_ = -1;
    return true;
}

bool TemporaryOutput::fileId(dev_t* device, ino_t* inode) const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0)
        return false;
    *device = info.st_dev;
    *inode = info.st_ino;
    return true;
}

bool isTemporaryName(QByteArrayView name) {
    const QByteArrayView prefix(kTemporaryPrefix);
    if (!name.startsWith(prefix))
        return false;
    const QByteArrayView rest = name.sliced(prefix.size());
    const qsizetype dash = rest.indexOf('-');
    if (dash < 1 || rest.size() - dash - 1 != 16)
        return false;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        const bool ok = i < dash    ? (c >= '0' && c <= '9')
                        : i == dash ? true
                                    : ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
        if (!ok)
            return false;
    }
    return true;
}

void removeStaleTemporaries(const QString& folder) {
    const QByteArray base = fileNameToBytes(folder) + '/';
    DIR* dir = ::opendir(base.constData());
    if (!dir)
        return;
    QList<QByteArray> candidates;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (isTemporaryName(name))
            candidates.append(base + name);
    }
    ::closedir(dir);
    for (const QByteArray& path : candidates) {
        if (LiveTemporaries::instance().contains(path))
            continue;
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        // a lock taken proves that no writer holds the file any more
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && lockExclusive(fd, LOCK_NB) == 0 &&
            pathIsOpenFile(path, fd))
            ::unlink(path.constData());
        ::close(fd);
    }
}

void removeOwnTemporariesForExit() {
    LiveTemporaries::instance().removeAllAndStop();
}
