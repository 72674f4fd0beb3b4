#include "core/imaging/dibsection.h"

#include <QImage>
#include <algorithm>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// The three bytes of a buffer pixel as 0xRRGGBB.
int bufferPixel(const cDIBSection& buffer, int x, int pictureRow) {
    const uchar* p = buffer.scanLine(pictureRow) + 3 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}

} // namespace

TEST(DibSection, StrideIsThreeBytesPerPixelRoundedUpToFour) {
    const int strides[] = {4, 8, 12, 12, 16};
    for (int width = 1; width <= 5; ++width) {
        cDIBSection buffer;
        ASSERT_TRUE(buffer.Create(width, 3)) << width;
        EXPECT_EQ(buffer.BytesPerScanLine(), strides[width - 1]) << width;
        EXPECT_EQ(buffer.sizeImage(), 3 * strides[width - 1]) << width;
        // A fresh buffer is black, padding included.
        const uchar* bits = buffer.DIBSectionBitsPtr();
        EXPECT_TRUE(std::all_of(bits, bits + buffer.sizeImage(), [](uchar b) { return b == 0; }));
    }
}

TEST(DibSection, LargeBlocksAreZeroedAndWritableToTheLastByte) {
    for (const auto& [width, height] : {std::pair{2000, 1000}, {3001, 2999}}) {
        cDIBSection buffer;
        ASSERT_TRUE(buffer.Create(width, height));
        uchar* bits = buffer.DIBSectionBitsPtr();
        const qsizetype size = buffer.sizeImage();
        EXPECT_TRUE(std::all_of(bits, bits + size, [](uchar b) { return b == 0; }));
        std::memset(bits, 0xAB, size_t(size));
        EXPECT_EQ(buffer.scanLine(0)[buffer.BytesPerScanLine() - 1], 0xAB);
        ASSERT_TRUE(buffer.Create(width, height)); // made again: black again
        EXPECT_EQ(buffer.scanLine(0)[0], 0);
    }
}

TEST(DibSection, PictureTopRowLandsInTheLastRowOfTheBlock) {
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    for (int x = 0; x < 100; ++x) {
        picture.setPixel(x, 49, qRgb(x, 200, 100)); // bottom row
        picture.setPixel(x, 0, qRgb(1, 2, 3));      // top row
    }
    cDIBSection buffer;
    ASSERT_TRUE(buffer.CreateFromPicture(picture));
    EXPECT_EQ(buffer.Width(), 100);
    EXPECT_EQ(buffer.Height(), 50);
    EXPECT_EQ(buffer.BytesPerScanLine(), 300);
    EXPECT_EQ(buffer.sizeImage(), 15000);

    const uchar* bits = buffer.DIBSectionBitsPtr();
    for (int x = 0; x < 100; ++x) {
        EXPECT_EQ(bits[3 * x], 100);     // blue first
        EXPECT_EQ(bits[3 * x + 1], 200); // green
        EXPECT_EQ(bits[3 * x + 2], x);   // red
    }
    const uchar* lastRow = bits + 49 * 300;
    EXPECT_EQ(buffer.scanLine(0), lastRow);
    EXPECT_EQ(lastRow[0], 3);
    EXPECT_EQ(lastRow[2], 1);
    EXPECT_EQ(bufferPixel(buffer, 7, 25), 0x0A141E);
}

TEST(DibSection, EveryPictureFormatBecomesBlueGreenRed) {
    struct Case {
        QImage::Format format;
        QRgb colour;
        int expected; // 0xRRGGBB in the buffer
    };
    const Case cases[] = {
        {QImage::Format_RGB32, qRgb(200, 100, 50), 0xC86432},
        {QImage::Format_RGB888, qRgb(200, 100, 50), 0xC86432},
        {QImage::Format_BGR888, qRgb(200, 100, 50), 0xC86432},
        {QImage::Format_Grayscale8, qRgb(77, 77, 77), 0x4D4D4D},
        {QImage::Format_Indexed8, qRgb(200, 100, 50), 0xC86432},
        // Transparency is composed over black: half-transparent white is mid grey.
        {QImage::Format_ARGB32, qRgba(255, 255, 255, 128), 0x808080},
        {QImage::Format_ARGB32, qRgba(90, 60, 30, 0), 0x000000},
        {QImage::Format_RGBA8888, qRgba(200, 100, 50, 255), 0xC86432},
    };
    for (const Case& c : cases) {
        QImage picture(3, 2, QImage::Format_ARGB32);
        picture.fill(c.colour);
        if (c.format == QImage::Format_Indexed8)
            picture = picture.convertToFormat(c.format, QList<QRgb>{c.colour});
        else
            picture = picture.convertToFormat(c.format);
        cDIBSection buffer;
        ASSERT_TRUE(buffer.CreateFromPicture(picture)) << c.format;
        for (int row = 0; row < 2; ++row)
            for (int x = 0; x < 3; ++x)
                for (int shift : {0, 8, 16}) // each channel within one level of rounding
                    EXPECT_NEAR(bufferPixel(buffer, x, row) >> shift & 0xFF,
                                c.expected >> shift & 0xFF, 1)
                        << c.format;
    }
}

TEST(DibSection, SizesThatDoNotFitAreRefusedAndLeaveTheBufferEmpty) {
    const struct {
        int width, height;
    } sizes[] = {
        {0, 1},          {1, 0},       {-1, 5},         {5, -1},
        {0x40000000, 1}, {INT_MAX, 1}, {0x2AAAAAAA, 1}, // 3 × width + 3 just past INT_MAX
        {0x20000000, 2},                                // row fits, block does not
        {30000, 30000},                                 // 2.7 GB: beyond the 32-bit block length
    };
    for (const auto& size : sizes) {
        cDIBSection buffer;
        ASSERT_TRUE(buffer.Create(4, 4));
        EXPECT_FALSE(buffer.Create(size.width, size.height)) << size.width << "x" << size.height;
        EXPECT_TRUE(buffer.isEmpty());
        EXPECT_EQ(buffer.DIBSectionBitsPtr(), nullptr);
        EXPECT_EQ(buffer.Width(), 0);
        EXPECT_EQ(buffer.Height(), 0);
        EXPECT_EQ(buffer.BytesPerScanLine(), 0);
    }
    EXPECT_EQ(cDIBSection::strideForWidth(0x2AAAAAA9), 0x7FFFFFFC);
    EXPECT_FALSE(cDIBSection::strideForWidth(0x2AAAAAAA));
}

TEST(DibSection, NullPictureLeavesTheBufferEmpty) {
    cDIBSection buffer;
    ASSERT_TRUE(buffer.Create(2, 2));
    EXPECT_FALSE(buffer.CreateFromPicture(QImage()));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST(DibSection, MovingHandsOverTheBlock) {
    cDIBSection first;
    ASSERT_TRUE(first.Create(7, 3));
    const uchar* bits = first.DIBSectionBitsPtr();
    cDIBSection second(std::move(first));
    EXPECT_TRUE(first.isEmpty());
    EXPECT_EQ(first.Width(), 0);
    EXPECT_EQ(second.DIBSectionBitsPtr(), bits);
    EXPECT_EQ(second.Width(), 7);

    cDIBSection third;
    ASSERT_TRUE(third.Create(1, 1));
    third = std::move(second);
    EXPECT_EQ(third.DIBSectionBitsPtr(), bits);
    EXPECT_EQ(third.BytesPerScanLine(), 24);
    EXPECT_TRUE(second.isEmpty());
    third.ClearUp();
    EXPECT_TRUE(third.isEmpty());
}
