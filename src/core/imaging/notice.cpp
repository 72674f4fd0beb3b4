#include "core/imaging/notice.h"

#include "core/imaging/dibsection.h"
#include "core/imaging/jpegcompressor.h"
#include "core/imaging/jpegpipeline.h"
#include "core/imaging/jpegsource.h"
#include "core/imaging/noticecomposer.h"
#include "core/imaging/picturedecoder.h"

#include <QColorSpace>

namespace {

constexpr int kNoticeJpegQuality = 100;

bool failed(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString outOfMemory(QSize size) {
    return QStringLiteral("Für das Bild (%1 × %2 Pixel) ist nicht genug Speicher frei.")
        .arg(size.width())
        .arg(size.height());
}

} // namespace

QString copPicturePath(const QString& sourcePath) {
    const qsizetype nameStart = sourcePath.lastIndexOf(QLatin1Char('/')) + 1;
    QString name = sourcePath.mid(nameStart).toLower();
    name.remove(QStringLiteral(".jpeg"));
    name.remove(QStringLiteral(".jpg"));
    return sourcePath.left(nameStart) + name + QStringLiteral("-cop.jpg");
}

QImage composeNoticePicture(const QString& sourcePath, const NoticeOptions& options, QString* error,
                            std::optional<PictureMetadata>* metadataRead) {
    DecodedPicture decoded =
        decodePicture(sourcePath, options.enlarge ? kNoticeStripHeight : 0, error);
    if (metadataRead)
        *metadataRead = std::move(decoded.metadata);
    if (decoded.image.isNull())
        return {};
    QImage composed;
    if (decoded.onCanvas) {
        if (drawNoticeText(&decoded.image, options.text))
            composed = std::move(decoded.image);
    } else {
        composed = drawNotice(std::move(decoded.image), options);
    }
    if (composed.isNull() && error)
        *error = QStringLiteral("Der Hinweis konnte nicht in das Bild gezeichnet werden.");
    return composed;
}

bool composeNoticeInBuffer(const QString& sourcePath, const NoticeOptions& options,
                           cDIBSection* buffer, JpegMetadataSegments* metadata, QString* error) {
    if (!buffer || !metadata)
        return failed(error, QStringLiteral("Kein Ziel für das Bild angegeben."));
    DirectJpeg direct =
        decodeJpegIntoBuffer(sourcePath, options.enlarge ? kNoticeStripHeight : 0, buffer);
    if (direct.result == DirectJpeg::Result::Refused)
        return failed(error, direct.error);
    if (direct.result == DirectJpeg::Result::Decoded) {
        if (!drawNoticeTextInBuffer(buffer, options.text)) {
            buffer->ClearUp();
            return failed(
                error, QStringLiteral("Der Hinweis konnte nicht in das Bild gezeichnet werden."));
        }
    } else {
        std::optional<PictureMetadata> read;
        const QImage composed = composeNoticePicture(sourcePath, options, error, &read);
        if (composed.isNull())
            return false;
        if (!buffer->CreateFromPicture(composed))
            return failed(error, outOfMemory(composed.size()));
        // the file is read once more only for what the output keeps of it,
        // unless decoding has read that already
        if (options.metadata.keepSource)
            direct.metadata = read ? std::move(*read) : readPictureMetadataOf(sourcePath);
    }
    *metadata =
        segmentsForOutput(direct.metadata, {buffer->Width(), buffer->Height()}, options.metadata);
    if (error)
        error->clear();
    return true;
}

bool encodeNoticeJpeg(const QImage& composed, QByteArray* jpeg, QString* error) {
    if (!jpeg)
        return failed(error, QStringLiteral("Kein Ziel für das JPEG-Bild angegeben."));
    if (composed.isNull())
        return failed(error,
                      QStringLiteral("Es gibt kein Bild, das als JPEG gespeichert werden kann."));
    cDIBSection buffer;
    if (!buffer.CreateFromPicture(composed))
        return failed(error, outOfMemory(composed.size()));
    JpegMetadataSegments metadata;
    metadata.icc = composed.colorSpace().iccProfile();
    return encodeNoticeJpeg(buffer, metadata, jpeg, error);
}

bool encodeNoticeJpeg(const cDIBSection& buffer, const JpegMetadataSegments& metadata,
                      QByteArray* jpeg, QString* error) {
    if (!jpeg)
        return failed(error, QStringLiteral("Kein Ziel für das JPEG-Bild angegeben."));
    if (buffer.isEmpty())
        return failed(error,
                      QStringLiteral("Es gibt kein Bild, das als JPEG gespeichert werden kann."));
    QByteArray encoded;
    if (!compressBuffer(buffer, kNoticeJpegQuality, metadata, &encoded))
        return failed(error, QStringLiteral("Das Bild konnte nicht als JPEG kodiert werden."));
    *jpeg = std::move(encoded);
    if (error)
        error->clear();
    return true;
}

bool composeAndEncodeNotice(const QString& sourcePath, const NoticeOptions& options,
                            bool secondThread, QByteArray* jpeg, QString* error,
                            QStringList* notes) {
    if (!jpeg)
        return failed(error, QStringLiteral("Kein Ziel für das JPEG-Bild angegeben."));
    const PipelinedNotice pipelined =
        secondThread ? stampJpegNoticePipelined(sourcePath, options, jpeg) : PipelinedNotice{};
    if (pipelined.result == PipelinedNotice::Result::Encoded) {
        if (error)
            error->clear();
        if (notes)
            *notes = pipelined.notes;
        return true;
    }
    if (pipelined.result == PipelinedNotice::Result::Failed)
        return failed(error, pipelined.error);
    cDIBSection buffer;
    JpegMetadataSegments metadata;
    if (!composeNoticeInBuffer(sourcePath, options, &buffer, &metadata, error) ||
        !encodeNoticeJpeg(buffer, metadata, jpeg, error))
        return false;
    if (notes)
        *notes = metadata.problems;
    return true;
}
