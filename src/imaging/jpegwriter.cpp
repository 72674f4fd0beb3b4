#include "imaging/jpegwriter.h"

#include "base/coreerror.h"
#include "base/replacingfile.h"
#include "imaging/dibsection.h"
#include "imaging/jpegencoder.h"
#include "imaging/turbojpegencoder.h"

#include <QIODevice>

JpegEncoder& defaultJpegEncoder() {
    static TurboJpegEncoder encoder;
    return encoder;
}

namespace {

bool encodeWithDefault(const cDIBSection& buffer, int quality, const JpegEncoder::Sink& sink,
                       QString* error) {
    JpegEncodeError failure;
    if (defaultJpegEncoder().encode(buffer, quality, sink, &failure))
        return true;
    if (error)
        *error = failure.text;
    return false;
}

bool failed(CoreError* error, CoreError::Code code, int status = 0) {
    if (error)
        *error = {code, {}, status};
    return false;
}

} // namespace

bool EncodeJpeg(const cDIBSection& buffer, int quality, QByteArray* out, QString* error) {
    return encodeWithDefault(
        buffer, quality,
        [out](const char* data, qsizetype size) {
            *out = QByteArray(data, size);
            return true;
        },
        error);
}

bool EncodeJpeg(const cDIBSection& buffer, int quality, QIODevice* device, QString* error) {
    bool refused = false;
    const bool encoded = encodeWithDefault(
        buffer, quality,
        [device, &refused](const char* data, qsizetype size) {
            refused = device->write(data, size) != size;
            return !refused;
        },
        error);
    if (refused && error)
        *error += QStringLiteral(": ") + device->errorString();
    return encoded;
}

bool WriteJpegFile(const cDIBSection& buffer, const QString& path, int quality, CoreError* error) {
    return WriteJpegFile(buffer, path, quality, defaultJpegEncoder(), error);
}

bool WriteJpegFile(const cDIBSection& buffer, const QString& path, int quality,
                   JpegEncoder& encoder, CoreError* error) {
    if (error)
        *error = {};
    if (buffer.IsEmpty() || path.isEmpty())
        return failed(error, CoreError::Code::JpegNotSaved);

    // The temporary file is made only once the picture is encoded, so an
    // encoder that cannot start leaves no trace in the folder.
    ReplacingFile file(path);
    JpegEncodeError failure;
    const bool encoded = encoder.encode(
        buffer, quality,
        [&file](const char* data, qsizetype size) {
            return file.open() && file.write(data, size) && file.commit();
        },
        &failure);
    if (encoded)
        return true;
    if (failure.kind == JpegEncodeError::Kind::Initialise)
        return failed(error, CoreError::Code::JpegEncoderUnavailable, failure.status);
    return failed(error, CoreError::Code::JpegNotSaved);
}
