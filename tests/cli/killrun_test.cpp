// Runs killed at random moments (SIGKILL, seeded), and one killed while it
// surely writes a file: every file under its final name is complete, the
// sources stay unchanged, and the temporary files a killed run leaves are
// removed by the next run into that folder.
#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <signal.h>

namespace {

const QByteArray kText = "(C) 2002 Kill";

// Every file of `folder` under its final name is a complete stamped picture.
void expectOnlyCompleteOutputs(const QString& folder) {
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    const QStringList temporaries = temporaryNamesIn(folder);
    for (const QString& name : names) {
        if (temporaries.contains(name))
            continue;
        EXPECT_EQ(checkStamped(folder + '/' + name, kText, true), QString()) << name.toStdString();
    }
}

} // namespace

TEST(KilledRun, OutputsAreWholeOrAbsentAndTheNextRunCleansUp) {
    TempFolder temp;
    const QStringList options{
        "--output",           "out",    "--text", QString::fromLatin1(kText), "--notice",
        "Copyright (C) 2002", "--jobs", "2"};
    QStringList arguments = options;
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("src/bild%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        temp.write(name, smallJpeg(120 + i, 90, i));
        arguments << name;
    }
    const auto sources = hashFiles(temp.file("src"));
    // A kill counts as landed while a file was written when it leaves a
    // temporary of its process behind (a killed process removes nothing).
    int killsWhileWriting = 0;
    const auto killNow = [&](QProcess& process) {
        const qint64 pid = process.processId();
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        process.waitForFinished(60000);
        if (!temporariesOf(temp.file("out"), pid).isEmpty())
            ++killsWhileWriting;
    };

    // a whole run, to learn how long one takes here (sanitizers make it slower)
    QElapsedTimer clock;
    clock.start();
    CliRun whole = runCliStamp(arguments, temp.path());
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    const qint64 wholeMs = std::max<qint64>(clock.elapsed(), 50);
    QDir(temp.file("out")).removeRecursively();

    std::mt19937 random(20020601);
    std::uniform_int_distribution<qint64> when(0, wholeMs);
    int leftBehind = 0;
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        QProcess process;
        startStamp(process, arguments, temp.path());
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(when(random)));
        killNow(process);
        expectOnlyCompleteOutputs(temp.file("out"));
        EXPECT_EQ(hashFiles(temp.file("src")), sources);
        leftBehind += temporaryNamesIn(temp.file("out")).size();
    }

    // Random moments may all miss the writing of a file: one run more, killed
    // once it is seen writing. It copies a large file that is no picture, whose
    // temporary lives long; a kill that still comes too late is tried again.
    const QString large = temp.file("gross/gross.bin");
    ASSERT_TRUE(writeLargeNonPicture(large, 256));
    const auto largeSource = hashFiles(temp.file("gross"));
    const QStringList largeArguments = options + QStringList{"gross/gross.bin"};
    const int killsBefore = killsWhileWriting;
    for (int attempt = 0; attempt < 3 && killsWhileWriting == killsBefore; ++attempt) {
        SCOPED_TRACE(attempt);
        QProcess process;
        startStamp(process, largeArguments, temp.path());
        ASSERT_TRUE(process.waitForStarted());
        ASSERT_TRUE(waitForTemporaryOf(process, temp.file("out"), 120000))
            << "the run wrote no file";
        killNow(process);
        if (killsWhileWriting == killsBefore) { // too late: the copy is whole, and goes
            EXPECT_EQ(checkStamped(temp.file("out/gross.bin"), kText, false), QString());
            QFile::remove(temp.file("out/gross.bin"));
        }
        EXPECT_FALSE(QFileInfo::exists(temp.file("out/gross.bin")));
        expectOnlyCompleteOutputs(temp.file("out"));
    }
    EXPECT_EQ(hashFiles(temp.file("gross")), largeSource);
    ASSERT_GT(killsWhileWriting, 0) << "no kill landed while a file was being written";
    leftBehind += temporaryNamesIn(temp.file("out")).size();

    // a stale temporary of a process long gone, whatever the kills left
    temp.write("out/.stampora-tmp-999999999-00000000000000ff", "halb");
    whole = runCliStamp(arguments, temp.path());
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_TRUE(temporaryNamesIn(temp.file("out")).isEmpty());
    EXPECT_EQ(QDir(temp.file("out")).entryList(QDir::Files | QDir::Hidden).size(), 40);
    expectOnlyCompleteOutputs(temp.file("out"));
    EXPECT_EQ(hashFiles(temp.file("src")), sources);
    RecordProperty("temporaries_left_by_kills", leftBehind);
    RecordProperty("kills_while_writing", killsWhileWriting);
}
