#include "core/base/descriptorio.h"

#include <cerrno>
#include <new>
#include <unistd.h>

ssize_t readResumed(int fd, char* buffer, std::size_t length) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, length);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

ssize_t preadResumed(int fd, char* buffer, std::size_t length, off_t offset) {
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, length, offset);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

int readToEnd(int fd, std::size_t limit, QByteArray* out) {
    constexpr qsizetype kChunk = 1 << 20;
    for (;;) {
        const qsizetype had = out->size();
        if (static_cast<std::size_t>(had) > limit)
            return EFBIG;
        try {
            out->resize(had + kChunk);
        } catch (const std::bad_alloc&) {
            out->resize(had);
            return ENOMEM;
        }
        const ssize_t got = readResumed(fd, out->data() + had, kChunk);
        const int readError = errno;
        out->resize(had + (got > 0 ? got : 0));
        if (got < 0)
            return readError;
        if (got == 0)
            return 0;
    }
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}
