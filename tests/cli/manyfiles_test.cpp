// stampora-cli with many files: name lists (--files-from, --null) and folder
// trees kept in the output (--keep-folders), run as its own process.
#include "base/filename.h"
#include "stamping/copyrightblock.h"
#include "support/testsupport.h"

#include "clirunner.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray stamped(const QByteArray& source, const QByteArray& text) {
    return source + CopyrightBlockBytes(text);
}

QByteArray joined(const QList<QByteArray>& names, char end) {
    QByteArray list;
    for (const QByteArray& name : names)
        list += name + end;
    return list;
}

// A tree of tiny files under `root`, written straight through the file system:
// blanks in every name, line breaks in some folder and file names.
QList<QByteArray> writeTree(const QByteArray& root, int count) {
    QList<QByteArray> names;
    QSet<QByteArray> made;
    for (int i = 0; i < count; ++i) {
        const QByteArray folder = root + QByteArray("/Ordner ") + QByteArray::number(i % 40) +
                                  (i % 7 == 0 ? QByteArray("/neue\nZeile") : QByteArray("/x y"));
        const QByteArray name = folder + "/Bild " + QByteArray::number(i) +
                                (i % 5 == 0 ? QByteArray("\nzwei.gif") : QByteArray(" .gif"));
        if (!made.contains(folder)) {
            made.insert(folder);
            MakeFolderPath(FileNameFromBytes(folder));
        }
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const QByteArray content = "pic " + QByteArray::number(i);
        EXPECT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
        ::close(fd);
        names.append(name);
    }
    return names;
}

} // namespace

TEST(ManyFiles, TwentyThousandNamesFromStandardInputKeepTheirFolders) {
    TempFolder temp;
    const QByteArray root = FileNameToBytes(temp.path());
    const QList<QByteArray> absolute = writeTree(root + "/Fotos", 20000);
    QList<QByteArray> names; // relative to the working folder, as find prints them
    for (const QByteArray& name : absolute)
        names.append(name.mid(root.size() + 1));
    const CliRun run =
        RunCli({"stamp", "--files-from", "-", "--null", "--keep-folders", "Fotos", "--output",
                "out", "--no-notice", "--text", "(c) Viele", "--jobs", "2"},
               temp.path(), joined(names, '\0'));
    ASSERT_EQ(run.exitCode, 0) << run.err.left(2000).toStdString();
    EXPECT_TRUE(run.err.isEmpty());

    const QMap<QByteArray, QByteArray> written = HashFiles(temp.file("out"));
    EXPECT_EQ(written.size(), names.size());
    int wrong = 0;
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray mirrored = root + "/out/" + names[i].mid(int(sizeof "Fotos"));
        if (readAll(FileNameFromBytes(mirrored)) !=
            stamped("pic " + QByteArray::number(i), "(c) Viele"))
            ADD_FAILURE_AT(__FILE__, __LINE__)
                << "wrong output " << ++wrong << ": " << mirrored.constData();
        if (wrong > 5)
            break;
    }
}

TEST(ManyFiles, ListFileFollowsTheArgumentsNameByName) {
    TempFolder temp;
    temp.write("a b.gif", "A");
    temp.write("c.gif", "C");
    temp.write(FileNameFromBytes("gr\xFC\xDF.gif"), "L"); // Latin-1, no UTF-8
    temp.write("liste.txt", "c.gif\n\ngr\xFC\xDF.gif\nfehlt.gif\n");
    const CliRun run = RunCli({"stamp", "--output", "out", "--no-notice", "--text", "T", "--json",
                               "a b.gif", "--files-from", "liste.txt"},
                              temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "[{\"source\":\"a b.gif\",\"output\":\"out/a b.gif\",\"ok\":true,\"error\":null},"
              "{\"source\":\"c.gif\",\"output\":\"out/c.gif\",\"ok\":true,\"error\":null},"
              "{\"source\":\"gr\xEF\xBF\xBD\xEF\xBF\xBD.gif\",\"output\":\"out/gr\xEF\xBF\xBD\xEF"
              "\xBF\xBD.gif\",\"ok\":true,\"error\":null},"
              "{\"source\":\"fehlt.gif\",\"output\":\"out/fehlt.gif\",\"ok\":false,"
              "\"error\":\"Nicht lesbar: Die Datei existiert nicht.\"}]\n");
    EXPECT_EQ(readAll(temp.file(FileNameFromBytes("out/gr\xFC\xDF.gif"))), stamped("L", "T"));

    // read takes the same lists: one line a name, or NUL-ended from standard input
    const CliRun read = RunCli({"read", "--files-from", "-", "-0"}, temp.path(),
                               QByteArray("out/a b.gif\0out/c.gif\0", 22));
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "==> out/a b.gif <==\nT\n==> out/c.gif <==\nT\n");
}

TEST(ManyFiles, WrongListsAreUsageErrorsAndAnEmptyListDoesNothing) {
    TempFolder temp;
    temp.write("a.gif", "A");
    const struct {
        QStringList arguments;
        QByteArray error;
    } cases[] = {
        {{"stamp", "--output", "out", "--files-from", "fehlt.txt"},
         "stampora-cli: Die Namensliste „fehlt.txt“ konnte nicht gelesen werden: Die Datei "
         "existiert nicht. Hilfe mit --help.\n"},
        {{"stamp", "--output", "out", "--null", "a.gif"},
         "stampora-cli: --null gilt nur zusammen mit --files-from. Hilfe mit --help.\n"},
        {{"read", "--files-from", "."},
         "stampora-cli: Die Namensliste „.“ konnte nicht gelesen werden: Das ist ein Ordner. "
         "Hilfe mit --help.\n"},
        {{"stamp", "--output", "out", "--keep-folders", "a.gif", "a.gif"},
         "stampora-cli: --keep-folders erwartet einen Ordner, „a.gif“ ist keiner. Hilfe mit "
         "--help.\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.arguments, temp.path());
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, c.error);
    }
    EXPECT_FALSE(QFileInfo::exists(temp.file("out")));

    // find found nothing: nothing to do, and no wrong call
    const CliRun stamp =
        RunCli({"stamp", "--output", "out", "--json", "--files-from", "-", "-0"}, temp.path());
    EXPECT_EQ(stamp.exitCode, 0) << stamp.err.toStdString();
    EXPECT_EQ(stamp.out, "[]\n");
    const CliRun read = RunCli({"read", "--json", "--files-from", "-"}, temp.path());
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, "[]\n");
}

// Sources given by relative, absolute and roundabout names, and through a
// linked base, land at their place below the output folder; a source outside
// the base fails alone, with no output.
TEST(ManyFiles, KeepFoldersMirrorsThePlaceBelowTheBase) {
    TempFolder temp;
    temp.write("tree/top.gif", "T");
    temp.write("tree/a/b/tief.gif", "D");
    temp.write("tree/a/neben.gif", "N");
    temp.write("fremd/x.gif", "X");
    ASSERT_EQ(::symlink("tree", FileNameToBytes(temp.file("link")).constData()), 0);
    const CliRun run =
        RunCli({"stamp", "--output", "out", "--no-notice", "--text", "T", "--json",
                "--keep-folders", "link", "link/top.gif", temp.file("tree/a/b/tief.gif"),
                "tree/a/../a/./neben.gif", "fremd/x.gif", "link/../fremd/x.gif"},
               temp.path());
    EXPECT_EQ(run.exitCode, 1);
    const QByteArray absolute = FileNameToBytes(temp.file("tree/a/b/tief.gif"));
    const QByteArray outside =
        "\"ok\":false,\"error\":\"Die Datei liegt nicht im Ordner „link“ (--keep-folders).\"}";
    EXPECT_EQ(
        run.out,
        "[{\"source\":\"link/top.gif\",\"output\":\"out/top.gif\",\"ok\":true,\"error\":null},"
        "{\"source\":\"" +
            absolute +
            "\",\"output\":\"out/a/b/tief.gif\",\"ok\":true,\"error\":null},"
            "{\"source\":\"tree/a/../a/./neben.gif\",\"output\":\"out/a/"
            "neben.gif\",\"ok\":true,\"error\":null},"
            "{\"source\":\"fremd/x.gif\",\"output\":\"\"," +
            outside + ",{\"source\":\"link/../fremd/x.gif\",\"output\":\"\"," + outside + "]\n");
    EXPECT_EQ(HashFiles(temp.file("out")).keys(),
              (QList<QByteArray>{"a/b/tief.gif", "a/neben.gif", "top.gif"}));
    EXPECT_EQ(readAll(temp.file("out/a/b/tief.gif")), stamped("D", "T"));

    // without --json: one line per failed file, the others stamped
    const CliRun plain = RunCli({"stamp", "--output", "out2", "--no-notice", "--text", "T",
                                 "--keep-folders", "tree", "tree/top.gif", "fremd/x.gif"},
                                temp.path());
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_EQ(plain.err, "stampora-cli: fremd/x.gif: Die Datei liegt nicht im Ordner „tree“ "
                         "(--keep-folders).\n");
    EXPECT_EQ(readAll(temp.file("out2/top.gif")), stamped("T", "T"));
}

// A place below the output folder that cannot be made fails that file alone.
TEST(ManyFiles, KeepFoldersReportsAFolderThatCannotBeMade) {
    TempFolder temp;
    temp.write("tree/a/x.gif", "X");
    temp.write("tree/y.gif", "Y");
    temp.write("out/a", "a file where the folder should go");
    const CliRun run = RunCli({"stamp", "--output", "out", "--no-notice", "--text", "T",
                               "--keep-folders", "tree", "tree/a/x.gif", "tree/y.gif"},
                              temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "stampora-cli: tree/a/x.gif: Der Ordner „out/a/“ konnte nicht angelegt "
                       "werden: Ein Teil des Pfades ist kein Ordner.\n");
    EXPECT_EQ(readAll(temp.file("out/y.gif")), stamped("Y", "T"));
    EXPECT_EQ(readAll(temp.file("out/a")), "a file where the folder should go");
}
