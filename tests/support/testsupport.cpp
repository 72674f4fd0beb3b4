#include "support/testsupport.h"

#include "core/base/filename.h"
#include "core/base/littleendian.h"
#include "core/stamping/copyrightblock.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

TempFolder::TempFolder() : dir_(QDir::tempPath() + QStringLiteral("/stampora-test-XXXXXX")) {}

TempFolder::~TempFolder() {
    // by the names' own bytes, so names that are no UTF-8 go too
    const auto remove = [](const char* path, const struct stat*, int, FTW*) {
        ::remove(path);
        return 0; // on past anything that cannot be removed
    };
    if (dir_.isValid())
        ::nftw(fileNameToBytes(dir_.path()).constData(), remove, 16, FTW_DEPTH | FTW_PHYS);
}

QString TempFolder::file(const QString& name) const {
    return dir_.filePath(name);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    makeFolderPath(QFileInfo(path).absolutePath());
    const int fd = openFileName(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        ::close(fd);
    }
    return path;
}

QByteArray readAll(const QString& path) {
    QFile f;
    return openForReading(f, path) ? f.readAll() : QByteArray();
}

bool appendBlock(const QString& path, const QByteArray& text) {
    const int fd = openFileName(path, O_WRONLY | O_APPEND | O_CLOEXEC);
    const QByteArray block = copyrightBlockBytes(text);
    const bool written =
        fd >= 0 && ::write(fd, block.constData(), size_t(block.size())) == ssize_t(block.size());
    return fd >= 0 && ::close(fd) == 0 && written;
}

QString checkStamped(const QString& path, const QByteArray& text, bool picture) {
    QFile file;
    if (!openForReading(file, path))
        return QStringLiteral("cannot be opened");
    const QByteArray bytes = file.readAll();
    const QByteArray block = copyrightBlockBytes(text);
    if (!bytes.endsWith(block))
        return QStringLiteral("does not end with its block");
    const CopyrightScan scan = ReadCopyrightBlocks(path);
    if (scan.size() != 1 || scan.textBytes(0) != text)
        return QStringLiteral("holds %1 entries, not the one text").arg(scan.size());
    if (picture && QImage::fromData(bytes.left(bytes.size() - block.size())).isNull())
        return QStringLiteral("does not decode as a picture");
    return {};
}

QByteArray smallJpeg(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((seed * 37) % 360, 200, 220));
    QPainter painter(&image);
    painter.fillRect(seed % width, 0, width / 3, height / 2, Qt::black);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

QImage detailedPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb((x * 255 / width + (x * y) % 17) & 0xFF,
                                (y * 255 / height + (x ^ y) % 13) & 0xFF, (x + 2 * y) % 256));
    return image;
}

QByteArray encodedPicture(const QImage& picture, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, quality);
    return bytes;
}

QByteArray smallGif(int width, int height) {
    QByteArray gif("GIF89a");
    appendLittleEndian16(gif, quint16(width));
    appendLittleEndian16(gif, quint16(height));
    gif += QByteArray("\xF6\x00\x00", 3); // a global table of 128 colours
    for (int i = 0; i < 128; ++i)
        gif.append(char(i * 2)).append(char(i * 2)).append(char(255 - i * 2));
    gif += ',';
    appendLittleEndian16(gif, 0);
    appendLittleEndian16(gif, 0);
    appendLittleEndian16(gif, quint16(width));
    appendLittleEndian16(gif, quint16(height));
    gif += '\0';
    // codes of 7 + 1 bits, one to a byte; a clear code before the table would
    // grow to 9-bit codes keeps them so
    constexpr char kClear = char(128), kEnd = char(129);
    QByteArray codes;
    for (int i = 0; i < width * height; ++i) {
        if (i % 126 == 0)
            codes += kClear;
        codes += char((i % width + i / width) % 128);
    }
    codes += kEnd;
    gif += char(7);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif += char(block.size());
        gif += block;
    }
    return gif + QByteArray("\0;", 2);
}
