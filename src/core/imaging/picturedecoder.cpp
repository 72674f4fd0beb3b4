#include "core/imaging/picturedecoder.h"

#include "core/base/filename.h"
#include "core/base/littleendian.h"
#include "core/imaging/picturedamage.h"
#include "core/imaging/picturemetadata.h"

#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QTransform>
#include <cstring>

namespace {

// Room for the largest accepted picture at 4 bytes per pixel plus Qt's working
// copies; the size check below is what refuses huge headers.
constexpr int kAllocationLimitMb = 1024;

bool isAcceptedFormat(const QByteArray& format) {
    return format == "bmp" || format == "gif" || format == "jpeg" || format == "jpg" ||
           format == "png";
}

// Qt's GIF reader draws every frame on the logical screen of the file header
// and allocates that screen whole, whatever size the first frame gives: a tiny
// file can ask for gigabytes. Invalid when the header cannot be read.
QSize gifScreenSize(const QString& path) {
    QFile file;
    uchar header[10];
    if (!openForReading(file, path) || file.read(reinterpret_cast<char*>(header), 10) != 10)
        return {};
    return {readLittleEndian16(header + 6), readLittleEndian16(header + 8)};
}

QString unreadable(const QString& path, const QString& reason) {
    return QStringLiteral("Das Bild konnte nicht gelesen werden: %1. %2")
        .arg(QFileInfo(path).fileName(), reason);
}

QString damaged(const QString& path) {
    return QStringLiteral("Das Bild ist beschädigt oder unvollständig: %1.")
        .arg(QFileInfo(path).fileName());
}

// Checked before decoding, since the reader would fill the gaps and succeed.
bool isDamaged(const QByteArray& format, const QString& path) {
    if (format == "jpeg" || format == "jpg")
        return isJpegDataDamaged(path);
    if (format == "gif")
        return isGifDataDamaged(path);
    if (format == "bmp")
        return isBitmapDataDamaged(path);
    return false; // the PNG reader fails by itself
}

QString readerReason(QImageReader::ImageReaderError code) {
    switch (code) {
    case QImageReader::FileNotFoundError:
        return QStringLiteral("Die Datei ist nicht vorhanden.");
    case QImageReader::DeviceError:
        return QStringLiteral("Die Datei lässt sich nicht öffnen.");
    case QImageReader::UnsupportedFormatError:
        return QStringLiteral("Es ist kein Bild im Format BMP, GIF, JPEG oder PNG.");
    default:
        return QStringLiteral("Die Bilddaten lassen sich nicht entschlüsseln.");
    }
}

// Turns `image` upright by its EXIF orientation as Qt's readers turn a JPEG:
// mirrored first, then a quarter turn clockwise.
QImage turnedUpright(QImage image, int orientation) {
    using T = QImageIOHandler::Transformation;
    static constexpr T byOrientation[] = {
        T::TransformationNone,     T::TransformationNone,
        T::TransformationMirror,   T::TransformationRotate180,
        T::TransformationFlip,     T::TransformationFlipAndRotate90,
        T::TransformationRotate90, T::TransformationMirrorAndRotate90,
        T::TransformationRotate270};
    if (orientation < 2 || orientation > 8)
        return image;
    const QImageIOHandler::Transformations turn = byOrientation[orientation];
    if (turn == T::TransformationRotate270)
        return image.transformed(QTransform().rotate(270));
    image = std::move(image).mirrored(turn.testFlag(T::TransformationMirror),
                                      turn.testFlag(T::TransformationFlip));
    if (turn.testFlag(T::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// Reads the picture; with extra rows, first tries to let the reader fill the
// top of a taller canvas. Readers that need another format or size, and any
// EXIF turn, hand back an image of their own, which is then returned alone.
DecodedPicture readPicture(QImageReader& reader, QSize headerSize, int extraRows) {
    QImage canvas;
    QImage picture;
    if (extraRows > 0 && headerSize.isValid()) {
        canvas = QImage(headerSize.width(), headerSize.height() + extraRows, QImage::Format_RGB32);
        if (!canvas.isNull())
            picture = QImage(canvas.bits(), headerSize.width(), headerSize.height(),
                             canvas.bytesPerLine(), QImage::Format_RGB32);
    }
    if (!reader.read(&picture))
        return {};
    const bool onCanvas = !canvas.isNull() && picture.constBits() == canvas.constBits() &&
                          picture.size() == headerSize && picture.format() == QImage::Format_RGB32;
    if (!onCanvas)
        return {picture, false, {}};
    for (int row = headerSize.height(); row < canvas.height(); ++row)
        std::memset(canvas.scanLine(row), 0, size_t(canvas.bytesPerLine()));
    if (picture.colorSpace().isValid())
        canvas.setColorSpace(picture.colorSpace());
    return {canvas, true, {}};
}

} // namespace

bool isPictureTooLarge(QSize size) {
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
           qint64(size.width()) * size.height() > kMaxPicturePixels;
}

QString pictureTooLargeReason(const QString& path, QSize size) {
    return QStringLiteral("Das Bild ist zu groß (%1 × %2 Pixel): %3. Höchstens %4 Pixel je "
                          "Seite und 200 Megapixel sind möglich.")
        .arg(size.width())
        .arg(size.height())
        .arg(QFileInfo(path).fileName())
        .arg(kMaxPictureSide);
}

DecodedPicture decodePicture(const QString& path, int extraRows, QString* error) {
    QString reason;
    DecodedPicture decoded;
    QFile file;
    if (!isRegularFileName(path) || !openForReading(file, path)) {
        reason = unreadable(path, readerReason(QImageReader::FileNotFoundError));
    } else if (file.size() == 0 && file.peek(1).isEmpty()) {
        // a size of 0 is not proof: files of /proc have contents all the same
        reason = unreadable(path, QStringLiteral("Die Datei ist leer."));
    } else {
        if (QImageReader::allocationLimit() < kAllocationLimitMb)
            QImageReader::setAllocationLimit(kAllocationLimitMb);
        QImageReader reader(&file);
        // The content decides, not the name: a PNG saved as ".jpg" still reads.
        reader.setDecideFormatFromContent(true);
        reader.setAutoTransform(true);
        const QByteArray format = reader.format();
        const QSize headerSize = reader.size();
        if (!isAcceptedFormat(format)) {
            reason = unreadable(path, readerReason(QImageReader::UnsupportedFormatError));
        } else if (const QSize declared(qAbs(headerSize.width()), qAbs(headerSize.height()));
                   isPictureTooLarge(declared)) {
            // refused from the header, before any pixel is decoded (a BMP stored
            // top down declares a negative height, which Qt passes on as it is)
            reason = pictureTooLargeReason(path, declared);
        } else if (const QSize screen = format == "gif" ? gifScreenSize(path) : QSize();
                   screen.isValid() && isPictureTooLarge(screen)) {
            reason = pictureTooLargeReason(path, screen);
        } else if (isDamaged(format, path)) {
            reason = damaged(path);
        } else {
            // a turned picture cannot fill the top of the canvas
            // a PNG's EXIF orientation (its eXIf chunk), which Qt's reader does
            // not apply as it does a JPEG's
            std::optional<PictureMetadata> metadata;
            if (format == "png")
                metadata = readPictureMetadataOf(path);
            const int orientation = metadata ? metadata->orientation : 1;
            decoded = readPicture(reader, headerSize, orientation == 1 ? extraRows : 0);
            decoded.metadata = std::move(metadata);
            if (!decoded.image.isNull() && orientation != 1 &&
                reader.transformation() == QImageIOHandler::TransformationNone)
                decoded.image = turnedUpright(std::move(decoded.image), orientation);
            // a reader whose header gave no size is held to the limit here: by
            // the picture's own size, never the canvas's with the strip
            const QSize picture =
                decoded.onCanvas ? QSize(decoded.image.width(), decoded.image.height() - extraRows)
                                 : decoded.image.size();
            if (!decoded.image.isNull() && isPictureTooLarge(picture)) {
                reason = pictureTooLargeReason(path, picture);
                decoded = {};
            }
            if (decoded.image.isNull() && reason.isEmpty())
                reason = reader.error() == QImageReader::InvalidDataError
                             ? damaged(path)
                             : unreadable(path, readerReason(reader.error()));
        }
    }
    if (error)
        *error = decoded.image.isNull() ? reason : QString();
    return decoded;
}
