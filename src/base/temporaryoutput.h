#pragma once
// An output file composed under a temporary name in its final folder and renamed
// over the final path only when complete, so a failure or the end of the program
// halfway never leaves half a file or a deleted output without its replacement.

#include <QByteArrayView>
#include <QString>

// Every temporary name starts with this; stale ones are removed by the next run.
inline constexpr char kTemporaryPrefix[] = ".stampora-tmp-";

class TemporaryOutput {
public:
    TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput(); // removes the temporary file unless committed

    // Creates a fresh temporary file in `folder` (mode 0666 less the umask).
    bool create(const QString& folder);
    // Copies the whole regular file open at `sourceFd` from its current offset.
    bool copyFrom(int sourceFd);
    bool write(QByteArrayView bytes);
    // Gives the file the permission bits of the file at `path` (one it replaces).
    void keepPermissionsOf(const QString& path);
    // Closes the file and renames it over `finalPath`.
    bool commit(const QString& finalPath);

    // German reason of the last failure.
    QString errorString() const { return error_; }

private:
    bool fail(const QString& what, int errorNumber);

    int fd_ = -1;
    QByteArray path_;
    QString error_;
};

// Removes temporary files left in `folder` by runs that ended halfway: those of
// processes that no longer run, and earlier ones of this process.
void RemoveStaleTemporaries(const QString& folder);
