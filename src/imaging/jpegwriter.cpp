#include "imaging/jpegwriter.h"

#include "app/messageseam.h"
#include "imaging/dibsection.h"
#include "imaging/jpegencoder.h"
#include "imaging/turbojpegencoder.h"

#include <QSaveFile>

JpegEncoder& defaultJpegEncoder() {
    static TurboJpegEncoder encoder;
    return encoder;
}

bool EncodeJpeg(const cDIBSection& buffer, int quality, QByteArray* out, QString* error) {
    JpegEncodeError failure;
    if (defaultJpegEncoder().encode(buffer, quality, out, &failure))
        return true;
    if (error)
        *error = failure.text;
    return false;
}

namespace {

bool saveFailed() {
    showMessage(QStringLiteral("Failed to save to JPG"), MessageIcon::Warning);
    return false;
}

} // namespace

bool WriteJpegFile(const cDIBSection& buffer, const QString& path, int quality) {
    return WriteJpegFile(buffer, path, quality, defaultJpegEncoder());
}

bool WriteJpegFile(const cDIBSection& buffer, const QString& path, int quality,
                   JpegEncoder& encoder) {
    if (buffer.IsEmpty() || path.isEmpty())
        return saveFailed();

    QByteArray jpeg;
    JpegEncodeError failure;
    if (!encoder.encode(buffer, quality, &jpeg, &failure)) {
        if (failure.kind == JpegEncodeError::Kind::Initialise) {
            showMessage(QStringLiteral("Failed to initialise the IJL library: ") +
                            QString::number(failure.status),
                        MessageIcon::Warning);
            return false;
        }
        return saveFailed();
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.commit())
        return saveFailed();
    return true;
}
