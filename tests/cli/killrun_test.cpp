// Runs killed at random moments (SIGKILL, seeded): every file under its final
// name is complete, the sources stay unchanged, and the temporary files a
// killed run leaves are removed by the next run into that folder.
#include "clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
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
    const QStringList temporaries = TemporariesIn(folder);
    for (const QString& name : names) {
        if (temporaries.contains(name))
            continue;
        EXPECT_EQ(CheckStamped(folder + '/' + name, kText, true), QString()) << name.toStdString();
    }
}

} // namespace

TEST(KilledRun, OutputsAreWholeOrAbsentAndTheNextRunCleansUp) {
    TempFolder temp;
    QStringList arguments{
        "--output",           "out",    "--text", QString::fromLatin1(kText), "--notice",
        "Copyright (C) 2002", "--jobs", "2"};
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("src/bild%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        temp.write(name, SmallJpeg(120 + i, 90, i));
        arguments << name;
    }
    const auto sources = HashFiles(temp.file("src"));

    // a whole run, to learn how long one takes here (sanitizers make it slower)
    QElapsedTimer clock;
    clock.start();
    CliRun whole = RunStamp(arguments, temp.path());
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    const qint64 wholeMs = std::max<qint64>(clock.elapsed(), 50);
    QDir(temp.file("out")).removeRecursively();

    std::mt19937 random(20020601);
    std::uniform_int_distribution<qint64> when(0, wholeMs);
    int leftBehind = 0;
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        QProcess process;
        StartStamp(process, arguments, temp.path());
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(when(random)));
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished();
        expectOnlyCompleteOutputs(temp.file("out"));
        EXPECT_EQ(HashFiles(temp.file("src")), sources);
        leftBehind += TemporariesIn(temp.file("out")).size();
    }

    // a stale temporary of a process long gone, whatever the kills left
    temp.write("out/.stampora-tmp-999999999-00000000000000ff", "halb");
    whole = RunStamp(arguments, temp.path());
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_TRUE(TemporariesIn(temp.file("out")).isEmpty());
    EXPECT_EQ(QDir(temp.file("out")).entryList(QDir::Files | QDir::Hidden).size(), 40);
    expectOnlyCompleteOutputs(temp.file("out"));
    EXPECT_EQ(HashFiles(temp.file("src")), sources);
    RecordProperty("temporaries_left_by_kills", leftBehind);
}
