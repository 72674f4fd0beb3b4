// A run ended by SIGTERM or SIGINT while it writes: its temporaries go at once,
// it ends with 128 + the signal's number, and every output and source is whole.
#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

#include <signal.h>

namespace {

const QByteArray kText = "(C) 2002 Stop";

struct StopCase {
    const char* name;
    int signalNumber;
    int exitCode;
    bool copName; // the "-cop.jpg" pictures' temporaries lie in the source folder
};

void PrintTo(const StopCase& c, std::ostream* out) {
    *out << c.name;
}

class StoppedRun : public testing::TestWithParam<StopCase> {};

} // namespace

TEST_P(StoppedRun, RemovesItsTemporariesAndExitsWithTheSignalsCode) {
    const StopCase& c = GetParam();
    TempFolder temp;
    QStringList arguments{"--output", "out",  "--text", QString::fromLatin1(kText),
                          "--notice", "Stop", "--jobs", "2"};
    if (c.copName)
        arguments << "--cop-name";
    // First a large file that is no picture: its copy keeps a temporary in the
    // output folder for long enough to be seen however fast the machine is.
    ASSERT_TRUE(writeLargeNonPicture(temp.file("src/gross.jpg"), 256));
    arguments << "src/gross.jpg";
    for (int i = 0; i < 30; ++i) {
        const QString name = QStringLiteral("src/bild%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        temp.write(name, smallJpeg(900 + i, 700, i));
        arguments << name;
    }
    const auto before = hashFiles(temp.file("src"));

    QProcess process;
    startStamp(process, arguments, temp.path());
    ASSERT_TRUE(process.waitForStarted());
    ASSERT_TRUE(waitForTemporaryOf(process, temp.file("out"), 60000))
        << "no file was being written";
    ::kill(static_cast<pid_t>(process.processId()), c.signalNumber);
    ASSERT_TRUE(process.waitForFinished(60000));

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), c.exitCode);
    EXPECT_EQ(temporaryNamesIn(temp.file("out")), QStringList());
    EXPECT_EQ(temporaryNamesIn(temp.file("src")), QStringList());
    EXPECT_EQ(incompleteOutputsIn(temp.file("out"), kText), QStringList());
    auto after = hashFiles(temp.file("src"));
    after.removeIf([](QMap<QByteArray, QByteArray>::iterator entry) {
        return entry.key().endsWith("-cop.jpg");
    });
    EXPECT_EQ(after, before);
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedRun,
                         testing::Values(StopCase{"Term", SIGTERM, 143, false},
                                         StopCase{"Interrupt", SIGINT, 130, true}),
                         [](const auto& info) { return std::string(info.param.name); });
