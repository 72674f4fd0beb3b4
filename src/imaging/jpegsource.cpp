#include "imaging/jpegsource.h"

#include "imaging/dibsection.h"
#include "imaging/jpegheaders.h"
#include "imaging/picturedecoder.h"

#include <QColorSpace>
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

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 4 || file.size() > kLargestDirectFile)
        return {};
    // Peek first, so other formats are not read whole for nothing.
    const QByteArray start = file.peek(3);
    if (start != QByteArrayView("\xFF\xD8\xFF", 3))
        return {};
    QByteArray data = file.readAll();
    return file.error() == QFileDevice::NoError ? data : QByteArray();
}

} // namespace

DirectJpeg DecodeJpegIntoBuffer(const QString& path, int extraRows, cDIBSection* buffer) {
    using Result = DirectJpeg::Result;
    DirectJpeg outcome;
    if (!buffer || extraRows < 0)
        return outcome;
    buffer->ClearUp();
    const QByteArray data = readWhole(path);
    if (data.isEmpty())
        return outcome;
    const JpegHeaderFacts facts = ReadJpegHeaderFacts(data);
    if (!facts.understood || facts.orientation != 1)
        return outcome;

    thread_local ThreadDecompressor decompressor;
    if (!decompressor.handle())
        return outcome;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const auto size = static_cast<unsigned long>(data.size());
    int width = 0, height = 0, subsampling = 0, colours = 0;
    if (tjDecompressHeader3(decompressor.handle(), bytes, size, &width, &height, &subsampling,
                            &colours) != 0)
        return outcome;
    if (colours != TJCS_YCbCr && colours != TJCS_RGB && colours != TJCS_GRAY)
        return outcome;
    if (IsPictureTooLarge(QSize(width, height))) {
        outcome.result = Result::Refused;
        outcome.error = PictureTooLargeReason(path, QSize(width, height));
        return outcome;
    }
    if (height > INT_MAX - extraRows || !buffer->Create(width, height + extraRows))
        return outcome;

    // Bottom-up rows: the picture fills the block above the strip's rows.
    uchar* top = buffer->DIBSectionBitsPtr() + qsizetype(extraRows) * buffer->BytesPerScanLine();
    const int flags = TJFLAG_BOTTOMUP | TJFLAG_ACCURATEDCT | TJFLAG_STOPONWARNING;
    if (tjDecompress2(decompressor.handle(), bytes, size, top, width, buffer->BytesPerScanLine(),
                      height, TJPF_BGR, flags) != 0) {
        buffer->ClearUp();
        return outcome;
    }
    if (!facts.iccProfile.isEmpty()) {
        const QColorSpace space = QColorSpace::fromIccProfile(facts.iccProfile);
        if (space.isValid())
            outcome.iccProfile = space.iccProfile();
    }
    outcome.result = Result::Decoded;
    return outcome;
}
