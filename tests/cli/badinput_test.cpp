// Bad input through "stampora-cli stamp": every bad file is reported on one
// line with a German reason, the others are stamped, nothing crashes or hangs,
// and no source file changes.
#include "core/base/filename.h"
#include "core/stamping/windows1252.h"
#include "support/badinputs.h"
#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const QByteArray kText = "(C) 2002 Bad Input";

} // namespace

TEST(BadInput, EachBadFileIsReportedAndTheOthersAreStamped) {
    TempFolder temp;
    const QByteArray jpeg = smallJpeg(48, 32, 1);
    const std::vector<BadInput> cases = badInputTable(jpeg);
    QStringList arguments{
        "--output", "out", "--text", QString::fromLatin1(kText), "--notice", "Copyright (C) 2002",
        "--jobs",   "2",   "--"};
    for (const BadInput& c : cases) {
        const QString path = QStringLiteral("src/") + fileNameFromBytes(c.name);
        if (c.folder)
            QDir(temp.path()).mkpath(path);
        else if (!c.contents.isNull())
            temp.write(path, c.contents);
        arguments << path;
    }
    const auto sourcesBefore = hashFiles(temp.file("src"));

    const CliRun run = runCliStamp(arguments, temp.path());
    ASSERT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(hashFiles(temp.file("src")), sourcesBefore) << "a source file changed";
    EXPECT_TRUE(temporaryNamesIn(temp.file("out")).isEmpty());

    // every line on standard error is one of the command's, naming a source:
    // nothing from the libraries (libpng has its say on broken PNGs)
    const QStringList lines = QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        EXPECT_TRUE(line.startsWith(QStringLiteral("stampora-cli: src/"))) << line.toStdString();
    int failures = 0;
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = fileNameFromBytes(c.name);
        const QString output = temp.file("out/" + name);
        // the line names the file with its control characters made visible
        QString shown = QStringLiteral("stampora-cli: src/") + displayFileName(name);
        shown.replace(QLatin1Char('\n'), QChar(0x240A));
        QStringList mine;
        for (const QString& line : lines)
            if (line.startsWith(shown + QStringLiteral(": ")))
                mine << line;
        if (c.expect == Expect::Stamped) {
            EXPECT_TRUE(mine.isEmpty()) << mine.join('\n').toStdString();
            EXPECT_EQ(checkStamped(output, kText, true), QString());
            continue;
        }
        ++failures;
        ASSERT_EQ(mine.size(), 1) << run.err.toStdString();
        EXPECT_TRUE(mine[0].contains(QString::fromUtf8(c.reason))) << mine[0].toStdString();
        if (c.expect == Expect::NoticeMissing)
            EXPECT_EQ(checkStamped(output, kText, false), QString());
        else
            EXPECT_FALSE(QFileInfo(output).isFile());
    }
    EXPECT_EQ(lines.size(), failures) << run.err.toStdString();
}

TEST(BadInput, LongCopyrightTextAndLongNotice) {
    TempFolder temp;
    temp.write("src/bild.jpg", smallJpeg(60, 20, 2));
    QString text;
    for (int i = 0; text.size() < 70000; ++i)
        text += QStringLiteral("Zeile %1 äöü ").arg(i);
    text.truncate(70000);
    const QString notice(10000, QLatin1Char('N'));
    const CliRun run = runCliStamp(
        {"--output", "out", "--text", text, "--notice", notice, "src/bild.jpg"}, temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // the reader does not rely on the 16-bit length field: the whole text comes back
    EXPECT_EQ(checkStamped(temp.file("out/bild.jpg"), encodeWindows1252(text), true), QString());
}

TEST(BadInput, OutputPathThatIsASymbolicLinkIsReplacedNotFollowed) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    temp.write("elsewhere/victim", "keep me");
    QDir(temp.path()).mkpath("out");
    ASSERT_EQ(::symlink("../elsewhere/victim", QFile::encodeName(temp.file("out/a.jpg"))), 0);
    const CliRun run =
        runCliStamp({"--output", "out", "--text", "T", "--no-notice", "src/a.jpg"}, temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readAll(temp.file("elsewhere/victim")), "keep me");
    EXPECT_FALSE(QFileInfo(temp.file("out/a.jpg")).isSymLink());
    EXPECT_EQ(checkStamped(temp.file("out/a.jpg"), "T", false), QString());
}

TEST(BadInput, OutputFolderThatCannotBeUsedStopsBeforeTheFirstFile) {
    const struct {
        const char* output;
        const char* message;
    } cases[] = {
        {"src/a.jpg/out", "Der Ausgabeordner „src/a.jpg/out/“ konnte nicht angelegt werden: Ein "
                          "Teil des Pfades ist kein Ordner."},
        {"src/a.jpg", "Der Ausgabeordner „src/a.jpg“ ist eine Datei, kein Ordner."},
        {"src/a.jpg/", "Der Ausgabeordner „src/a.jpg“ ist eine Datei, kein Ordner."},
        {"   ", "Der Ausgabeordner „   “ besteht nur aus Leerzeichen; ein solcher Name ist "
                "kein Ordner."},
        {"", "Bitte geben Sie einen Ausgabeordner an."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        TempFolder temp;
        temp.write("src/a.jpg", "AAA");
        const auto before = hashFiles(temp.path());
        const CliRun run =
            runCliStamp({"--output", c.output, "--text", "T", "src/a.jpg"}, temp.path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, QByteArray("stampora-cli: ") + c.message + '\n');
        EXPECT_EQ(hashFiles(temp.path()), before);
        EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"src"});
    }
}

// A "-cop.jpg" name one byte too long for the file system: nothing to
// replace there, so the reason says that the picture could not be made.
TEST(BadInput, NewFileThatCannotBeMadeIsNotCalledReplaced) {
    TempFolder temp;
    const QString name = QString(247, 'n') + ".png"; // 251 bytes; with "-cop.jpg" 259
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    temp.write("src/" + name, png);
    const auto before = hashFiles(temp.file("src"));
    const CliRun run = runCliStamp(
        {"--output", "out", "--text", "T", "--notice", "N", "--cop-name", "src/" + name},
        temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("konnte nicht angelegt werden: Der Name ist zu lang"))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("ersetzt")) << run.err.toStdString();
    EXPECT_EQ(hashFiles(temp.file("src")), before);
    EXPECT_EQ(temporaryNamesIn(temp.file("src")), QStringList());
    EXPECT_EQ(checkStamped(temp.file("out/") + name, "T", true), QString());
}
