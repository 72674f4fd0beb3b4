#pragma once
// Reading and writing open file descriptors, each call resumed when a signal
// interrupts it: the one place for the EINTR loops.

#include <QByteArray>

#include <cstddef>
#include <sys/types.h>

// read(2) resumed after EINTR: the count, 0 at the end, -1 with errno set.
ssize_t readResumed(int fd, char* buffer, std::size_t length);

// pread(2) resumed after EINTR.
ssize_t preadResumed(int fd, char* buffer, std::size_t length, off_t offset);

// Appends everything up to the end of `fd` (which may be a pipe) to `out`, but
// no more than `limit` bytes in all. 0 on success, EFBIG beyond the limit,
// ENOMEM when the memory cannot be had, else the errno of the read.
int readToEnd(int fd, std::size_t limit, QByteArray* out);

// Writes all `size` bytes; false with errno set (ENOSPC when the file takes no
// more bytes without saying why).
bool writeAll(int fd, const char* data, std::size_t size);

// Owns an open file descriptor and closes it at the end.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();
    int get() const { return fd_; }

private:
    int fd_;
};
