#include "imaging/picturedecoder.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

// Room for the largest accepted picture at 4 bytes per pixel plus Qt's working
// copies; the size check below is what refuses huge headers.
constexpr int kAllocationLimitMb = 1024;

bool isAcceptedFormat(const QByteArray& format) {
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "jpg" ||
           format == "png";
}

bool isTooLarge(QSize size) {
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
           qint64(size.width()) * size.height() > kMaxPicturePixels;
}

QString unreadable(const QString& path, const QString& reason) {
    return QStringLiteral("Das Bild konnte nicht gelesen werden: %1. %2")
        .arg(QFileInfo(path).fileName(), reason);
}

QString tooLarge(const QString& path, QSize size) {
    return QStringLiteral("Das Bild ist zu groß (%1 × %2 Pixel): %3. Höchstens %4 Pixel je "
                          "Seite und 200 Megapixel sind möglich.")
        .arg(size.width())
        .arg(size.height())
        .arg(QFileInfo(path).fileName())
        .arg(kMaxPictureSide);
}

QString readerReason(QImageReader::ImageReaderError code) {
    switch (code) {
    case QImageReader::FileNotFoundError:
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    case QImageReader::DeviceError:
        return QStringLiteral("Die Datei lässt sich nicht öffnen.");
    case QImageReader::UnsupportedFormatError:
        return QStringLiteral("Es ist kein Bild im Format BMP, GIF, JPEG oder PNG.");
    case QImageReader::InvalidDataError:
        return QStringLiteral("Die Bilddaten sind beschädigt.");
    default:
        return QStringLiteral("Die Bilddaten lassen sich nicht entschlüsseln.");
    }
}

} // namespace

QImage DecodePicture(const QString& path, QString* error) {
    QString reason;
    QImage image;
    const QFileInfo info(path);
    if (!info.isFile()) {
        reason = unreadable(path, readerReason(QImageReader::FileNotFoundError));
    } else if (info.size() == 0) {
        reason = unreadable(path, QStringLiteral("Die Datei ist leer."));
    } else {
        if (QImageReader::allocationLimit() < kAllocationLimitMb)
            QImageReader::setAllocationLimit(kAllocationLimitMb);
        QImageReader reader(path);
        // The content decides, not the name: a PNG saved as ".jpg" still reads.
        reader.setDecideFormatFromContent(true);
        reader.setAutoTransform(true);
        const QByteArray format = reader.format();
        const QSize headerSize = reader.size();
        if (!isAcceptedFormat(format)) {
            reason = unreadable(path, readerReason(QImageReader::UnsupportedFormatError));
        } else if (headerSize.isValid() && isTooLarge(headerSize)) {
            // refused from the header, before any pixel is decoded
            reason = tooLarge(path, headerSize);
        } else if (!reader.read(&image)) {
            image = QImage();
            reason = unreadable(path, readerReason(reader.error()));
        } else if (isTooLarge(image.size())) {
            reason = tooLarge(path, image.size());
            image = QImage();
        }
    }
    if (error)
        *error = image.isNull() ? reason : QString();
    return image;
}
