#include "core/imaging/jpegsource.h"

#include "core/base/filename.h"
#include "core/imaging/dibsection.h"
#include "core/imaging/picturedecoder.h"
#include "core/imaging/picturemetadata.h"

#include <QFile>
#include <QSize>
#include <climits>
#include <turbojpeg.h>

namespace {

// Larger files are left to the general reader rather than read whole.
constexpr qint64 kLargestDirectFile = qint64(1) << 30;

// The decompressor of one thread, released when it ends.
class ThreadDecompressor {
public:
    ThreadDecompressor() : handle_(tjInitDecompress()) {}
    ~ThreadDecompressor() {
        if (handle_)
            tjDestroy(handle_);
    }
    ThreadDecompressor(const ThreadDecompressor&) = delete;
    ThreadDecompressor& operator=(const ThreadDecompressor&) = delete;
    tjhandle handle() const { return handle_; }

private:
    tjhandle handle_;
};

tjhandle threadDecompressor() {
    thread_local ThreadDecompressor decompressor;
    return decompressor.handle();
}

} // namespace

QByteArray readJpegFile(const QString& path) {
    QFile file;
    if (!openForReading(file, path) || file.size() < 4 || file.size() > kLargestDirectFile)
        return {};
    // Peek first, so other formats are not read whole for nothing.
    const QByteArray start = file.peek(3);
    if (start != QByteArrayView("\xFF\xD8\xFF", 3))
        return {};
    QByteArray data = file.readAll();
    return file.error() == QFileDevice::NoError ? data : QByteArray();
}

JpegSource openJpegSource(const QString& path, int extraRows) {
    using State = JpegSource::State;
    JpegSource source;
    if (extraRows < 0)
        return source;
    QByteArray data = readJpegFile(path);
    if (data.isEmpty())
        return source;
    // a turned picture is left to the general reader, which turns it
    PictureMetadata metadata = readPictureMetadata(data);
    if (metadata.orientation != 1)
        return source;

    tjhandle decompressor = threadDecompressor();
    if (!decompressor)
        return source;
    int width = 0, height = 0, subsampling = 0, colours = 0;
    if (tjDecompressHeader3(decompressor, reinterpret_cast<const unsigned char*>(data.constData()),
                            static_cast<unsigned long>(data.size()), &width, &height, &subsampling,
                            &colours) != 0)
        return source;
    if (colours != TJCS_YCbCr && colours != TJCS_RGB && colours != TJCS_GRAY)
        return source;
    if (isPictureTooLarge(QSize(width, height))) {
        source.state = State::Refused;
        source.error = pictureTooLargeReason(path, QSize(width, height));
        return source;
    }
    if (height > INT_MAX - extraRows || !source.buffer.Create(width, height + extraRows))
        return source;
    source.metadata = std::move(metadata);
    source.data = std::move(data);
    source.state = State::Ready;
    return source;
}

DirectJpeg decodeJpegIntoBuffer(const QString& path, int extraRows, cDIBSection* buffer) {
    using Result = DirectJpeg::Result;
    DirectJpeg outcome;
    if (!buffer)
        return outcome;
    buffer->ClearUp();
    JpegSource source = openJpegSource(path, extraRows);
    if (source.state == JpegSource::State::Refused) {
        outcome.result = Result::Refused;
        outcome.error = source.error;
        return outcome;
    }
    if (source.state != JpegSource::State::Ready)
        return outcome;

    tjhandle decompressor = threadDecompressor();
    if (!decompressor)
        return outcome;
    cDIBSection& canvas = source.buffer;
    const int width = canvas.Width();
    const int height = canvas.Height() - extraRows;
    // Bottom-up rows: the picture fills the block above the strip's rows.
    uchar* top = canvas.DIBSectionBitsPtr() + qsizetype(extraRows) * canvas.BytesPerScanLine();
    const int flags = TJFLAG_BOTTOMUP | TJFLAG_ACCURATEDCT | TJFLAG_STOPONWARNING;
    if (tjDecompress2(decompressor, reinterpret_cast<const unsigned char*>(source.data.constData()),
                      static_cast<unsigned long>(source.data.size()), top, width,
                      canvas.BytesPerScanLine(), height, TJPF_BGR, flags) != 0)
        return outcome;
    *buffer = std::move(canvas);
    outcome.metadata = std::move(source.metadata);
    outcome.result = Result::Decoded;
    return outcome;
}
