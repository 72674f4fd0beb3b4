#include "core/imaging/bitmapfile.h"

#include "core/base/coreerror.h"
#include "core/imaging/bitmappalette.h"
#include "core/imaging/dibsection.h"
#include "support/testsupport.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QtEndian>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

quint32 u32(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
quint16 u16(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

// Top row red, green, blue; bottom row white, black, dark slate (10, 20, 30).
QImage threeByTwo() {
    QImage picture(3, 2, QImage::Format_RGB32);
    const QRgb pixels[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                               {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(10, 20, 30)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, pixels[y][x]);
    return picture;
}

QImage readBack(const QString& path) {
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "bmp");
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

void expectNoError(const CoreError& error) {
    EXPECT_FALSE(error) << describeCoreError(error).text.toStdString();
}

} // namespace

TEST(BitmapFile, SwapRedBlueExchangesTheOuterBytesAndDropsTheTop) {
    EXPECT_EQ(SwapRedBlue(0x00112233u), 0x00332211u);
    EXPECT_EQ(SwapRedBlue(0xFF123456u), 0x00563412u);
    EXPECT_EQ(SwapRedBlue(0x000000FFu), 0x00FF0000u);
}

TEST(BitmapFile, DirectColourFilesCarryOneZeroEntryAndBottomUpRows) {
    const struct {
        int bitCount;
        int fileSize;
        QByteArray bottomRow, topRow; // as written, padding included
    } cases[] = {
        {32, 82,
         QByteArray::fromHex("ffffff00"
                             "00000000"
                             "1e140a00"),
         QByteArray::fromHex("0000ff00"
                             "00ff0000"
                             "ff000000")},
        {24, 82,
         QByteArray::fromHex("ffffff"
                             "000000"
                             "1e140a"
                             "000000"),
         QByteArray::fromHex("0000ff"
                             "00ff00"
                             "ff0000"
                             "000000")},
        // 5-5-5: (10, 20, 30) keeps its upper five bits of each channel.
        {16, 74,
         QByteArray::fromHex("ff7f"
                             "0000"
                             "4304"
                             "0000"),
         QByteArray::fromHex("007c"
                             "e003"
                             "1f00"
                             "0000")},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const QString path = folder.file(QStringLiteral("d%1.bmp").arg(c.bitCount));
        CoreError error{CoreError::Code::BitmapNotWritten, {}}; // cleared on success
        EXPECT_EQ(WriteBitmapFile(threeByTwo(), c.bitCount, path, nullptr, &error), c.fileSize)
            << c.bitCount;
        expectNoError(error);
        const QByteArray file = readAll(path);
        ASSERT_EQ(file.size(), c.fileSize);
        const int rowLength = int(c.bottomRow.size());
        EXPECT_EQ(file.left(2), "BM");
        EXPECT_EQ(u32(file, 2), quint32(c.fileSize)); // bfSize
        EXPECT_EQ(u32(file, 6), 0u);                  // reserved
        EXPECT_EQ(u32(file, 10), 58u);                // bfOffBits
        EXPECT_EQ(u32(file, 14), 40u);                // biSize
        EXPECT_EQ(u32(file, 18), 3u);                 // width
        EXPECT_EQ(u32(file, 22), 2u);                 // height, positive
        EXPECT_EQ(u16(file, 26), 1u);                 // planes
        EXPECT_EQ(u16(file, 28), quint16(c.bitCount));
        EXPECT_EQ(u32(file, 30), 0u);                      // uncompressed
        EXPECT_EQ(u32(file, 34), quint32(2 * rowLength));  // biSizeImage
        EXPECT_EQ(file.mid(38, 16), QByteArray(16, '\0')); // resolutions, colour counts
        EXPECT_EQ(file.mid(54, 4), QByteArray(4, '\0'));   // the single zero entry
        EXPECT_EQ(file.mid(58, rowLength).toHex(), c.bottomRow.toHex()) << c.bitCount;
        EXPECT_EQ(file.mid(58 + rowLength).toHex(), c.topRow.toHex()) << c.bitCount;
        if (c.bitCount != 16) {
            EXPECT_EQ(readBack(path), threeByTwo()) << c.bitCount;
        }
    }
}

TEST(BitmapFile, PaletteFilesCarryTheirTableAndNearestColours) {
    const struct {
        int bitCount, entries, offBits;
        QByteArray bottomRow, topRow;
    } cases[] = {
        // Red, green and blue are all nearer black than white.
        {1, 2, 62, QByteArray::fromHex("80000000"), QByteArray::fromHex("00000000")},
        // VGA: white 15, black 0, slate black; red 9, green 10, blue 12.
        {4, 16, 118, QByteArray::fromHex("f0000000"), QByteArray::fromHex("9ac00000")},
        // Cube: white 215, black 0, slate the grey 19 at 218; red 180, green 30, blue 5.
        {8, 256, 1078, QByteArray::fromHex("d700da00"), QByteArray::fromHex("b41e0500")},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        const QString path = folder.file(QStringLiteral("p%1.bmp").arg(c.bitCount));
        const int fileSize = c.offBits + 8;
        EXPECT_EQ(WriteBitmapFile(threeByTwo(), c.bitCount, path), fileSize) << c.bitCount;
        const QByteArray file = readAll(path);
        ASSERT_EQ(file.size(), fileSize);
        EXPECT_EQ(u32(file, 2), quint32(fileSize));
        EXPECT_EQ(u32(file, 10), quint32(c.offBits));
        EXPECT_EQ(u16(file, 28), quint16(c.bitCount));
        EXPECT_EQ(u32(file, 34), 8u);
        EXPECT_EQ(u32(file, 46), quint32(c.entries)); // biClrUsed
        EXPECT_EQ(u32(file, 50), quint32(c.entries)); // biClrImportant
        const QList<QRgb> palette = defaultBitmapPalette(c.bitCount);
        ASSERT_EQ(palette.size(), c.entries);
        for (int i = 0; i < c.entries; ++i)
            ASSERT_EQ(u32(file, 54 + 4 * i), palette[i] & 0xFFFFFFu) << c.bitCount << " " << i;
        EXPECT_EQ(file.mid(c.offBits, 4).toHex(), c.bottomRow.toHex()) << c.bitCount;
        EXPECT_EQ(file.mid(c.offBits + 4).toHex(), c.topRow.toHex()) << c.bitCount;
        const QImage decoded = readBack(path);
        EXPECT_EQ(decoded.pixel(0, 1), qRgb(255, 255, 255)) << c.bitCount;
    }
}

TEST(BitmapFile, FullColourListBecomesTheTableAndOtherLengthsAreIgnored) {
    // Entry i is red i, green 7, blue 255 - i, given as 0x00BBGGRR.
    QList<quint32> list;
    for (quint32 i = 0; i < 256; ++i)
        list.append((255 - i) << 16 | 7 << 8 | i);
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(77, 7, 178)); // list entry 77
    picture.setPixel(1, 0, qRgb(200, 8, 55)); // nearest: entry 200
    TempFolder folder;

    EXPECT_EQ(WriteBitmapFile(picture, 8, folder.file("list.bmp"), &list), 1082);
    const QByteArray file = readAll(folder.file("list.bmp"));
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(file.mid(54 + 4 * i, 4),
                  QByteArray::fromHex(QByteArray::number(255 - i, 16).rightJustified(2, '0') +
                                      "07" + QByteArray::number(i, 16).rightJustified(2, '0') +
                                      "00"))
            << i; // blue, green, red, 0
    EXPECT_EQ(uchar(file[1078]), 77);
    EXPECT_EQ(uchar(file[1079]), 200);
    const QImage decoded = readBack(folder.file("list.bmp"));
    EXPECT_EQ(decoded.pixel(0, 0), qRgb(77, 7, 178));
    EXPECT_EQ(decoded.pixel(1, 0), qRgb(200, 7, 55));

    const QList<QRgb> cube = defaultBitmapPalette(8);
    for (const qsizetype length : {0, 16, 255, 257}) {
        const QList<quint32> other = list.mid(0, length) + QList<quint32>(length > 256, 0);
        EXPECT_EQ(WriteBitmapFile(picture, 8, folder.file("other.bmp"), &other), 1082);
        const QByteArray defaults = readAll(folder.file("other.bmp"));
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(u32(defaults, 54 + 4 * i), cube[i] & 0xFFFFFFu) << length << " " << i;
    }
    // A list is no concern of a direct-colour file.
    EXPECT_EQ(WriteBitmapFile(picture, 32, folder.file("direct.bmp"), &list), 66);
    EXPECT_EQ(u32(readAll(folder.file("direct.bmp")), 54), 0u);
}

TEST(BitmapFile, UnsupportedDepthIsReportedAndTouchesNothing) {
    TempFolder folder;
    const QString existing = folder.write("old.bmp", "old");
    for (const int bitCount : {2, 15, 0, -8, 48, 64}) {
        CoreError error;
        EXPECT_EQ(WriteBitmapFile(threeByTwo(), bitCount, folder.file("new.bmp"), nullptr, &error),
                  -1);
        EXPECT_EQ(WriteBitmapFile(threeByTwo(), bitCount, existing), -1);
        // the message the page that called shows
        const MessageBoxRequest message = describeCoreError(error);
        EXPECT_EQ(message.text, "Fehler!\r\nDieses Bildformat wird nicht unterstützt!");
        EXPECT_EQ(message.icon, MessageIcon::None);
        EXPECT_EQ(message.title, "Stampora");
    }
    EXPECT_EQ(readAll(existing), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.bmp"});
}

TEST(BitmapFile, NullPictureAndUnwritablePathAreFailures) {
    TempFolder folder;
    {
        CoreError error;
        EXPECT_EQ(WriteBitmapFile(QImage(), 32, folder.file("null.bmp"), nullptr, &error), -2);
        expectNoError(error);
    }
    for (const QString& path : {folder.file("missing/folder/a.bmp"), QString()}) {
        CoreError error;
        EXPECT_EQ(WriteBitmapFile(threeByTwo(), 32, path, nullptr, &error), 0);
        EXPECT_EQ(error.code, CoreError::Code::BitmapNotWritten);
        const MessageBoxRequest message = describeCoreError(error);
        EXPECT_TRUE(message.text.startsWith("Fehler!\r\n")) << message.text.toStdString();
        EXPECT_GT(message.text.size(), 12);
        EXPECT_EQ(message.icon, MessageIcon::None);
        EXPECT_EQ(message.title, "Stampora");
    }
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST(BitmapFile, LongerFileIsReplacedByExactlyTheNewContent) {
    TempFolder folder;
    const QString path = folder.write("tester.bmp", QByteArray(5000, 'x'));
    EXPECT_EQ(WriteBitmapFile(threeByTwo(), 32, path), 82);
    EXPECT_EQ(readAll(path).size(), 82);
    EXPECT_EQ(readBack(path), threeByTwo());
}

TEST(BitmapFile, LargePictureRoundTripsAcrossWriteChunks) {
    // 1500 × 1000 at 32 bits is 6 MB: rows split over more than one write.
    QImage picture(1500, 1000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = qRgb(x % 256, y % 256, (x * 3 + y * 7) % 256);
    }
    TempFolder folder;
    for (const int bitCount : {32, 24}) {
        const QString path = folder.file(QStringLiteral("large%1.bmp").arg(bitCount));
        const int rowLength = bitCount == 32 ? 6000 : 4500;
        EXPECT_EQ(WriteBitmapFile(picture, bitCount, path), 58 + rowLength * 1000);
        EXPECT_EQ(readBack(path), picture) << bitCount;
    }
}

TEST(BitmapFile, TransparencyIsComposedOverBlack) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(255, 255, 255, 128));
    picture.setPixel(1, 0, qRgba(200, 100, 50, 0));
    TempFolder folder;
    EXPECT_EQ(WriteBitmapFile(picture, 32, folder.file("alpha.bmp")), 66);
    EXPECT_EQ(readAll(folder.file("alpha.bmp")).mid(58).toHex(), "8080800000000000");
}

TEST(BitmapFile, ImageBufferGivesTheSameFileAsItsPicture) {
    // odd widths pad their rows; 1500 × 1000 spreads over several write chunks
    TempFolder folder;
    for (const QSize size :
         {QSize(1, 2), QSize(2, 3), QSize(3, 1), QSize(5, 4), QSize(7, 3), QSize(1500, 1000)}) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 37 % 256, y * 11 % 256, (x + 5 * y) % 256));
        cDIBSection buffer;
        ASSERT_TRUE(buffer.CreateFromPicture(picture));
        for (const int bitCount : {32, 24, 8}) {
            const QString fromPicture = folder.file("picture.bmp");

            const int length = WriteBitmapFile(picture, bitCount, fromPicture);
            ASSERT_GT(length, 0);
            for (const BitmapWriteMode mode :
                 {BitmapWriteMode::Replace, BitmapWriteMode::InPlace}) {
                // an earlier, longer file is cut to the new length; one of the
                // same length is overwritten in every byte
                for (const int earlier : {length + 100, length}) {
                    const QString fromBuffer = folder.write("buffer.bmp", QByteArray(earlier, 'x'));
                    EXPECT_EQ(WriteBitmapFile(buffer, bitCount, fromBuffer, nullptr, mode), length);
                    EXPECT_EQ(readAll(fromBuffer), readAll(fromPicture))
                        << size.width() << " × " << size.height() << " at " << bitCount;
                }
            }
        }
    }
    cDIBSection empty;
    EXPECT_EQ(WriteBitmapFile(empty, 32, folder.file("empty.bmp")), BitmapNoPicture);
    EXPECT_FALSE(QFile::exists(folder.file("empty.bmp")));
    // in place, only a regular file is written: a folder or a named pipe is refused at once
    cDIBSection one;
    ASSERT_TRUE(one.Create(1, 1));
    QDir().mkpath(folder.file("folder.bmp"));
    const QString pipe = folder.file("pipe.bmp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {folder.file("folder.bmp"), pipe}) {
        CoreError error;
        EXPECT_EQ(WriteBitmapFile(one, 32, path, &error, BitmapWriteMode::InPlace),
                  BitmapUnexpectedError);
        EXPECT_TRUE(error);
    }
}
