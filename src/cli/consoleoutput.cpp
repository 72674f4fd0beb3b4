#include "cli/consoleoutput.h"

#include "core/base/fileerror.h"
#include "core/base/filename.h"
#include "core/stamping/visibletext.h"
#include "core/stamping/windows1252.h"

#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool standardOutputClosed = false;
int firstWriteError = 0; // errno of the first write to standard output that failed

} // namespace

void ConsoleOutput::guardStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // the lowest free number is this one: the ones below are open by now
        if (::open("/dev/null", O_RDONLY) == fd && fd == STDOUT_FILENO)
            standardOutputClosed = true;
    }
}

ConsoleOutput::ConsoleOutput() {
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void ConsoleOutput::write(QByteArrayView utf8) {
    if (!utf8.isEmpty() &&
        std::fwrite(utf8.data(), 1, static_cast<std::size_t>(utf8.size()), stdout) !=
            static_cast<std::size_t>(utf8.size()) &&
        firstWriteError == 0)
        firstWriteError = errno;
}

void ConsoleOutput::write(QStringView text) {
    // file names come out with their own bytes, UTF-8 or not
    write(QByteArrayView(fileNameToBytes(text)));
}

void ConsoleOutput::writeConverted(std::size_t length,
                                   const std::function<QByteArray(std::size_t, std::size_t)>& piece,
                                   const std::function<QString(QStringView)>& convert) {
    constexpr std::size_t kPiece = 1 << 16; // one byte is one character: pieces cut nothing apart
    for (std::size_t at = 0; at < length; at += kPiece) {
        const QByteArray bytes = piece(at, std::min(kPiece, length - at));
        if (bytes.isEmpty())
            return; // the file has become shorter
        // decoded text holds no file-name bytes: straight to UTF-8
        write(QByteArrayView(convert(decodeWindows1252(bytes)).toUtf8()));
    }
}

bool ConsoleOutput::finish() {
    if (std::fflush(stdout) != 0 && firstWriteError == 0)
        firstWriteError = errno;
    if (!std::ferror(stdout))
        return true;
    const QString reason = standardOutputClosed
                               ? QStringLiteral("Die Standardausgabe ist geschlossen")
                           : firstWriteError != 0 ? describeFileError(firstWriteError)
                                                  : describeFileError(EIO);
    error(QStringLiteral("Die Ausgabe konnte nicht geschrieben werden: %1.").arg(reason));
    return false;
}

namespace {

std::FILE*& ownErrors() {
    static std::FILE* stream = stderr;
    return stream;
}

} // namespace

void ConsoleOutput::keepLibrariesQuiet() {
    if (ownErrors() != stderr)
        return; // done before
    const int fd = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    std::FILE* own = fd >= 0 ? ::fdopen(fd, "w") : nullptr;
    std::FILE* nowhere = own ? std::fopen("/dev/null", "we") : nullptr;
    if (!nowhere) {
        if (own)
            std::fclose(own);
        else if (fd >= 0)
            ::close(fd);
        return; // then libraries' lines stay; ours are written all the same
    }
    std::setvbuf(own, nullptr, _IONBF, 0);
    ownErrors() = own;
    stderr = nowhere; // the C library lets its standard streams be replaced
}

std::FILE* ConsoleOutput::errors() {
    return ownErrors();
}

void ConsoleOutput::error(const QString& message) {
    std::fflush(stdout);
    const QByteArray line =
        fileNameToBytes(QStringLiteral("stampora-cli: %1\n").arg(visibleLine(message)));
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), errors());
}
