// Nothing of the user's is lost through "stampora-cli stamp": "-cop.jpg"
// names that are already taken, files named like temporaries, a temporary
// of a run that still writes, and permissions of the outputs. Sources are
// hashed before and after every run.
#include "core/base/filename.h"
#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kText = "(C) 2002 Sicher";

QStringList copArguments(const QStringList& files) {
    return QStringList{"--output",   "out",
                       "--text",     QString::fromLatin1(kText),
                       "--notice",   "Copyright (C) 2002",
                       "--cop-name", "--json",
                       "--jobs",     "2",
                       "--"} +
           files;
}

} // namespace

TEST(DataSafety, CopNameThatIsTakenIsNeverReplaced) {
    TempFolder temp;
    const QByteArray a = smallJpeg(40, 30, 1);
    const QByteArray listed = smallJpeg(40, 30, 2);   // a source named like a's picture
    const QByteArray unlisted = smallJpeg(40, 30, 3); // b's picture name, not in the list
    temp.write("src/a.jpg", a);
    temp.write("src/a-cop.jpg", listed);
    temp.write("src/b.jpg", smallJpeg(40, 30, 4));
    temp.write("src/b-cop.jpg", unlisted);
    // two sources of one picture name: the later one wins, as in the output folder
    temp.write("src/C.jpg", smallJpeg(40, 30, 5));
    temp.write("src/c.jpg", smallJpeg(40, 30, 6));
    const auto before = hashFiles(temp.file("src"));

    const CliRun run = runCliStamp(
        copArguments({"src/a.jpg", "src/a-cop.jpg", "src/b.jpg", "src/C.jpg", "src/c.jpg"}),
        temp.path());
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    auto after = hashFiles(temp.file("src"));
    // the sources as they were; the only new file is c's picture
    ASSERT_TRUE(after.contains("c-cop.jpg"));
    after.remove("c-cop.jpg");
    after.remove("a-cop-cop.jpg");
    EXPECT_EQ(after, before);
    EXPECT_EQ(readAll(temp.file("src/a-cop.jpg")), listed);
    EXPECT_EQ(readAll(temp.file("src/b-cop.jpg")), unlisted);
    // the copies in the output folder are of the original bytes
    EXPECT_TRUE(readAll(temp.file("out/a-cop.jpg")).startsWith(listed));
    EXPECT_TRUE(readAll(temp.file("out/a.jpg")).startsWith(a));
    for (const char* name : {"out/a.jpg", "out/a-cop.jpg", "out/b.jpg", "out/c.jpg"})
        EXPECT_EQ(checkStamped(temp.file(name), kText, false), QString()) << name;

    const QString reason = QStringLiteral("gibt es schon; sie wird nicht ersetzt");
    const QList<QByteArray> objects = run.out.split('}');
    ASSERT_GE(objects.size(), 5);
    for (int i : {0, 2}) // a and b are reported, with the picture's name
        EXPECT_TRUE(QString::fromUtf8(objects[i]).contains(reason)) << objects[i].toStdString();
    for (int i : {1, 3, 4})
        EXPECT_TRUE(objects[i].contains("\"ok\":true")) << objects[i].toStdString();
    EXPECT_EQ(QImage(temp.file("src/c-cop.jpg")).size(), QSize(40, 50));
}

TEST(DataSafety, OnlyTemporariesProvablyLeftByEndedRunsAreRemoved) {
    TempFolder temp;
    temp.write("src/a.jpg", smallJpeg(40, 30, 1));
    const QString stale = ".stampora-tmp-4194305-0123456789abcdef"; // a killed run's
    const QString live = ".stampora-tmp-4194306-fedcba9876543210";  // a run elsewhere, writing
    const QStringList users{".stampora-tmp-notizen.txt", ".stampora-tmp-4194305-0123",
                            ".stampora-tmp-4194305-0123456789ABCDEF",
                            ".stampora-tmp-4194305-0123456789abcdef.jpg"};
    for (const char* folder : {"out/", "src/"}) {
        temp.write(folder + stale, "halb");
        temp.write(folder + live, "wird noch geschrieben");
        for (const QString& name : users)
            temp.write(folder + name, "gehört dem Benutzer");
    }
    // the writer in another PID namespace or on another host: its process id
    // means nothing here, only its lock tells that it lives
    QList<int> locks;
    for (const char* folder : {"out/", "src/"}) {
        const int fd = ::open(QFile::encodeName(temp.file(folder + live)).constData(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        locks << fd;
    }
    auto before = hashFiles(temp.file("src"));
    before.remove(stale.toUtf8());

    const CliRun run = runCliStamp(copArguments({"src/a.jpg"}), temp.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    for (const int fd : locks)
        ::close(fd);
    for (const char* folder : {"out", "src"}) {
        SCOPED_TRACE(folder);
        EXPECT_FALSE(QFile::exists(temp.file(folder + ('/' + stale))));
        EXPECT_EQ(readAll(temp.file(folder + ('/' + live))), "wird noch geschrieben");
        for (const QString& name : users)
            EXPECT_TRUE(QFile::exists(temp.file(folder + ('/' + name)))) << name.toStdString();
    }
    auto after = hashFiles(temp.file("src"));
    after.remove("a-cop.jpg");
    EXPECT_EQ(after, before);
    EXPECT_EQ(checkStamped(temp.file("out/a.jpg"), kText, false), QString());
}

TEST(DataSafety, OutputsAreNeverMoreReadableThanTheirSource) {
    TempFolder temp;
    struct Case {
        const char* name;
        mode_t source;
        mode_t umask;
        mode_t output;
    };
    const Case cases[] = {
        {"privat.jpg", 0600, 022, 0600},   // an earlier output of 0644 is replaced by 0600
        {"gruppe.jpg", 0640, 022, 0640},   //
        {"offen.jpg", 0666, 027, 0640},    // the umask still applies
        {"nurlesen.jpg", 0444, 022, 0444}, // read-only stays read-only
    };
    QStringList files;
    for (const Case& c : cases) {
        const QString path = temp.write(QStringLiteral("src/") + c.name, smallJpeg(20, 20, 1));
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), c.source), 0);
        files << QStringLiteral("src/") + c.name;
    }
    temp.write("out/privat.jpg", "earlier output, 0644");
    ::chmod(QFile::encodeName(temp.file("out/privat.jpg")).constData(), 0644);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = hashFiles(temp.file("src"));
        const mode_t saved = ::umask(c.umask);
        const CliRun run =
            runCliStamp(copArguments({QStringLiteral("src/") + c.name}), temp.path());
        ::umask(saved);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        auto after = hashFiles(temp.file("src"));
        const QString cop = temp.file(QStringLiteral("src/") + c.name).replace(".jpg", "-cop.jpg");
        after.remove(QFileInfo(cop).fileName().toUtf8());
        EXPECT_EQ(after, before);
        for (const QString& output : {temp.file(QStringLiteral("out/") + c.name), cop}) {
            struct stat info {};
            ASSERT_EQ(::stat(QFile::encodeName(output).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, c.output) << output.toStdString();
        }
        QFile::remove(cop); // the next run would not replace it
    }
}
