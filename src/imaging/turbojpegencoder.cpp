#include "imaging/turbojpegencoder.h"

#include "imaging/dibsection.h"

#include <limits>
#include <turbojpeg.h>

namespace {

// One compressor per thread: set up once, released when the thread ends.
class ThreadCompressor {
public:
    ThreadCompressor() : handle_(tjInitCompress()) {}
    ~ThreadCompressor() {
        if (handle_)
            tjDestroy(handle_);
    }
    ThreadCompressor(const ThreadCompressor&) = delete;
    ThreadCompressor& operator=(const ThreadCompressor&) = delete;
    tjhandle handle() const { return handle_; }

private:
    tjhandle handle_;
};

bool fail(JpegEncodeError* error, JpegEncodeError::Kind kind, int status, const QString& text) {
    if (error)
        *error = {kind, status, text};
    return false;
}

} // namespace

bool TurboJpegEncoder::encode(const cDIBSection& buffer, int quality, QByteArray* out,
                              JpegEncodeError* error) {
    using Kind = JpegEncodeError::Kind;
    if (buffer.IsEmpty())
        return fail(error, Kind::Encode, -1, QStringLiteral("the image buffer is empty"));
    if (quality < 1 || quality > 100)
        return fail(error, Kind::Encode, -1,
                    QStringLiteral("quality %1 is outside 1 to 100").arg(quality));

    thread_local ThreadCompressor compressor;
    if (!compressor.handle())
        return fail(error, Kind::Initialise, -1, QString::fromLocal8Bit(tjGetErrorStr2(nullptr)));

    const unsigned long bound = tjBufSize(buffer.Width(), buffer.Height(), TJSAMP_444);
    if (bound == static_cast<unsigned long>(-1) ||
        bound > static_cast<unsigned long>(std::numeric_limits<qsizetype>::max() / 2))
        return fail(error, Kind::Encode, -1, QStringLiteral("the picture is too large to encode"));

    // Encode straight into the result, sized for the worst case, so the library
    // never reallocates and nothing is copied afterwards.
    QByteArray jpeg;
    jpeg.resize(qsizetype(bound));
    auto* target = reinterpret_cast<unsigned char*>(jpeg.data());
    unsigned long size = bound;
    const int flags = TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC | TJFLAG_ACCURATEDCT;
    if (tjCompress2(compressor.handle(), buffer.DIBSectionBitsPtr(), buffer.Width(),
                    buffer.BytesPerScanLine(), buffer.Height(), TJPF_BGR, &target, &size,
                    TJSAMP_444, quality, flags) != 0)
        return fail(error, Kind::Encode, tjGetErrorCode(compressor.handle()),
                    QString::fromLocal8Bit(tjGetErrorStr2(compressor.handle())));
    jpeg.truncate(qsizetype(size));
    *out = std::move(jpeg);
    if (error)
        *error = {};
    return true;
}
