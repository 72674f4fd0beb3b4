// The notice step inside a run: the picture replaces the copy, or goes beside
// the source as "-cop.jpg"; the block always ends the output-folder file.
#include "stamping/runstamping.h"

#include "base/programfolder.h"
#include "base/temporaryoutput.h"
#include "fakeinputs.h"
#include "imaging/notice.h"
#include "stamping/copyrightblock.h"
#include "stamping/testerbitmap.h"
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
    const QByteArray block = CopyrightBlockBytes(text);
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
              source + CopyrightBlockBytes(inputs.text.toLatin1()));
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
    StampingReport report = RunStamping(inputs, progress, {1, WriteTesterBitmap});
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
