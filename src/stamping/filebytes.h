#pragma once
// The whole content of a file, mapped into memory (or read once where mapping
// is not possible), for readers that look at every byte.

#include <QByteArrayView>
#include <QString>
#include <memory>

struct FileBytes {
    std::shared_ptr<const void> storage; // keeps the mapping or buffer alive
    QByteArrayView bytes;
    QString error; // German reason naming the file; empty when the bytes are there
};

// Loads a regular file. Folders, devices and pipes are refused (reading them
// could block or never end); a missing name or file gives an error, never a crash.
FileBytes LoadFileBytes(const QString& path);
