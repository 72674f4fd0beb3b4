#include "core/imaging/notice.h"

#include "support/testsupport.h"

#include <QBuffer>
#include <QColorSpace>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A 200 × 100 picture with no bright pixel anywhere, so every white pixel in a
// result comes from the notice.
QImage darkPicture(int width = 200, int height = 100) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 128, 40 + y % 64, 90));
    return image;
}

QString savePng(const TempFolder& folder, const QString& name, const QImage& image) {
    const QString path = folder.file(name);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
}

bool isWhite(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) > 200 && qBlue(pixel) > 200;
}

// First row in [from, to) holding a white pixel, or -1.
int firstWhiteRow(const QImage& image, int from = 0, int to = -1) {
    if (to < 0)
        to = image.height();
    for (int y = from; y < to; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isWhite(image.pixel(x, y)))
                return y;
    return -1;
}

int firstWhiteColumn(const QImage& image) {
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (isWhite(image.pixel(x, y)))
                return x;
    return -1;
}

bool rowsEqual(const QImage& a, const QImage& b, int from, int to) {
    for (int y = from; y < to; ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

bool rowsBlack(const QImage& image, int from, int to) {
    for (int y = from; y < to; ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                return false;
    return true;
}

QImage compose(const QString& path, const QString& text, bool enlarge) {
    QString error;
    const QImage result = composeNoticePicture(path, NoticeOptions{text, enlarge}, &error);
    EXPECT_FALSE(result.isNull()) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    return result;
}

const QString kNotice = QStringLiteral("Copyright (C) 2002 <Ihr Name>");

// The line's top lies 18 rows above the bottom edge; in the bold 11-pixel
// Liberation Sans the first lit row of this text is 2 rows below the line's top.
constexpr int kFirstGlyphRowBelowLineTop = 2;

// First row in [from, to) with any lit pixel on a black strip, or -1.
int firstLitRow(const QImage& image, int from, int to) {
    for (int y = from; y < to; ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                return y;
    return -1;
}

} // namespace

TEST(CopName, LowerCasesTheFileNameAndDropsJpegEndings) {
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {"/Bilder/Foto.JPEG", "/Bilder/foto-cop.jpg"},
        {"/Bilder/Bild.gif", "/Bilder/bild.gif-cop.jpg"},
        {"/a.jpg.d/b.jpg", "/a.jpg.d/b-cop.jpg"},
        {"/Ordner/X.Jpg.JPEG.png", "/Ordner/x.png-cop.jpg"},
        {"/Ordner/ÄPFEL.jpg", "/Ordner/äpfel-cop.jpg"},
        {"foto.jpg", "foto-cop.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(copPicturePath(QString::fromUtf8(c.source)), QString::fromUtf8(c.expected))
            << c.source;
}

TEST(ComposeNotice, EnlargeAddsABlackStripWithTheTextAtRow102) {
    TempFolder folder;
    const QImage source = darkPicture();
    const QImage out = compose(savePng(folder, "a.png", source), kNotice, true);
    ASSERT_EQ(out.size(), QSize(200, 120));
    EXPECT_TRUE(rowsEqual(out, source, 0, 100));
    EXPECT_TRUE(rowsBlack(out, 100, 102));
    EXPECT_TRUE(rowsBlack(out, 118, 120));
    EXPECT_EQ(firstLitRow(out, 100, 120), 102 + kFirstGlyphRowBelowLineTop);
    const int top = firstWhiteRow(out);
    EXPECT_GE(top, 102);
    EXPECT_LE(top, 105);
    EXPECT_LE(firstWhiteColumn(out), 2);
    // the strip holds only black and the grey shades of white text: no box, no colour
    for (int y = 100; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            const QRgb p = out.pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
        }
    EXPECT_TRUE(rowsBlack(out.copy(180, 100, 20, 20), 0, 20)) << "text is short of the right edge";
}

TEST(ComposeNotice, DirectWritesOverTheBottomOfThePictureWithoutABox) {
    TempFolder folder;
    const QImage source = darkPicture();
    const QImage out = compose(savePng(folder, "a.png", source), kNotice, false);
    ASSERT_EQ(out.size(), QSize(200, 100));
    EXPECT_TRUE(rowsEqual(out, source, 0, 82));
    EXPECT_EQ(firstWhiteRow(out), 82 + kFirstGlyphRowBelowLineTop);
    EXPECT_LE(firstWhiteColumn(out), 2);
    // between the glyphs the picture shows through
    int untouched = 0;
    for (int y = 82; y < 100; ++y)
        for (int x = 0; x < 60; ++x)
            untouched += out.pixel(x, y) == source.pixel(x, y);
    EXPECT_GT(untouched, 500);
    EXPECT_TRUE(rowsEqual(out.copy(180, 0, 20, 100), source.copy(180, 0, 20, 100), 0, 100));
}

TEST(ComposeNotice, LongTextIsClippedAndLineBreaksStayOnOneLine) {
    TempFolder folder;
    const QString path = savePng(folder, "a.png", darkPicture());
    const QImage out = compose(path, QString(200, QLatin1Char('W')), true);
    EXPECT_TRUE(isWhite(out.pixel(199, 108)) || isWhite(out.pixel(198, 108)) ||
                firstWhiteRow(out.copy(190, 100, 10, 20)) >= 0)
        << "the text runs to the right edge";
    EXPECT_GE(firstWhiteRow(out), 102);
    EXPECT_EQ(firstWhiteRow(out, 115), -1) << "no second line";

    const QImage broken = compose(path, QStringLiteral("Erste\nZweite\r\nDritte"), true);
    const QImage oneLine = compose(path, QStringLiteral("Erste Zweite  Dritte"), true);
    EXPECT_EQ(broken, oneLine);
}

TEST(ComposeNotice, EmptyTextStillAddsTheBlackStrip) {
    TempFolder folder;
    const QImage source = darkPicture();
    // "@2x" in a name makes Qt's reader mark the picture high-dpi; it is still
    // drawn pixel for pixel
    for (const char* name : {"a.png", "a@2x.png"}) {
        const QImage out = compose(savePng(folder, name, source), QString(), true);
        ASSERT_EQ(out.size(), QSize(200, 120)) << name;
        EXPECT_TRUE(rowsEqual(out, source, 0, 100)) << name;
        EXPECT_TRUE(rowsBlack(out, 100, 120)) << name;
    }
}

TEST(ComposeNotice, DirectOnAShortPictureShowsTheLowerPartOfTheText) {
    TempFolder folder;
    const QImage out = compose(savePng(folder, "a.png", darkPicture(200, 10)), kNotice, false);
    ASSERT_EQ(out.size(), QSize(200, 10));
    EXPECT_GE(firstWhiteRow(out), 0);
}

TEST(ComposeNotice, SecondCallKeepsNothingOfTheFirst) {
    TempFolder folder;
    compose(savePng(folder, "big.png", darkPicture()), kNotice, true);
    const QImage small = darkPicture(50, 30);
    const QImage out = compose(savePng(folder, "small.png", small), QString(), true);
    ASSERT_EQ(out.size(), QSize(50, 50));
    EXPECT_TRUE(rowsEqual(out, small, 0, 30));
    EXPECT_TRUE(rowsBlack(out, 30, 50));
}

// Every kind of picture the readers hand back (opaque, indexed, grey,
// transparent) in both modes: the picture unchanged at the top-left, transparent
// pixels over black, the strip black.
TEST(ComposeNotice, EveryPictureKindInBothModes) {
    TempFolder folder;
    QImage opaque = darkPicture(60, 40);
    QImage indexed = opaque.convertToFormat(QImage::Format_Indexed8);
    QImage grey = opaque.convertToFormat(QImage::Format_Grayscale8);
    QImage transparent(60, 40, QImage::Format_ARGB32);
    transparent.fill(Qt::transparent);
    for (int y = 0; y < 40; ++y)
        for (int x = 30; x < 60; ++x)
            transparent.setPixel(x, y, qRgba(255, 40, 0, 128));
    const struct {
        const char* name;
        const QImage& image;
        const char* format;
    } cases[] = {{"opaque.png", opaque, "PNG"},
                 {"indexed.bmp", indexed, "BMP"},
                 {"png-named.gif", opaque, "PNG"},
                 {"grey.png", grey, "PNG"},
                 {"transparent.png", transparent, "PNG"}};
    for (const auto& c : cases) {
        const QString path = folder.file(c.name);
        ASSERT_TRUE(c.image.save(path, c.format)) << c.name;
        // what the picture looks like over black
        QImage expected(60, 40, QImage::Format_RGB32);
        expected.fill(Qt::black);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                const QRgb p = QImage(path).pixel(x, y);
                expected.setPixel(x, y,
                                  qRgb(qRed(p) * qAlpha(p) / 255, qGreen(p) * qAlpha(p) / 255,
                                       qBlue(p) * qAlpha(p) / 255));
            }
        for (const bool enlarge : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (enlarge ? " enlarge" : " direct"));
            const QImage out = compose(path, QString(), enlarge);
            ASSERT_EQ(out.size(), QSize(60, enlarge ? 60 : 40));
            EXPECT_EQ(out.format(), QImage::Format_RGB32);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 60; ++x) {
                    const QRgb want = expected.pixel(x, y), got = out.pixel(x, y);
                    ASSERT_NEAR(qRed(got), qRed(want), 1) << x << "," << y;
                    ASSERT_NEAR(qGreen(got), qGreen(want), 1) << x << "," << y;
                    ASSERT_NEAR(qBlue(got), qBlue(want), 1) << x << "," << y;
                }
            EXPECT_TRUE(rowsBlack(out, 40, out.height()));
        }
    }
}

namespace {

// A JPEG whose pixels are stored sideways, with an EXIF orientation of 6
// ("turn 90° clockwise to view") written by hand right after SOI.
QByteArray sidewaysJpeg(const QImage& stored) {
    return withSegments(encodedPicture(stored, "JPEG", 95), exifWithOrientation(6));
}

} // namespace

TEST(ComposeNotice, ExifOrientationIsAppliedBeforeTheNotice) {
    TempFolder folder;
    QImage stored(40, 20, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            stored.setPixel(x, y, qRgb(255, 0, 0));
    const QString path = folder.write("turned.jpg", sidewaysJpeg(stored));
    const QImage out = compose(path, QString(), true);
    ASSERT_EQ(out.size(), QSize(20, 60));
    // the stored left half (red) is the top as people see it
    EXPECT_GT(qRed(out.pixel(10, 5)), 200);
    EXPECT_GT(qBlue(out.pixel(10, 35)), 200);
    EXPECT_TRUE(rowsBlack(out, 40, 60));
}

namespace {

quint32 crc32Of(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type, 4) + data;
    chunk += body;
    QByteArray crc(4, '\0');
    qToBigEndian(crc32Of(body), crc.data());
    return chunk + crc;
}

// A PNG that declares a size in a valid header and holds a few bytes of pixels.
QByteArray pngHeaderOnly(quint32 width, quint32 height) {
    QByteArray ihdr(13, '\0');
    qToBigEndian(width, ihdr.data());
    qToBigEndian(height, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 2; // RGB
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
           pngChunk("IDAT", QByteArray::fromHex("789c630000000100")) + pngChunk("IEND", {});
}

} // namespace

TEST(ComposeNotice, OversizedHeadersAreRefusedWithoutDecoding) {
    TempFolder folder;
    const struct {
        quint32 width, height;
    } cases[] = {{60000, 60000}, {30001, 10}, {10, 30001}, {20000, 10001}};
    for (const auto& c : cases) {
        const QString path = folder.write("huge.png", pngHeaderOnly(c.width, c.height));
        QString error;
        EXPECT_TRUE(composeNoticePicture(path, NoticeOptions{kNotice, true}, &error).isNull());
        EXPECT_TRUE(error.contains(QStringLiteral("zu groß"))) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::number(c.width))) << error.toStdString();
    }
}

TEST(ComposeNotice, UnreadableFilesGiveAGermanReason) {
    TempFolder folder;
    const QString unreadable = QStringLiteral("Das Bild konnte nicht gelesen werden");
    const struct {
        QString path;
        QString reason; // how it starts
    } cases[] = {
        {folder.write("garbage.jpg", QByteArray("das ist kein Bild, nur Text\n").repeated(20)),
         unreadable},
        {folder.write("empty.jpg", QByteArray()), unreadable},
        {folder.write("cut.png", darkPicture().save(folder.file("whole.png"))
                                     ? readAll(folder.file("whole.png")).left(100)
                                     : QByteArray()),
         QStringLiteral("Das Bild ist beschädigt oder unvollständig: cut.png.")},
        {folder.file("missing.jpg"), unreadable},
        {folder.path(), unreadable},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_TRUE(composeNoticePicture(c.path, NoticeOptions{kNotice, true}, &error).isNull())
            << c.path.toStdString();
        EXPECT_TRUE(error.startsWith(c.reason)) << error.toStdString();
    }
}

namespace {

struct JpegHeaders {
    QList<quint8> samplingFactors; // one per component, from the frame header
    QList<quint16> quantisers;     // every entry of every quantisation table
    int iccSegments = 0;
};

// Walks the marker segments up to the start of scan.
JpegHeaders readHeaders(const QByteArray& jpeg) {
    JpegHeaders headers;
    for (const JpegHeaderSegment& segment : jpegHeaderSegments(jpeg)) {
        const quint8 marker = segment.marker;
        const QByteArray& body = segment.body;
        if (marker == 0xC0 || marker == 0xC1) {
            for (int c = 0; c < quint8(body[5]); ++c)
                headers.samplingFactors.append(quint8(body[6 + 3 * c + 1]));
        } else if (marker == 0xDB) {
            for (qsizetype t = 0; t < body.size();) {
                const bool wide = quint8(body[t]) >> 4;
                for (int i = 0; i < 64; ++i)
                    headers.quantisers.append(wide ? quint16(quint8(body[t + 1 + 2 * i]) << 8 |
                                                             quint8(body[t + 2 + 2 * i]))
                                                   : quint8(body[t + 1 + i]));
                t += 1 + (wide ? 128 : 64);
            }
        } else if (marker == 0xE2 && body.startsWith(QByteArray("ICC_PROFILE\0", 12))) {
            ++headers.iccSegments;
        }
    }
    return headers;
}

} // namespace

TEST(EncodeNoticeJpeg, QualityHundredFullColourAndTheSourceProfile) {
    TempFolder folder;
    QImage source = darkPicture();
    source.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    const QString path = savePng(folder, "tagged.png", source);
    const QByteArray profile = QImage(path).colorSpace().iccProfile();
    ASSERT_FALSE(profile.isEmpty());

    const QImage composed = compose(path, kNotice, true);
    QByteArray jpeg;
    QString error;
    ASSERT_TRUE(encodeNoticeJpeg(composed, &jpeg, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());

    const JpegHeaders headers = readHeaders(jpeg);
    EXPECT_EQ(headers.samplingFactors, QList<quint8>({0x11, 0x11, 0x11}));
    ASSERT_FALSE(headers.quantisers.isEmpty());
    for (const quint16 q : headers.quantisers)
        ASSERT_EQ(q, 1);
    EXPECT_EQ(headers.iccSegments, 1);

    const QImage back = QImage::fromData(jpeg, "JPEG");
    ASSERT_EQ(back.size(), QSize(200, 120));
    EXPECT_EQ(back.colorSpace().iccProfile(), profile);
    for (const QPoint p : {QPoint(0, 0), QPoint(199, 0), QPoint(60, 50), QPoint(199, 99)}) {
        const QRgb want = composed.pixel(p), got = back.pixel(p);
        EXPECT_NEAR(qRed(got), qRed(want), 3) << p.x() << "," << p.y();
        EXPECT_NEAR(qGreen(got), qGreen(want), 3) << p.x() << "," << p.y();
        EXPECT_NEAR(qBlue(got), qBlue(want), 3) << p.x() << "," << p.y();
    }
}

TEST(EncodeNoticeJpeg, UntaggedPictureGetsNoProfileAndNullIsRefused) {
    QImage plain(30, 20, QImage::Format_RGB32);
    plain.fill(Qt::darkGreen);
    QByteArray jpeg;
    QString error;
    ASSERT_TRUE(encodeNoticeJpeg(plain, &jpeg, &error));
    EXPECT_EQ(readHeaders(jpeg).iccSegments, 0);
    EXPECT_EQ(QImage::fromData(jpeg, "JPEG").size(), QSize(30, 20));

    QByteArray untouched("vorher");
    EXPECT_FALSE(encodeNoticeJpeg(QImage(), &untouched, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(untouched, QByteArray("vorher"));
}
