#include "core/imaging/jpegcompressor.h"

#include "core/imaging/dibsection.h"
#include "core/imaging/picturemetadata.h"

#include <QImage>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

using PixelFunction = std::function<QRgb(int x, int y)>;

// A buffer whose picture pixel (x, y), y counted from the top, is pixel(x, y).
cDIBSection makeBuffer(int width, int height, const PixelFunction& pixel) {
    cDIBSection buffer;
    EXPECT_TRUE(buffer.Create(width, height));
    for (int y = 0; y < height; ++y) {
        uchar* out = buffer.scanLine(y);
        for (int x = 0; x < width; ++x, out += 3) {
            const QRgb colour = pixel(x, y);
            out[0] = uchar(qBlue(colour));
            out[1] = uchar(qGreen(colour));
            out[2] = uchar(qRed(colour));
        }
    }
    return buffer;
}

QByteArray encoded(const cDIBSection& buffer, int quality = 100) {
    QByteArray jpeg;
    EXPECT_TRUE(compressBuffer(buffer, quality, JpegMetadataSegments{}, &jpeg));
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8") && jpeg.endsWith("\xFF\xD9"));
    return jpeg;
}

QImage decoded(const QByteArray& jpeg) {
    return QImage::fromData(jpeg, "JPEG").convertToFormat(QImage::Format_RGB32);
}

// Largest difference of any channel of any pixel between the picture and `pixel`.
int largestDifference(const QImage& picture, const PixelFunction& pixel) {
    int largest = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb got = picture.pixel(x, y), want = pixel(x, y);
            largest = std::max({largest, std::abs(qRed(got) - qRed(want)),
                                std::abs(qGreen(got) - qGreen(want)),
                                std::abs(qBlue(got) - qBlue(want))});
        }
    return largest;
}

QRgb gradient(int x, int y) {
    return qRgb((x * 37 + y * 11) % 256, (y * 23 + 60) % 256, (x * 5 + y * 17 + 120) % 256);
}

} // namespace

TEST(JpegCompressor, QualityHundredKeepsEveryWidthsPixelsUprightAndSized) {
    for (auto [width, height] : {std::pair{1, 1}, {2, 3}, {3, 2}, {4, 5}, {5, 4}, {37, 23}}) {
        const QImage picture = decoded(encoded(makeBuffer(width, height, gradient)));
        ASSERT_EQ(picture.size(), QSize(width, height));
        EXPECT_LE(largestDifference(picture, gradient), 3) << width << "x" << height;
    }
}

TEST(JpegCompressor, RedAboveBlueComesOutWithRedOnTop) {
    const auto redOverBlue = [](int, int y) { return y < 8 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); };
    const QImage picture = decoded(encoded(makeBuffer(16, 16, redOverBlue)));
    EXPECT_LE(largestDifference(picture, redOverBlue), 3);
    EXPECT_GT(qRed(picture.pixel(8, 0)), 250);
    EXPECT_GT(qBlue(picture.pixel(8, 15)), 250);
}

TEST(JpegCompressor, FullColourResolutionKeepsAOnePixelCheckerboard) {
    // With halved colour resolution red and green pixels side by side blur into
    // brownish pairs; at 4:4:4 each keeps its colour.
    const auto checkerboard = [](int x, int y) {
        return (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0);
    };
    const QImage picture = decoded(encoded(makeBuffer(16, 16, checkerboard)));
    ASSERT_EQ(picture.size(), QSize(16, 16));
    EXPECT_LE(largestDifference(picture, checkerboard), 12);
}

TEST(JpegCompressor, LowerQualityMakesASmallerFile) {
    const cDIBSection buffer = makeBuffer(64, 64, gradient);
    EXPECT_LT(encoded(buffer, 10).size(), encoded(buffer, 100).size() / 2);
}

TEST(JpegCompressor, RefusesAnEmptyBufferAndQualityOutOfRange) {
    const cDIBSection filled = makeBuffer(4, 4, gradient);
    const cDIBSection empty;
    const struct {
        const cDIBSection* buffer;
        int quality;
    } cases[] = {{&empty, 100}, {&filled, 0}, {&filled, 101}, {&filled, -5}};
    for (const auto& c : cases) {
        QByteArray jpeg("old");
        EXPECT_FALSE(compressBuffer(*c.buffer, c.quality, JpegMetadataSegments{}, &jpeg))
            << c.quality;
        EXPECT_EQ(jpeg, "old");
    }
}

TEST(JpegCompressor, ARowSourceThatStopsEndsTheEncoding) {
    const cDIBSection buffer = makeBuffer(8, 40, gradient);
    int asked = 0;
    const auto stopAfterFirst = [](void* context, int) {
        return ++*static_cast<int*>(context) < 2;
    };
    QByteArray jpeg;
    EXPECT_FALSE(
        compressBuffer(buffer, 100, JpegMetadataSegments{}, &jpeg, {stopAfterFirst, &asked}));
    EXPECT_EQ(asked, 2);
}
