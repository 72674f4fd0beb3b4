#include "testpattern.h"

#include "core/imaging/dibsection.h"

#include <QImage>
#include <cstdint>

namespace {

// Red, green, blue of pixel (x, y), y from the top.
struct Rgb {
    uchar red, green, blue;
};

class PatternSource {
public:
    PatternSource(int width, int height) : width_(width), height_(height) {}

    Rgb next(int x, int y) {
        // xorshift: cheap, fixed noise of ±8 levels
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        const int noise = int(state_ & 15) - 8;
        const int red = 255 * x / width_ + noise;
        const int green = 255 * y / height_ - noise;
        const int blue = (x + y) % 512 < 256 ? (x + y) % 256 : 255 - (x + y) % 256;
        return {clamp(red), clamp(green), clamp(blue + noise / 2)};
    }

private:
    static uchar clamp(int value) { return uchar(value < 0 ? 0 : value > 255 ? 255 : value); }
    int width_, height_;
    std::uint64_t state_ = 0x9E3779B97F4A7C15u;
};

} // namespace

void fillNaturalPattern(cDIBSection& buffer) {
    PatternSource source(buffer.Width(), buffer.Height());
    for (int y = 0; y < buffer.Height(); ++y) {
        uchar* out = buffer.scanLine(y);
        for (int x = 0; x < buffer.Width(); ++x, out += 3) {
            const Rgb pixel = source.next(x, y);
            out[0] = pixel.blue;
            out[1] = pixel.green;
            out[2] = pixel.red;
        }
    }
}

QImage naturalPatternPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    PatternSource source(width, height);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const Rgb pixel = source.next(x, y);
            line[x] = qRgb(pixel.red, pixel.green, pixel.blue);
        }
    }
    return picture;
}
