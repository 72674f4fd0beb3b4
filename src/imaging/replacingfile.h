#pragma once
// Writes a file under a temporary name beside its target and renames it over the
// target only when everything is written, so a failure leaves an earlier file
// whole and no half file behind. No flush to disk is forced: the files written
// this way are regenerated output, and waiting for the disk would cost more than
// encoding them.

#include <QFile>
#include <QString>

class ReplacingFile {
public:
    explicit ReplacingFile(QString target);
    ~ReplacingFile(); // removes the temporary file unless committed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary file. False when the folder cannot take it.
    bool open();
    bool write(const char* data, qint64 size);
    // Closes the temporary file and renames it over the target.
    bool commit();
    // The device to write to between open and commit.
    QFile& device() { return file_; }
    QString errorString() const { return error_; }

private:
    QString target_;
    QFile file_;
    QString error_;
    bool committed_ = false;
};
