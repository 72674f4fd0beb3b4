// stampora-cli under tight limits of the process: few open files and little
// address space. The number of threads (--jobs) must not change which files are
// stamped nor what their outputs hold.
#include "support/testsupport.h"

#include "support/clirunner.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// `count` JPEG names under "src/", written from `picture(i)`.
QStringList writeSources(const TempFolder& temp, int count,
                         const std::function<QByteArray(int)>& picture) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("src/bild%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        temp.write(name, picture(i));
        names.append(name);
    }
    return names;
}

QStringList stampArguments(const QString& output, const QString& jobs, const QStringList& names) {
    return QStringList{"--output", output,    "--text", "(c) Grenzen",
                       "--notice", "Hinweis", "--jobs", jobs} +
           names;
}

// The run into `output` went well and wrote what the single thread wrote into
// "eins", and the sources are as they were.
void expectAsOneJob(const TempFolder& temp, const CliRun& run, const QString& output, int files,
                    const QMap<QByteArray, QByteArray>& sources) {
    ASSERT_EQ(run.exitCode, 0) << run.err.left(1000).toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.left(1000).toStdString();
    const auto expected = hashFiles(temp.file("eins"));
    EXPECT_EQ(expected.size(), files);
    EXPECT_TRUE(hashFiles(temp.file(output)) == expected);
    EXPECT_TRUE(hashFiles(temp.file("src")) == sources);
}

} // namespace

// More threads than open files allow, under a limit the program cannot raise:
// every file is stamped, as one thread stamps it.
TEST(RunLimits, ThousandJobsUnderSixtyFourOpenFilesStampEveryFileAsOneJobDoes) {
    TempFolder temp;
    const QStringList names =
        writeSources(temp, 300, [](int i) { return smallJpeg(64 + i % 7, 48, i); });
    const auto sources = hashFiles(temp.file("src"));

    const CliRun one = runCliStamp(stampArguments("eins", "1", names), temp.path());
    ASSERT_EQ(one.exitCode, 0) << one.err.left(1000).toStdString();
    const CliRun many =
        runStampLimited(stampArguments("viele", "1024", names), temp.path(), RLIMIT_NOFILE, 64);
    expectAsOneJob(temp, many, "viele", int(names.size()), sources);
}

// Eight threads under an address space that holds the pictures of a few at a
// time: the others wait for memory instead of failing, and every output is
// the one a single thread writes.
TEST(RunLimits, EightJobsUnderAnAddressSpaceLimitStampWhatOneJobStamps) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizers reserve terabytes of address space: no limit fits them";
#endif
    TempFolder temp;
    const QByteArray picture = encodedPicture(detailedPicture(3000, 2000), "JPEG", 95);
    const QStringList names = writeSources(temp, 8, [&](int) { return picture; });
    const auto sources = hashFiles(temp.file("src"));
    // a limit that eight pictures of 6 megapixels in flight at once exceed
    const quint64 limit = quint64(512) << 20;

    const CliRun one =
        runStampLimited(stampArguments("eins", "1", names), temp.path(), RLIMIT_AS, limit);
    ASSERT_EQ(one.exitCode, 0) << one.err.left(1000).toStdString();
    const CliRun eight =
        runStampLimited(stampArguments("acht", "8", names), temp.path(), RLIMIT_AS, limit);
    expectAsOneJob(temp, eight, "acht", int(names.size()), sources);
}
