#include "core/base/filename.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t kFirstStandIn = 0xDC80; // stands in for byte 0x80 ... 0xFF

// Length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts
// none (overlong forms, encoded surrogates and code points past U+10FFFF count
// as invalid, as in every strict decoder).
int validSequence(QByteArrayView bytes, qsizetype at, char32_t* codePoint) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *codePoint = value;
    return length;
}

// True when the unit at `i` stands in for a byte: one of U+DC80..U+DCFF that
// is not the low half of a character beyond 16 bits.
bool isStandIn(QStringView name, qsizetype i) {
    const char16_t unit = name[i].unicode();
    return unit >= kFirstStandIn && unit <= 0xDCFF &&
           (i == 0 || !QChar::isHighSurrogate(name[i - 1].unicode()));
}

// The file type bits of what the name leads to (links followed); 0 when nothing.
mode_t typeOf(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(fileNameToBytes(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & S_IFMT;
}

} // namespace

QString fileNameFromBytes(QByteArrayView bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            name.append(QChar(char16_t(lead)));
            ++at;
            continue;
        }
        char32_t codePoint = 0;
        if (const int length = validSequence(bytes, at, &codePoint)) {
            name.append(QChar::fromUcs4(codePoint));
            at += length;
        } else {
            name.append(QChar(char16_t(kFirstStandIn + (lead - 0x80))));
            ++at;
        }
    }
    return name;
}

QByteArray fileNameToBytes(QStringView name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype textStart = 0;
    const auto flushText = [&](qsizetype end) {
        if (end > textStart)
            bytes.append(name.mid(textStart, end - textStart).toUtf8());
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isStandIn(name, i)) {
            flushText(i);
            bytes.append(char(0x80 + (name[i].unicode() - kFirstStandIn)));
            textStart = i + 1;
        }
    }
    flushText(name.size());
    return bytes;
}

QString displayFileName(QStringView name) {
    QString shown = name.toString();
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (isStandIn(name, i))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

int openFileName(const QString& path, int flags, unsigned mode) {
    return ::open(fileNameToBytes(path).constData(), flags, mode);
}

bool openForReading(QFile& file, const QString& path) {
    const int fd = openFileName(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    return true;
}

bool isFolderName(const QString& path) {
    return typeOf(path) == S_IFDIR;
}

bool isRegularFileName(const QString& path) {
    return typeOf(path) == S_IFREG;
}

QString canonicalFileName(const QString& path) {
    if (path.isEmpty())
        return {};
    char* resolved = ::realpath(fileNameToBytes(path).constData(), nullptr);
    if (!resolved)
        return {};
    const QString name = fileNameFromBytes(resolved);
    std::free(resolved);
    return name;
}

bool makeFolderPath(const QString& path, QStringList* made) {
    const QByteArray bytes = fileNameToBytes(path);
    if (bytes.isEmpty())
        return false;
    if (isFolderName(path))
        return true;
    // each folder from the top down; one that exists already is fine
    for (qsizetype end = bytes.indexOf('/', 1);; end = bytes.indexOf('/', end + 1)) {
        const QByteArray part = end < 0 ? bytes : bytes.left(end);
        if (::mkdir(part.constData(), 0777) == 0) {
            if (made)
                made->append(fileNameFromBytes(part));
        } else if (errno != EEXIST) {
            return false;
        }
        if (end < 0 || end + 1 >= bytes.size())
            break;
    }
    return isFolderName(path);
}
