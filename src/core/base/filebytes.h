#pragma once
// Access to a whole file for readers that look at every byte: regular files are
// read piece by piece on demand (never mapped, so a file that shrinks meanwhile
// gives short reads instead of a crash); files that report no size (such as
// those of /proc) are read into memory once.

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <functional>
#include <memory>

// The most a reader keeps of one file in memory: the content of a file that
// reports no size, or the bytes of the entries found in a file.
inline constexpr std::size_t kMaxBytesKeptInMemory = std::size_t(256) << 20;

struct FileBytes {
    QString error; // German reason naming the file; empty when the file can be read
    qint64 size = 0;
    // Set for a regular file: reads up to `length` bytes at `offset` into
    // `buffer` through the open file; returns the count or -1 with errno set.
    std::function<qint64(qint64 offset, char* buffer, qint64 length)> readAt;
    // Whether the file is still as it was opened: the same size and the same
    // modification time. Always true for a file read whole.
    std::function<bool()> unchanged;
    // Otherwise the whole content, kept alive by `storage`.
    std::shared_ptr<const void> storage;
    QByteArrayView bytes;
};

// The one wording of a file that cannot be read: "Die Datei „PATH“ konnte nicht
// gelesen werden: REASON."
QString fileReadError(const QString& path, const QString& reason);

// Loads a regular file. Folders, devices and pipes are refused (reading them
// could block or never end); a missing name or file gives an error, never a
// crash. A file that reports no size is read whole up to
// kMaxBytesKeptInMemory; a longer one is refused with the reason.
FileBytes loadFileBytes(const QString& path);
