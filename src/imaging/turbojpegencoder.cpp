#include "imaging/turbojpegencoder.h"

#include "base/largeblock.h"
#include "imaging/dibsection.h"

#include <turbojpeg.h>

namespace {

// The compressor and the output block of one thread, released when it ends.
class ThreadCompressor {
public:
    ThreadCompressor() : handle_(tjInitCompress()) {}
    ~ThreadCompressor() {
        releaseLargeBlock(output_, capacity_);
        if (handle_)
            tjDestroy(handle_);
    }
    ThreadCompressor(const ThreadCompressor&) = delete;
    ThreadCompressor& operator=(const ThreadCompressor&) = delete;

    tjhandle handle() const { return handle_; }

    // An output block of at least `bytes`, or nullptr.
    uchar* output(std::size_t bytes) {
        if (bytes > capacity_) {
            releaseLargeBlock(output_, capacity_);
            output_ = allocateLargeBlock(bytes);
            capacity_ = output_ ? bytes : 0;
        }
        return output_;
    }

private:
    tjhandle handle_;
    uchar* output_ = nullptr;
    std::size_t capacity_ = 0;
};

bool fail(JpegEncodeError* error, JpegEncodeError::Kind kind, int status, const QString& text) {
    if (error)
        *error = {kind, status, text};
    return false;
}

} // namespace

bool encodeWithTurboJpeg(const cDIBSection& buffer, int quality, const JpegSink& sink,
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

    // The worst case fits, so the library never reallocates.
    const unsigned long bound = tjBufSize(buffer.Width(), buffer.Height(), TJSAMP_444);
    uchar* target = bound == static_cast<unsigned long>(-1) ? nullptr : compressor.output(bound);
    if (!target)
        return fail(error, Kind::Encode, -1,
                    QStringLiteral("kein Speicher für das JPEG-Bild frei"));
    unsigned long size = bound;
    const int flags = TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC | TJFLAG_ACCURATEDCT;
    if (tjCompress2(compressor.handle(), buffer.DIBSectionBitsPtr(), buffer.Width(),
                    buffer.BytesPerScanLine(), buffer.Height(), TJPF_BGR, &target, &size,
                    TJSAMP_444, quality, flags) != 0)
        return fail(error, Kind::Encode, tjGetErrorCode(compressor.handle()),
                    QString::fromLocal8Bit(tjGetErrorStr2(compressor.handle())));
    if (!sink(reinterpret_cast<const char*>(target), qsizetype(size)))
        return fail(error, Kind::Sink, 0, QStringLiteral("the JPEG could not be stored"));
    if (error)
        *error = {};
    return true;
}
