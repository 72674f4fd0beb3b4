#pragma once
// An output file composed under a temporary name in its final folder and renamed
// over the final path only when complete, so a failure or the end of the program
// halfway never leaves half a file or a deleted output without its replacement.
// Each temporary is locked (flock) for its whole life: a lock held proves a live
// writer to any other process, in any PID namespace or on another host sharing
// the folder, and a temporary left unlocked by a killed run is provably stale.

#include <QByteArrayView>
#include <QString>

#include <sys/types.h>

// Every temporary name is this prefix, the process id, a dash and 16 lower-case
// hexadecimal digits; only names of exactly that form are ever removed as stale.
inline constexpr char kTemporaryPrefix[] = ".stampora-tmp-";

class TemporaryOutput {
public:
    TemporaryOutput() = default;
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;
    ~TemporaryOutput(); // removes the temporary file unless committed

    // Creates a fresh temporary file in `folder`, with `mode` less the umask.
    bool create(const QString& folder, mode_t mode = 0666);
    // Copies the whole regular file open at `sourceFd` from its current offset.
    bool copyFrom(int sourceFd);
    bool write(QByteArrayView bytes);
    // Gives the file the permission bits of the file at `path` (one it replaces).
    void keepPermissionsOf(const QString& path);
    // Closes the file and renames it over `finalPath`.
    bool commit(const QString& finalPath);
    // As commit, but never replaces a file at `finalPath`: fails with EEXIST.
    bool commitNew(const QString& finalPath);
    // Device and inode of the temporary file, which the committed file keeps.
    bool fileId(dev_t* device, ino_t* inode) const;

    // German reason of the last failure.
    QString errorString() const { return error_; }
    // errno of the last failure.
    int errorNumber() const { return errorNumber_; }

private:
    bool fail(const QString& what, int errorNumber);
    bool finish(const QString& finalPath, bool replace);

    int fd_ = -1;
    QByteArray path_;
    QString error_;
    int errorNumber_ = 0;
};

// True when `name` has the exact form of a temporary name.
bool isTemporaryName(QByteArrayView name);

// Removes the temporary files in `folder` that runs ended halfway left behind:
// those of the exact generated form that no process holds locked and that are
// not this process's own. Nothing else is touched.
void removeStaleTemporaries(const QString& folder);

// Removes every temporary file this process holds and refuses new ones from
// then on; for ending the process on a stop signal.
void removeOwnTemporariesForExit();
