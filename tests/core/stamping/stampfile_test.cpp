#include "core/stamping/stampfile.h"

#include "core/base/temporaryoutput.h"
#include "core/stamping/copyrightblock.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QByteArray kText = "(C) Test";

StampRequest requestFor(const QString& source, const QString& outputFolder) {
    return {source, outputFolder + "/", kText, {}, {}};
}

QStringList temporariesIn(const QString& folder) {
    return QDir(folder).entryList({QString(kTemporaryPrefix) + "*"}, QDir::Files | QDir::Hidden);
}

} // namespace

TEST(StampFile, RestampingKeepsTheOldBlockInFrontOfTheNewOne) {
    TempFolder temp;
    const QString source = temp.write("src/a.jpg", smallJpeg(8, 8, 1));
    QDir().mkpath(temp.file("first"));
    QDir().mkpath(temp.file("second"));
    ASSERT_TRUE(stampFile(requestFor(source, temp.file("first"))).ok);
    const QByteArray once = readAll(temp.file("first/a.jpg"));
    StampRequest again = requestFor(temp.file("first/a.jpg"), temp.file("second"));
    again.text = "(C) Neu";
    ASSERT_TRUE(stampFile(again).ok);
    const QByteArray twice = readAll(temp.file("second/a.jpg"));
    EXPECT_EQ(twice, once + copyrightBlockBytes("(C) Neu")); // the first output is kept whole
    const CopyrightScan scan = ReadCopyrightBlocks(temp.file("second/a.jpg"));
    ASSERT_EQ(scan.size(), 2u);
    EXPECT_EQ(scan.firstLineBytes(0).left(kText.size()), kText);
    EXPECT_EQ(scan.textBytes(1), "(C) Neu");
}

TEST(StampFile, FailureLeavesTheEarlierOutputAndNoTemporary) {
    TempFolder temp;
    const QString earlier = temp.write("out/a.jpg", "earlier output");
    QDir().mkpath(temp.file("out/dir.jpg")); // a folder where the output would go
    const QString blocked = temp.write("src/dir.jpg", "picture");

    const FileOutcome vanished = stampFile(requestFor(temp.file("src/a.jpg"), temp.file("out")));
    EXPECT_FALSE(vanished.ok);
    EXPECT_EQ(readAll(earlier), "earlier output");

    const FileOutcome renameFails = stampFile(requestFor(blocked, temp.file("out")));
    EXPECT_FALSE(renameFails.ok);
    EXPECT_TRUE(renameFails.error.contains("Ordner")) << renameFails.error.toStdString();
    EXPECT_EQ(readAll(blocked), "picture");
    EXPECT_TRUE(temporariesIn(temp.file("out")).isEmpty());
}

TEST(StampFile, SourcesThatAreNotPlainFilesAreReportedWithoutWaiting) {
    TempFolder temp;
    const QString fifo = temp.file("src/pipe.jpg");
    QDir().mkpath(temp.file("src"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& source : {fifo, temp.file("src"), temp.file("src/")}) {
        const FileOutcome outcome = stampFile(requestFor(source, temp.file("out")));
        EXPECT_FALSE(outcome.ok) << source.toStdString();
        EXPECT_FALSE(outcome.error.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(temp.file("out/pipe.jpg")));
}

TEST(StampFile, SourceReachedThroughALinkIntoTheOutputFolderIsSkipped) {
    TempFolder temp;
    const QString real = temp.write("out/a.jpg", "source");
    QDir().mkpath(temp.file("src"));
    ASSERT_TRUE(QFile::link(real, temp.file("src/a.jpg")));
    ASSERT_TRUE(QFile::link(temp.file("out"), temp.file("alias")));
    for (const QString& source : {temp.file("src/a.jpg"), temp.file("alias/a.jpg")}) {
        const FileOutcome outcome = stampFile(requestFor(source, temp.file("out")));
        EXPECT_FALSE(outcome.ok) << source.toStdString();
        EXPECT_TRUE(outcome.error.contains("Ausgabeordner"));
    }
    EXPECT_EQ(readAll(real), "source");
}

TEST(StampFile, OutputIsReadableLikeAnOrdinaryCopy) {
    TempFolder temp;
    const QString source = temp.write("src/a.png", QByteArray(300000, 'x'));
    QDir().mkpath(temp.file("out"));
    const FileOutcome outcome = stampFile(requestFor(source, temp.file("out")));
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.output, temp.file("out/a.png"));
    EXPECT_EQ(readAll(outcome.output), QByteArray(300000, 'x') + copyrightBlockBytes(kText));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(outcome.output).constData(), &info), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}
