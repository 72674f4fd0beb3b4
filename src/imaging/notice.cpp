#include "imaging/notice.h"

#include "imaging/noticecomposer.h"
#include "imaging/picturedecoder.h"

QString CopName(const QString& sourcePath) {
    const qsizetype nameStart = sourcePath.lastIndexOf(QLatin1Char('/')) + 1;
    QString name = sourcePath.mid(nameStart).toLower();
    name.remove(QStringLiteral(".jpeg"));
    name.remove(QStringLiteral(".jpg"));
    return sourcePath.left(nameStart) + name + QStringLiteral("-cop.jpg");
}

QImage ComposeNotice(const QString& sourcePath, const NoticeOptions& options, QString* error) {
    const QImage picture = DecodePicture(sourcePath, error);
    if (picture.isNull())
        return {};
    QImage composed = DrawNotice(picture, options);
    if (composed.isNull() && error)
        *error = QStringLiteral("Der Hinweis konnte nicht in das Bild gezeichnet werden.");
    return composed;
}

bool EncodeNoticeJpeg(const QImage& composed, QByteArray* jpeg, QString* error) {
    Q_UNUSED(composed);
    Q_UNUSED(jpeg);
    if (error)
        *error = QStringLiteral("Der JPEG-Kodierer ist noch nicht verfügbar.");
    return false;
}
