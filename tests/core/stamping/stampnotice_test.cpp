// The notice step inside a run: the picture replaces the copy, or goes beside
// the source as "-cop.jpg"; the block always ends the output-folder file.
#include "core/stamping/runstamping.h"

#include "core/base/programfolder.h"
#include "core/base/temporaryoutput.h"
#include "core/imaging/notice.h"
#include "core/imaging/picturemetadata.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/testerbitmap.h"
#include "support/fakeinputs.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray pngBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(30, 60, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The bytes in front of the file's only block, checked to be a JPEG of the size.
void expectJpegWithOneBlock(const QString& path, QSize size, const QByteArray& text) {
    const QByteArray bytes = readAll(path);
    const QByteArray block = copyrightBlockBytes(text);
    ASSERT_TRUE(bytes.endsWith(block)) << path.toStdString();
    const QByteArray picture = bytes.left(bytes.size() - block.size());
    EXPECT_TRUE(picture.startsWith("\xFF\xD8"));
    EXPECT_EQ(QImage::fromData(picture, "JPEG").size(), size);
    const CopyrightScan scan = ReadCopyrightBlocks(path);
    ASSERT_EQ(scan.size(), 1u);
    EXPECT_EQ(scan.textBytes(0), text);
}

FakeInputs noticeJob(const TempFolder& temp, bool copName) {
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.noticeChoice = {true, "(C) Sichtbar", true, copName};
    inputs.rows = {{temp.write("src/Bild.PNG", pngBytes(200, 100))}};
    return inputs;
}

// A 4:2:0 photo at quality 80 with a comment and an upright EXIF, as cameras write it.
QByteArray cameraJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x ^ y) % 256));
    return withSegments(encodedPicture(image, "JPEG", 80),
                        exifWithOrientation(1, false) + jpegSegment("fffe", "Ein Kommentar"));
}

// The luma sampling factors of a JPEG's frame header, as "2x2".
QString lumaSampling(const QByteArray& jpeg) {
    for (const JpegHeaderSegment& segment : jpegHeaderSegments(jpeg))
        if ((segment.marker == 0xC0 || segment.marker == 0xC1 || segment.marker == 0xC2) &&
            segment.body.size() > 7) {
            const quint8 factors = quint8(segment.body[7]); // behind the first component's id
            return QStringLiteral("%1x%2").arg(factors >> 4).arg(factors & 0x0F);
        }
    return {};
}

QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

TEST(StampNotice, OverwriteModeReplacesTheCopyWithTheJpeg) {
    TempFolder temp;
    FakeInputs inputs = noticeJob(temp, false);
    const QByteArray source = readAll(inputs.rows[0].path);
    for (const int threads : {1, 2}) {
        ProgressRecorder progress;
        const StampingReport report = RunStamping(inputs, progress, {threads, {}});
        ASSERT_EQ(report.failedCount(), 0) << report.files[0].error.toStdString();
        expectJpegWithOneBlock(temp.file("out/Bild.PNG"), {200, 120}, inputs.text.toLatin1());
    }
    EXPECT_EQ(readAll(inputs.rows[0].path), source);
    EXPECT_EQ(namesIn(temp.file("src")), QStringList{"Bild.PNG"});
}

TEST(StampNotice, CopNamingKeepsAnExactCopyAndWritesThePictureBesideTheSource) {
    TempFolder temp;
    FakeInputs inputs = noticeJob(temp, true);
    const QByteArray source = readAll(inputs.rows[0].path);
    ProgressRecorder progress;
    const StampingReport report = RunStamping(inputs, progress);
    ASSERT_EQ(report.failedCount(), 0) << report.files[0].error.toStdString();
    EXPECT_EQ(readAll(temp.file("out/Bild.PNG")),
              source + copyrightBlockBytes(inputs.text.toLatin1()));
    EXPECT_EQ(namesIn(temp.file("src")), (QStringList{"Bild.PNG", "bild.png-cop.jpg"}));
    const QImage picture(temp.file("src/bild.png-cop.jpg"), "JPEG");
    EXPECT_EQ(picture.size(), QSize(200, 120));
    EXPECT_EQ(readAll(inputs.rows[0].path), source);
}

TEST(StampNotice, TesterBitmapIsWrittenFirstAndItsFailureStopsThePicture) {
    TempFolder temp;
    setProgramFolder(temp.file("program"));
    QDir().mkpath(temp.file("program"));
    FakeInputs inputs = noticeJob(temp, false);
    ProgressRecorder progress;
    StampingReport report = RunStamping(inputs, progress, {1, writeTesterBitmap});
    ASSERT_EQ(report.failedCount(), 0);
    const QByteArray bitmap = readAll(temp.file("program/tester.bmp"));
    ASSERT_GT(bitmap.size(), 30);
    EXPECT_TRUE(bitmap.startsWith("BM"));
    EXPECT_EQ(bitmap[28], 32); // bits per pixel
    EXPECT_EQ(QImage::fromData(bitmap, "BMP").size(), QSize(200, 120));
    const QByteArray earlier = readAll(temp.file("out/Bild.PNG"));

    const ComposedPictureWriter failing = [](const cDIBSection&, QString* error) {
        *error = "kein Platz";
        return false;
    };
    inputs.text = "Zweiter Lauf";
    report = RunStamping(inputs, progress, {1, failing});
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_FALSE(report.files[0].ok);
    EXPECT_TRUE(report.files[0].error.contains("kein Platz"));
    EXPECT_EQ(readAll(temp.file("out/Bild.PNG")), earlier); // nothing reached the output
    EXPECT_EQ(namesIn(temp.file("out")), QStringList{"Bild.PNG"});
    setProgramFolder({});
}

// Keeping the quality: a JPEG keeps its sampling and metadata as the
// quality-100 path would carry them, a PNG takes that path, and each output
// ends with its one block; the outcome says which path each picture took.
TEST(StampNotice, KeepQualityKeepsAJpegsSamplingAndMetadataAndLeavesAPngAtQuality100) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.folder = temp.file("out");
    inputs.noticeChoice = {true, "(C) Sichtbar", true, false};
    const QString jpeg = temp.write("src/foto.jpg", cameraJpeg(160, 100));
    inputs.rows = {{jpeg}, {temp.write("src/bild.png", pngBytes(200, 100))}};
    const QByteArray source = readAll(jpeg);
    const QByteArray text = inputs.text.toLatin1();

    ProgressRecorder progress;
    StampingReport report = RunStamping(inputs, progress, {1, {}});
    ASSERT_EQ(report.failedCount(), 0);
    EXPECT_EQ(report.files[0].noticePath, NoticePath::Quality100);
    const QByteArray quality100 = readAll(temp.file("out/foto.jpg"));

    inputs.keepQualityChoice = true;
    for (const int threads : {1, 2}) {
        report = RunStamping(inputs, progress, {threads, {}});
        ASSERT_EQ(report.failedCount(), 0) << report.files[0].error.toStdString();
        EXPECT_EQ(report.files[0].noticePath, NoticePath::KeepQuality);
        EXPECT_EQ(report.files[1].noticePath, NoticePath::Quality100);
        expectJpegWithOneBlock(temp.file("out/foto.jpg"), {160, 120}, text);
        expectJpegWithOneBlock(temp.file("out/bild.png"), {200, 120}, text);
    }
    const QByteArray kept = readAll(temp.file("out/foto.jpg"));
    EXPECT_EQ(lumaSampling(source), "2x2");
    EXPECT_EQ(lumaSampling(kept), "2x2");
    EXPECT_EQ(lumaSampling(quality100), "1x1");
    EXPECT_EQ(lumaSampling(readAll(temp.file("out/bild.png"))), "1x1");
    const PictureMetadata keptMetadata = readPictureMetadata(kept);
    const PictureMetadata reference = readPictureMetadata(quality100);
    EXPECT_FALSE(keptMetadata.exif.isEmpty());
    EXPECT_EQ(keptMetadata.exif, reference.exif);
    EXPECT_EQ(keptMetadata.comments, reference.comments);
    EXPECT_EQ(keptMetadata.comments, QList<QByteArray>{"Ein Kommentar"});
    EXPECT_LT(kept.size(), quality100.size());
    EXPECT_EQ(readAll(jpeg), source);

    // the windows' picture on the side is the stamped one
    setProgramFolder(temp.file("program"));
    QDir().mkpath(temp.file("program"));
    report = RunStamping(inputs, progress, {1, writeTesterBitmap});
    ASSERT_EQ(report.failedCount(), 0);
    EXPECT_EQ(report.files[0].noticePath, NoticePath::KeepQuality);
    EXPECT_EQ(QImage::fromData(readAll(temp.file("program/tester.bmp")), "BMP").size(),
              QSize(200, 120)); // the last file's
    setProgramFolder({});
}
