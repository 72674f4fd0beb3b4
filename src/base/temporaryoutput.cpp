#include "base/temporaryoutput.h"

#include "base/fileerror.h"
#include "base/filename.h"

#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Plain read/write copy for file systems without copy_file_range.
bool copyByReading(int in, int out) {
    static constexpr std::size_t kChunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (;;) {
        const ssize_t n = ::read(in, buffer.get(), kChunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!writeAll(out, buffer.get(), static_cast<std::size_t>(n)))
            return false;
    }
}

// The process id in a temporary name, or -1 when the name carries none.
pid_t ownerOf(const QString& name) {
    const QString rest = name.mid(int(sizeof kTemporaryPrefix) - 1);
    bool ok = false;
    const long pid = rest.section(QLatin1Char('-'), 0, 0).toLong(&ok);
    return ok && pid > 0 ? static_cast<pid_t>(pid) : -1;
}

bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

TemporaryOutput::~TemporaryOutput() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!path_.isEmpty())
        ::unlink(path_.constData());
}

bool TemporaryOutput::fail(const QString& what, int errorNumber) {
    error_ = QStringLiteral("%1: %2").arg(what, DescribeFileError(errorNumber));
    return false;
}

bool TemporaryOutput::create(const QString& folder) {
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name =
            QStringLiteral("%1%2-%3")
                .arg(QLatin1String(kTemporaryPrefix))
                .arg(::getpid())
                .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        const QByteArray path = FileNameToBytes(base + name);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            path_ = path;
            return true;
        }
        if (errno != EEXIST)
            return fail(QStringLiteral("Die Ausgabedatei konnte nicht angelegt werden"), errno);
    }
    return fail(QStringLiteral("Die Ausgabedatei konnte nicht angelegt werden"), EEXIST);
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
    if (fd_ >= 0 && ::stat(FileNameToBytes(path).constData(), &info) == 0)
        ::fchmod(fd_, info.st_mode & 07777);
}

bool TemporaryOutput::commit(const QString& finalPath) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(QStringLiteral("Die Ausgabedatei konnte nicht geschrieben werden"), errno);
    if (::rename(path_.constData(), FileNameToBytes(finalPath).constData()) != 0)
        return fail(QStringLiteral("Die Ausgabedatei konnte nicht ersetzt werden"), errno);
    path_.clear();
    return true;
}

void RemoveStaleTemporaries(const QString& folder) {
    const QByteArray base = FileNameToBytes(folder) + '/';
    DIR* dir = ::opendir(base.constData());
    if (!dir)
        return;
    const QByteArray prefix(kTemporaryPrefix);
    QList<QByteArray> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const pid_t owner = ownerOf(QString::fromLatin1(name));
        if (owner == ::getpid() || owner < 0 || !processRuns(owner))
            stale.append(name);
    }
    ::closedir(dir);
    for (const QByteArray& name : stale) {
        struct stat info {};
        if (::lstat((base + name).constData(), &info) == 0 && !S_ISDIR(info.st_mode))
            ::unlink((base + name).constData());
    }
}
