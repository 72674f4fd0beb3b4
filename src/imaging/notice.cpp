#include "imaging/notice.h"

#include "imaging/dibsection.h"
#include "imaging/jpegicc.h"
#include "imaging/jpegpipeline.h"
#include "imaging/jpegsource.h"
#include "imaging/jpegwriter.h"
#include "imaging/noticecomposer.h"
#include "imaging/picturedecoder.h"

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

QString CopName(const QString& sourcePath) {
    const qsizetype nameStart = sourcePath.lastIndexOf(QLatin1Char('/')) + 1;
    QString name = sourcePath.mid(nameStart).toLower();
    name.remove(QStringLiteral(".jpeg"));
    name.remove(QStringLiteral(".jpg"));
    return sourcePath.left(nameStart) + name + QStringLiteral("-cop.jpg");
}

QImage ComposeNotice(const QString& sourcePath, const NoticeOptions& options, QString* error) {
    DecodedPicture decoded =
        DecodePicture(sourcePath, options.enlarge ? kNoticeStripHeight : 0, error);
    if (decoded.image.isNull())
        return {};
    QImage composed;
    if (decoded.onCanvas) {
        if (DrawNoticeText(&decoded.image, options.text))
            composed = std::move(decoded.image);
    } else {
        composed = DrawNotice(std::move(decoded.image), options);
    }
    if (composed.isNull() && error)
        *error = QStringLiteral("Der Hinweis konnte nicht in das Bild gezeichnet werden.");
    return composed;
}

bool ComposeNoticeInBuffer(const QString& sourcePath, const NoticeOptions& options,
                           cDIBSection* buffer, QByteArray* iccProfile, QString* error) {
    if (!buffer || !iccProfile)
        return failed(error, QStringLiteral("Kein Ziel für das Bild angegeben."));
    const DirectJpeg direct =
        DecodeJpegIntoBuffer(sourcePath, options.enlarge ? kNoticeStripHeight : 0, buffer);
    if (direct.result == DirectJpeg::Result::Refused)
        return failed(error, direct.error);
    if (direct.result == DirectJpeg::Result::Decoded) {
        if (!DrawNoticeTextInBuffer(buffer, options.text)) {
            buffer->ClearUp();
            return failed(
                error, QStringLiteral("Der Hinweis konnte nicht in das Bild gezeichnet werden."));
        }
        *iccProfile = direct.iccProfile;
    } else {
        const QImage composed = ComposeNotice(sourcePath, options, error);
        if (composed.isNull())
            return false;
        if (!buffer->CreateFromPicture(composed))
            return failed(error, outOfMemory(composed.size()));
        *iccProfile = composed.colorSpace().iccProfile();
    }
    if (error)
        error->clear();
    return true;
}

bool EncodeNoticeJpeg(const QImage& composed, QByteArray* jpeg, QString* error) {
    if (!jpeg)
        return failed(error, QStringLiteral("Kein Ziel für das JPEG-Bild angegeben."));
    if (composed.isNull())
        return failed(error,
                      QStringLiteral("Es gibt kein Bild, das als JPEG gespeichert werden kann."));
    cDIBSection buffer;
    if (!buffer.CreateFromPicture(composed))
        return failed(error, outOfMemory(composed.size()));
    return EncodeNoticeJpeg(buffer, composed.colorSpace().iccProfile(), jpeg, error);
}

bool EncodeNoticeJpeg(const cDIBSection& buffer, const QByteArray& iccProfile, QByteArray* jpeg,
                      QString* error) {
    if (!jpeg)
        return failed(error, QStringLiteral("Kein Ziel für das JPEG-Bild angegeben."));
    QByteArray encoded;
    QString reason;
    if (!EncodeJpeg(buffer, kNoticeJpegQuality, &encoded, &reason))
        return failed(
            error,
            QStringLiteral("Das Bild konnte nicht als JPEG kodiert werden (%1).").arg(reason));

    // A profile the stream cannot carry leaves the picture in sRGB, as most
    // viewers show an untagged JPEG anyway.
    if (!iccProfile.isEmpty())
        InsertIccProfile(&encoded, iccProfile);

    *jpeg = std::move(encoded);
    if (error)
        error->clear();
    return true;
}

bool ComposeAndEncodeNotice(const QString& sourcePath, const NoticeOptions& options,
                            bool secondThread, QByteArray* jpeg, QString* error) {
    if (!jpeg)
        return failed(error, QStringLiteral("Kein Ziel für das JPEG-Bild angegeben."));
    const PipelinedNotice pipelined =
        secondThread ? StampJpegNoticePipelined(sourcePath, options, jpeg) : PipelinedNotice{};
    if (pipelined.result == PipelinedNotice::Result::Encoded) {
        if (error)
            error->clear();
        return true;
    }
    if (pipelined.result == PipelinedNotice::Result::Failed)
        return failed(error, pipelined.error);
    cDIBSection buffer;
    QByteArray profile;
    return ComposeNoticeInBuffer(sourcePath, options, &buffer, &profile, error) &&
           EncodeNoticeJpeg(buffer, profile, jpeg, error);
}
