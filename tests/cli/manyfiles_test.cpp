// stampora-cli with many files: name lists (--files-from, --null), folder
// trees kept in the output (--keep-folders) and read over a tree (read
// --recursive), run as its own process.
#include "core/base/filename.h"
#include "core/stamping/copyrightblock.h"
#include "support/testsupport.h"

#include "support/clirunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray stamped(const QByteArray& source, const QByteArray& text) {
    return source + copyrightBlockBytes(text);
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
            makeFolderPath(fileNameFromBytes(folder));
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

// Stamped from a NUL-ended list on standard input into a mirrored tree, then
// that tree read back whole, plain and as JSON.
TEST(ManyFiles, TwentyThousandNamesFromStandardInputKeepTheirFoldersAndReadBack) {
    TempFolder temp;
    const QByteArray root = fileNameToBytes(temp.path());
    const QList<QByteArray> absolute = writeTree(root + "/Fotos", 20000);
    QList<QByteArray> names; // relative to the working folder, as find prints them
    for (const QByteArray& name : absolute)
        names.append(name.mid(root.size() + 1));
    const CliRun run =
        runCli({"stamp", "--files-from", "-", "--null", "--keep-folders", "Fotos", "--output",
                "out", "--no-notice", "--text", "(c) Viele", "--jobs", "2"},
               temp.path(), joined(names, '\0'));
    ASSERT_EQ(run.exitCode, 0) << run.err.left(2000).toStdString();
    EXPECT_TRUE(run.err.isEmpty());

    const QMap<QByteArray, QByteArray> written = hashFiles(temp.file("out"));
    EXPECT_EQ(written.size(), names.size());
    int wrong = 0;
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray mirrored = root + "/out/" + names[i].mid(int(sizeof "Fotos"));
        if (readAll(fileNameFromBytes(mirrored)) !=
            stamped("pic " + QByteArray::number(i), "(c) Viele"))
            ADD_FAILURE_AT(__FILE__, __LINE__)
                << "wrong output " << ++wrong << ": " << mirrored.constData();
        if (wrong > 5)
            break;
    }

    temp.write("out/Ordner 3/ohne Block.gif", "kein Block");
    QStringList expected; // every file of the tree, by the bytes of its path
    for (const QByteArray& name : names)
        expected.append(QString::fromUtf8("out/" + name.mid(int(sizeof "Fotos"))));
    expected.append(QStringLiteral("out/Ordner 3/ohne Block.gif"));
    std::sort(expected.begin(), expected.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
    const QByteArray summary =
        "stampora-cli: 20001 Dateien gelesen: 20000 mit Einträgen, 1 ohne; 0 nicht lesbar.\n";

    const CliRun json = runCli({"read", "--recursive", "--json", "out"}, temp.path());
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.err, summary);
    const QJsonArray files = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(files.size(), expected.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QJsonObject file = files[i].toObject();
        ASSERT_EQ(file["file"].toString(), expected[i]) << i;
        const bool withBlock = !expected[i].endsWith(QLatin1String("ohne Block.gif"));
        EXPECT_EQ(file["entries"].toArray().size(), withBlock ? 1 : 0) << i;
    }

    const CliRun plain = runCli({"read", "-r", "out"}, temp.path());
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.err, summary);
    QByteArray lines; // line breaks in names are shown as visible symbols
    for (const QString& file : expected)
        lines += "==> " + QString(file).replace('\n', QChar(0x240A)).toUtf8() + " <==\n" +
                 (file.endsWith(QLatin1String("ohne Block.gif"))
                      ? QByteArray("(keine Copyright-Einträge)\n")
                      : QByteArray("(c) Viele\n"));
    EXPECT_TRUE(plain.out == lines) << plain.out.left(500).toStdString();
}

TEST(ManyFiles, ListFileFollowsTheArgumentsNameByName) {
    TempFolder temp;
    temp.write("a b.gif", "A");
    temp.write("c.gif", "C");
    temp.write(fileNameFromBytes("gr\xFC\xDF.gif"), "L"); // Latin-1, no UTF-8
    temp.write("liste.txt", "c.gif\n\ngr\xFC\xDF.gif\nfehlt.gif\n");
    const CliRun run = runCli({"stamp", "--output", "out", "--no-notice", "--text", "T", "--json",
                               "a b.gif", "--files-from", "liste.txt"},
                              temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.out,
        "[{\"source\":\"a b.gif\",\"output\":\"out/a "
        "b.gif\",\"ok\":true,\"error\":null,\"path\":null},"
        "{\"source\":\"c.gif\",\"output\":\"out/c.gif\",\"ok\":true,\"error\":null,\"path\":null},"
        "{\"source\":\"gr\xEF\xBF\xBD\xEF\xBF\xBD.gif\",\"output\":\"out/gr\xEF\xBF\xBD\xEF"
        "\xBF\xBD.gif\",\"ok\":true,\"error\":null,\"path\":null},"
        "{\"source\":\"fehlt.gif\",\"output\":\"out/fehlt.gif\",\"ok\":false,"
        "\"error\":\"Nicht lesbar: Die Datei existiert nicht.\",\"path\":null}]\n");
    EXPECT_EQ(readAll(temp.file(fileNameFromBytes("out/gr\xFC\xDF.gif"))), stamped("L", "T"));

    // read takes the same lists: one line a name, or NUL-ended from standard input
    const CliRun read = runCli({"read", "--files-from", "-", "-0"}, temp.path(),
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
        const CliRun run = runCli(c.arguments, temp.path());
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, c.error);
    }
    EXPECT_FALSE(QFileInfo::exists(temp.file("out")));

    // find found nothing: nothing to do, and no wrong call
    const CliRun stamp =
        runCli({"stamp", "--output", "out", "--json", "--files-from", "-", "-0"}, temp.path());
    EXPECT_EQ(stamp.exitCode, 0) << stamp.err.toStdString();
    EXPECT_EQ(stamp.out, "[]\n");
    const CliRun read = runCli({"read", "--json", "--files-from", "-"}, temp.path());
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
    ASSERT_EQ(::symlink("tree", fileNameToBytes(temp.file("link")).constData()), 0);
    const CliRun run =
        runCli({"stamp", "--output", "out", "--no-notice", "--text", "T", "--json",
                "--keep-folders", "link", "link/top.gif", temp.file("tree/a/b/tief.gif"),
                "tree/a/../a/./neben.gif", "fremd/x.gif", "link/../fremd/x.gif"},
               temp.path());
    EXPECT_EQ(run.exitCode, 1);
    const QByteArray absolute = fileNameToBytes(temp.file("tree/a/b/tief.gif"));
    const QByteArray outside = "\"ok\":false,\"error\":\"Die Datei liegt nicht im Ordner „link“ "
                               "(--keep-folders).\",\"path\":null}";
    EXPECT_EQ(run.out,
              "[{\"source\":\"link/top.gif\",\"output\":\"out/"
              "top.gif\",\"ok\":true,\"error\":null,\"path\":null},"
              "{\"source\":\"" +
                  absolute +
                  "\",\"output\":\"out/a/b/tief.gif\",\"ok\":true,\"error\":null,\"path\":null},"
                  "{\"source\":\"tree/a/../a/./neben.gif\",\"output\":\"out/a/"
                  "neben.gif\",\"ok\":true,\"error\":null,\"path\":null},"
                  "{\"source\":\"fremd/x.gif\",\"output\":\"\"," +
                  outside + ",{\"source\":\"link/../fremd/x.gif\",\"output\":\"\"," + outside +
                  "]\n");
    EXPECT_EQ(hashFiles(temp.file("out")).keys(),
              (QList<QByteArray>{"a/b/tief.gif", "a/neben.gif", "top.gif"}));
    EXPECT_EQ(readAll(temp.file("out/a/b/tief.gif")), stamped("D", "T"));

    // without --json: one line per failed file, the others stamped
    const CliRun plain = runCli({"stamp", "--output", "out2", "--no-notice", "--text", "T",
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
    const CliRun run = runCli({"stamp", "--output", "out", "--no-notice", "--text", "T",
                               "--keep-folders", "tree", "tree/a/x.gif", "tree/y.gif"},
                              temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "stampora-cli: tree/a/x.gif: Der Ordner „out/a“ ist eine Datei, kein "
                       "Ordner.\n");
    EXPECT_EQ(readAll(temp.file("out/y.gif")), stamped("Y", "T"));
    EXPECT_EQ(readAll(temp.file("out/a")), "a file where the folder should go");
}

// Folders given are gone through, files given are read as they are; links are
// not followed, and a file that cannot be read is counted and reported.
TEST(ManyFiles, ReadRecursiveSortsByPathAndFollowsNoLinks) {
    TempFolder temp;
    temp.write("t/b.gif", "B");
    ASSERT_TRUE(appendBlock(temp.file("t/b.gif"), "(c) B"));
    temp.write("t/a/z.gif", "ohne");
    temp.write("t/a-c.gif", "ohne");
    temp.write("aussen/x.gif", "X");
    ASSERT_TRUE(appendBlock(temp.file("aussen/x.gif"), "(c) X"));
    ASSERT_EQ(::symlink("../aussen", fileNameToBytes(temp.file("t/ordnerlink")).constData()), 0);
    ASSERT_EQ(::symlink("b.gif", fileNameToBytes(temp.file("t/dateilink.gif")).constData()), 0);
    ASSERT_EQ(::mkfifo(fileNameToBytes(temp.file("t/rohr")).constData(), 0600), 0);

    const CliRun run = runCli({"read", "-r", "t/", "fehlt.gif", "aussen/x.gif"}, temp.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "==> t/a-c.gif <==\n(keine Copyright-Einträge)\n"
                       "==> t/a/z.gif <==\n(keine Copyright-Einträge)\n"
                       "==> t/b.gif <==\n(c) B\n"
                       "==> fehlt.gif <==\n"
                       "==> aussen/x.gif <==\n(c) X\n");
    EXPECT_EQ(run.err, "stampora-cli: Die Datei „fehlt.gif“ konnte nicht gelesen werden: Die "
                       "Datei existiert nicht.\n"
                       "stampora-cli: 4 Dateien gelesen: 2 mit Einträgen, 2 ohne; 1 nicht "
                       "lesbar.\n");
}

// A folder below that cannot be opened is reported in its place and counted.
TEST(ManyFiles, ReadRecursiveReportsAFolderItCannotOpen) {
    TempFolder temp;
    temp.write("t/b.gif", "B");
    ASSERT_TRUE(appendBlock(temp.file("t/b.gif"), "(c) B"));
    temp.write("t/a/z.gif", "ohne");
    temp.write("t/c.gif", "ohne");
    if (::geteuid() == 0)
        GTEST_SKIP() << "root opens every folder";
    ASSERT_EQ(::chmod(fileNameToBytes(temp.file("t/a")).constData(), 0), 0);
    const CliRun locked = runCli({"read", "-r", "--json", "t"}, temp.path());
    ::chmod(fileNameToBytes(temp.file("t/a")).constData(), 0700);
    EXPECT_EQ(locked.exitCode, 1);
    EXPECT_TRUE(locked.out.contains(
        "{\"file\": \"t/a\", \"error\": \"Der Ordner „t/a“ konnte nicht gelesen werden: "
        "Zugriff verweigert.\", \"truncated\": false, \"entries\": []}"))
        << locked.out.toStdString();
    EXPECT_EQ(locked.err, "stampora-cli: 2 Dateien gelesen: 1 mit Einträgen, 1 ohne; 1 nicht "
                          "lesbar.\n");
}
