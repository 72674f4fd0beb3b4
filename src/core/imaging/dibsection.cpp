#include "core/imaging/dibsection.h"

#include "core/base/largeblock.h"

#include <QImage>
#include <climits>
#include <cstring>
#include <utility>

cDIBSection::cDIBSection(cDIBSection&& other) noexcept
    : bits_(std::exchange(other.bits_, nullptr)), width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)), stride_(std::exchange(other.stride_, 0)) {}

cDIBSection& cDIBSection::operator=(cDIBSection&& other) noexcept {
    if (this != &other) {
        ClearUp();
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        stride_ = std::exchange(other.stride_, 0);
    }
    return *this;
}

std::optional<int> cDIBSection::strideForWidth(int width) {
    // 3 × width + 3 must fit before the low bits are cleared.
    if (width <= 0 || width > (INT_MAX - 3) / 3)
        return std::nullopt;
    return (3 * width + 3) & ~3;
}

bool cDIBSection::Create(int lWidth, int lHeight) {
    ClearUp();
    const std::optional<int> stride = strideForWidth(lWidth);
    // The block's length is a 32-bit field of the bitmap header, so it must fit there too.
    if (!stride || lHeight <= 0 || lHeight > INT_MAX / *stride)
        return false;
    bits_ = allocateLargeBlock(size_t(*stride) * size_t(lHeight));
    if (!bits_)
        return false;
    width_ = lWidth;
    height_ = lHeight;
    stride_ = *stride;
    return true;
}

void cDIBSection::ClearUp() {
    releaseLargeBlock(bits_, size_t(sizeImage()));
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
    stride_ = 0;
}

namespace {

// Formats whose 32-bit pixels can be read as QRgb with the colour already composed
// over black (no alpha, or alpha premultiplied into the colour).
bool isComposedRgb32(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied;
}

} // namespace

bool cDIBSection::CreateFromPicture(const QImage& picture) {
    ClearUp();
    if (picture.isNull() || !Create(picture.width(), picture.height()))
        return false;

    QImage source = picture;
    if (!isComposedRgb32(picture.format()) && picture.format() != QImage::Format_BGR888) {
        source =
            picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_BGR888);
        if (source.isNull()) {
            ClearUp();
            return false;
        }
    }

    const int width = width_;
    if (source.format() == QImage::Format_BGR888) {
        for (int row = 0; row < height_; ++row)
            std::memcpy(scanLine(row), source.constScanLine(row), size_t(width) * 3);
        return true;
    }
    for (int row = 0; row < height_; ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(row));
        uchar* out = scanLine(row);
        for (int x = 0; x < width; ++x, out += 3) {
            const QRgb pixel = in[x];
            out[0] = uchar(qBlue(pixel));
            out[1] = uchar(qGreen(pixel));
            out[2] = uchar(qRed(pixel));
        }
    }
    return true;
}

QImage cDIBSection::toPicture() const {
    if (isEmpty())
        return {};
    QImage picture(width_, height_, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    for (int row = 0; row < height_; ++row) {
        const uchar* in = scanLine(row);
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(row));
        for (int x = 0; x < width_; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return picture;
}
