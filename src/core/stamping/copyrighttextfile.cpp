#include "core/stamping/copyrighttextfile.h"

#include "core/base/descriptorio.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"
#include "core/stamping/windows1252.h"

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond any copyright text; stops a run from swallowing a huge file by mistake.
constexpr qint64 kMaxTextFileSize = 16 * 1024 * 1024;

// The text of bytes that begin with a UTF-16 byte-order mark, or none.
std::optional<QString> decodeUtf16(QByteArrayView bytes) {
    const bool little = bytes.startsWith("\xFF\xFE");
    if (!little && !bytes.startsWith("\xFE\xFF"))
        return std::nullopt;
    // the mark is dropped; a byte left over at the end becomes a replacement character
    QStringDecoder utf16(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                         QStringConverter::Flag::Stateless);
    return QString(utf16.decode(bytes.sliced(2)));
}

} // namespace

QString decodeCopyrightTextFile(QByteArrayView bytes) {
    QString text;
    if (std::optional<QString> utf16 = decodeUtf16(bytes)) {
        text = std::move(*utf16);
    } else {
        // Stateless: a sequence cut off at the end counts as invalid, not as pending.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = decodeWindows1252(bytes);
    }
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

bool readCopyrightTextFile(const QString& path, QString* text, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Die Copyright-Datei „%1“ konnte nicht gelesen werden: %2.")
                         .arg(path, reason);
        return false;
    };
    if (path.isEmpty())
        return fail(describeNoFileName());
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    const int fd = openFileName(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(describeFileError(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(describeNotRegularFile());
    }
    if (info.st_size > kMaxTextFileSize) {
        ::close(fd);
        return fail(describeFileError(EFBIG));
    }
    QByteArray bytes;
    const int readError = readToEnd(fd, std::size_t(kMaxTextFileSize), &bytes);
    ::close(fd);
    if (readError != 0) // beyond the limit: EFBIG, "Die Datei ist zu groß"
        return fail(describeFileError(readError));
    if (text)
        *text = decodeCopyrightTextFile(bytes);
    return true;
}
