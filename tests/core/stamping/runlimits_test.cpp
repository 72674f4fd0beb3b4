// The windows' run with more files at once than open files allow: the run
// holds back, and every file is stamped as one file after the other is.
#include "core/base/programfolder.h"
#include "core/stamping/runstamping.h"
#include "core/stamping/stampingrun.h"
#include "support/fakeinputs.h"
#include "support/testsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QMap>
#include <QTimer>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

int openDescriptors() {
    DIR* dir = ::opendir("/proc/self/fd");
    int count = -1; // the folder's own
    while (dir && ::readdir(dir))
        ++count;
    if (dir)
        ::closedir(dir);
    return count - 2; // "." and ".."
}

// Every file of `folder` (no subfolders) with its bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, readAll(folder + "/" + name));
    return files;
}

// Lowers the soft limit of open files for the test's life, then puts it back.
class OpenFileLimit {
public:
    explicit OpenFileLimit(rlim_t soft) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        const struct rlimit lowered { soft, saved_.rlim_max };
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~OpenFileLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

private:
    struct rlimit saved_ {};
};

} // namespace

TEST(StampingRun, AThousandFilesAtOnceUnderFewOpenFilesStampEveryFile) {
    TempFolder temp;
    FakeInputs inputs;
    inputs.noticeChoice = {true, "(C) Hinweis", true, false};
    QDir().mkpath(temp.file("src"));
    for (int i = 0; i < 120; ++i) {
        QImage picture(30 + i % 9, 20, QImage::Format_RGB32);
        picture.fill(QColor(2 * i, 90, 160));
        const QString path = temp.file(QString("src/%1.png").arg(i));
        ASSERT_TRUE(picture.save(path));
        inputs.rows.push_back({path});
    }
    const auto sources = contents(temp.file("src"));
    inputs.folder = temp.file("eins");
    ProgressRecorder serial;
    const StampingReport expected = RunStamping(inputs, serial);
    ASSERT_EQ(expected.failedCount(), 0);

    setProgramFolder(temp.file("program"));
    QDir().mkpath(temp.file("program"));
    inputs.folder = temp.file("viele");
    ProgressRecorder pooled;
    {
        const OpenFileLimit limit(rlim_t(openDescriptors() + 48));
        StampingRun run(inputs, pooled, 1024, true);
        QEventLoop loop;
        QObject::connect(&run, &StampingRun::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        run.start();
        loop.exec();
        ASSERT_FALSE(run.isRunning());
        EXPECT_EQ(run.report().failedCount(), 0);
        EXPECT_TRUE(run.report().composedPictureError.isEmpty());
    }
    setProgramFolder({});
    EXPECT_EQ(pooled.counters, serial.counters);
    EXPECT_TRUE(contents(temp.file("viele")) == contents(temp.file("eins")));
    EXPECT_TRUE(contents(temp.file("src")) == sources);
}
