#include "imaging/jpegwriter.h"

#include "base/coreerror.h"
#include "base/replacingfile.h"
#include "imaging/dibsection.h"
#include "imaging/turbojpegencoder.h"

namespace {

bool failed(CoreError* error, CoreError::Code code, int status = 0) {
    if (error)
        *error = {code, {}, status};
    return false;
}

} // namespace

bool EncodeJpeg(const cDIBSection& buffer, int quality, QByteArray* out, QString* error) {
    JpegEncodeError failure;
    const auto keep = [out](const char* data, qsizetype size) {
        *out = QByteArray(data, size);
        return true;
    };
    if (encodeWithTurboJpeg(buffer, quality, keep, &failure))
        return true;
    if (error)
        *error = failure.text;
    return false;
}

bool WriteJpegFile(const cDIBSection& buffer, const QString& path, int quality, CoreError* error) {
    if (error)
        *error = {};
    if (buffer.IsEmpty() || path.isEmpty())
        return failed(error, CoreError::Code::JpegNotSaved);

    // The temporary file is made only once the picture is encoded, so an
    // encoder that cannot start leaves no trace in the folder.
    ReplacingFile file(path);
    JpegEncodeError failure;
    const bool encoded = encodeWithTurboJpeg(
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
