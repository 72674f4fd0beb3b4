#pragma once
// The whole content of a file, mapped into memory (or read once where mapping
// is not possible), for readers that look at every byte.

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>

struct FileBytes {
    std::shared_ptr<const void> storage; // keeps the mapping or buffer alive
    QByteArrayView bytes;
    QString error; // German reason naming the file; empty when the bytes are there
    // Set for a mapped file: reads up to `length` bytes at `offset` into `buffer`
    // through the still open file; returns the count or -1 with errno set. A
    // sequential pass through a small buffer is much cheaper than walking a
    // large mapping page by page.
    std::function<qint64(qint64 offset, char* buffer, qint64 length)> readAt;
};

// Loads a regular file. Folders, devices and pipes are refused (reading them
// could block or never end); a missing name or file gives an error, never a crash.
FileBytes LoadFileBytes(const QString& path);
