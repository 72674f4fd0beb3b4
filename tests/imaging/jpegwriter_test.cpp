#include "imaging/jpegwriter.h"

#include "base/coreerror.h"
#include "imaging/dibsection.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
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
        uchar* out = buffer.ScanLine(y);
        for (int x = 0; x < width; ++x, out += 3) {
            const QRgb colour = pixel(x, y);
            out[0] = uchar(qBlue(colour));
            out[1] = uchar(qGreen(colour));
            out[2] = uchar(qRed(colour));
        }
    }
    return buffer;
}

QImage decodeFile(const QString& path) {
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "jpeg");
    return reader.read().convertToFormat(QImage::Format_RGB32);
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

// The message the page that called shows for the writer's error.
void expectSaveFailedMessage(const CoreError& error) {
    const MessageBoxRequest message = DescribeCoreError(error);
    EXPECT_EQ(message.text, "Failed to save to JPG");
    EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_EQ(message.title, "Stampora");
}

} // namespace

TEST(JpegWriter, QualityHundredKeepsEveryWidthsPixelsUprightAndSized) {
    TempFolder folder;
    for (auto [width, height] : {std::pair{1, 1}, {2, 3}, {3, 2}, {4, 5}, {5, 4}, {37, 23}}) {
        const cDIBSection buffer = makeBuffer(width, height, gradient);
        const QString path = folder.file(QStringLiteral("w%1.jpg").arg(width));
        CoreError error{CoreError::Code::JpegNotSaved, {}, 0}; // cleared on success
        ASSERT_TRUE(WriteJpegFile(buffer, path, 100, &error)) << width;
        EXPECT_FALSE(error);
        const QImage decoded = decodeFile(path);
        ASSERT_EQ(decoded.size(), QSize(width, height));
        EXPECT_LE(largestDifference(decoded, gradient), 3) << width << "x" << height;
    }
}

TEST(JpegWriter, RedAboveBlueComesOutWithRedOnTop) {
    TempFolder folder;
    const auto redOverBlue = [](int, int y) { return y < 8 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); };
    const cDIBSection buffer = makeBuffer(16, 16, redOverBlue);
    ASSERT_TRUE(WriteJpegFile(buffer, folder.file("upright.jpg"), 100));
    const QImage decoded = decodeFile(folder.file("upright.jpg"));
    EXPECT_LE(largestDifference(decoded, redOverBlue), 3);
    EXPECT_GT(qRed(decoded.pixel(8, 0)), 250);
    EXPECT_GT(qBlue(decoded.pixel(8, 15)), 250);
}

TEST(JpegWriter, FullColourResolutionKeepsAOnePixelCheckerboard) {
    // With halved colour resolution red and green pixels side by side blur into
    // brownish pairs; at 4:4:4 each keeps its colour.
    const auto checkerboard = [](int x, int y) {
        return (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0);
    };
    const cDIBSection buffer = makeBuffer(16, 16, checkerboard);
    QByteArray jpeg;
    QString error;
    ASSERT_TRUE(EncodeJpeg(buffer, 100, &jpeg, &error)) << error.toStdString();
    ASSERT_TRUE(jpeg.startsWith("\xFF\xD8") && jpeg.endsWith("\xFF\xD9"));
    const QImage decoded = QImage::fromData(jpeg, "JPEG").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(decoded.size(), QSize(16, 16));
    EXPECT_LE(largestDifference(decoded, checkerboard), 12);
}

TEST(JpegWriter, LowerQualityMakesASmallerFile) {
    const cDIBSection buffer = makeBuffer(64, 64, gradient);
    QByteArray best, rough;
    ASSERT_TRUE(EncodeJpeg(buffer, 100, &best, nullptr));
    ASSERT_TRUE(EncodeJpeg(buffer, 10, &rough, nullptr));
    EXPECT_LT(rough.size(), best.size() / 2);
}

TEST(JpegWriter, EncodingRefusesAnEmptyBufferAndQualityOutOfRange) {
    const cDIBSection filled = makeBuffer(4, 4, gradient);
    const cDIBSection empty;
    const struct {
        const cDIBSection* buffer;
        int quality;
    } cases[] = {{&empty, 100}, {&filled, 0}, {&filled, 101}, {&filled, -5}};
    for (const auto& c : cases) {
        QByteArray jpeg("old");
        QString error;
        EXPECT_FALSE(EncodeJpeg(*c.buffer, c.quality, &jpeg, &error)) << c.quality;
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(jpeg, "old");
    }
}

TEST(JpegWriter, EmptyPathOrEmptyBufferIsReportedAndWritesNothing) {
    TempFolder folder;
    {
        CoreError error;
        EXPECT_FALSE(WriteJpegFile(makeBuffer(4, 4, gradient), QString(), 100, &error));
        expectSaveFailedMessage(error);
    }
    {
        CoreError error;
        EXPECT_FALSE(WriteJpegFile(cDIBSection(), folder.file("empty.jpg"), 100, &error));
        expectSaveFailedMessage(error);
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST(JpegWriter, ExistingFileIsReplacedWholeOnSuccess) {
    TempFolder folder;
    const QString path = folder.write("old.jpg", QByteArray(200000, 'x'));
    ASSERT_TRUE(WriteJpegFile(makeBuffer(8, 8, gradient), path, 100));
    const QByteArray written = readAll(path);
    EXPECT_LT(written.size(), 200000);
    EXPECT_TRUE(written.startsWith("\xFF\xD8") && written.endsWith("\xFF\xD9"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.jpg"});
}

TEST(JpegWriter, FailedWriteLeavesTheOldFileAndNoLeftovers) {
    TempFolder folder;
    const QByteArray old("earlier picture");
    const QString path = folder.write("keep.jpg", old);
    const cDIBSection buffer = makeBuffer(8, 8, gradient);
    {
        // The encoder refuses: nothing is opened.
        CoreError error;
        EXPECT_FALSE(WriteJpegFile(buffer, path, 0, &error));
        expectSaveFailedMessage(error);
    }
    {
        // The target is a folder, so the finished file cannot be renamed over it.
        folder.write("taken.jpg/inside", "x");
        CoreError error;
        EXPECT_FALSE(WriteJpegFile(buffer, folder.file("taken.jpg"), 100, &error));
        expectSaveFailedMessage(error);
        EXPECT_EQ(readAll(folder.file("taken.jpg/inside")), "x");
    }
    {
        CoreError error;
        EXPECT_FALSE(WriteJpegFile(buffer, folder.file("missing/folder/a.jpg"), 100, &error));
        expectSaveFailedMessage(error);
    }
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{"keep.jpg", "taken.jpg"}));
}
