// Stamping into a full file system (a tmpfs of 1 MiB): the files that fit are
// complete, the others are reported, no partial file remains, exit code 1.
#include "core/stamping/copyrightblock.h"
#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(temp_.path()).mkpath("disk");
        disk_ = temp_.file("disk");
        if (::mount("tmpfs", QFile::encodeName(disk_).constData(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "a tmpfs cannot be mounted here (needs root): " << std::strerror(errno);
        mounted_ = true;
    }
    void TearDown() override {
        if (mounted_)
            ::umount2(QFile::encodeName(disk_).constData(), MNT_DETACH);
    }

    TempFolder temp_;
    QString disk_;
    bool mounted_ = false;
};

} // namespace

TEST_F(FullDisk, FilesThatFitAreCompleteTheOthersReported) {
    // 12 sources of 150 000 bytes: about six fit into 1 MiB
    QStringList arguments{"--output",    "disk/out", "--text", "(C) voll",
                          "--no-notice", "--jobs",   "2"};
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("src/datei%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        temp_.write(name, QByteArray(150000, char('a' + i)));
        arguments << name;
    }
    const auto sources = hashFiles(temp_.file("src"));
    const CliRun run = runCliStamp(arguments, temp_.path());
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(hashFiles(temp_.file("src")), sources);

    const QString out = temp_.file("disk/out");
    const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_TRUE(temporaryNamesIn(out).isEmpty()) << temporaryNamesIn(out).join(' ').toStdString();
    EXPECT_GT(written.size(), 0);
    EXPECT_LT(written.size(), 12);
    for (const QString& name : written) {
        EXPECT_EQ(checkStamped(out + '/' + name, "(C) voll", false), QString())
            << name.toStdString();
        EXPECT_EQ(QFileInfo(out + '/' + name).size(),
                  150000 + copyrightBlockBytes("(C) voll").size());
    }
    // every file not written is reported on a line of its own, naming it
    const QStringList lines = QString::fromLocal8Bit(run.err).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 12 - written.size()) << run.err.toStdString();
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("datei%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        if (!written.contains(name)) {
            EXPECT_EQ(lines.filter(QStringLiteral("src/") + name + QStringLiteral(": ")).size(), 1)
                << name.toStdString() << "\n"
                << run.err.toStdString();
        }
    }
}
