#include "core/base/filebytes.h"

#include "core/base/descriptorio.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

QString fileReadError(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei „%1“ konnte nicht gelesen werden: %2.").arg(path, reason);
}

FileBytes loadFileBytes(const QString& path) {
    FileBytes result;
    if (path.isEmpty()) {
        result.error = describeNoFileName() + QLatin1Char('.');
        return result;
    }
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    const auto fd = std::make_shared<FileDescriptor>(
        openFileName(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd->get() < 0) {
        result.error = fileReadError(path, describeFileError(errno));
        return result;
    }
    struct stat info {};
    if (::fstat(fd->get(), &info) != 0) {
        result.error = fileReadError(path, describeFileError(errno));
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.error = fileReadError(path, describeFileError(EISDIR));
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = fileReadError(path, describeNotRegularFile());
        return result;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > 0) {
        result.size = static_cast<qint64>(size);
        result.unchanged = [fd, info] {
            struct stat now {};
            return ::fstat(fd->get(), &now) == 0 && now.st_size == info.st_size &&
                   now.st_mtim.tv_sec == info.st_mtim.tv_sec &&
                   now.st_mtim.tv_nsec == info.st_mtim.tv_nsec;
        };
        result.readAt = [fd](qint64 offset, char* buffer, qint64 length) -> qint64 {
            return preadResumed(fd->get(), buffer, static_cast<std::size_t>(length),
                                static_cast<off_t>(offset));
        };
        return result;
    }
    auto buffer = std::make_shared<QByteArray>();
    if (const int err = readToEnd(fd->get(), kMaxBytesKeptInMemory, buffer.get()); err == EFBIG) {
        result.error =
            fileReadError(path, QStringLiteral("Sie gibt keine Größe an (wie die Dateien "
                                               "unter /proc) und ist länger als %1 MiB")
                                    .arg(kMaxBytesKeptInMemory >> 20));
        return result;
    } else if (err != 0) {
        result.error = fileReadError(path, describeFileError(err));
        return result;
    }
    result.unchanged = [] { return true; };
    result.bytes = QByteArrayView(*buffer);
    result.size = buffer->size();
    result.storage = std::move(buffer);
    return result;
}
