#include "core/stamping/copyrightblock.h"

#include "support/literalblockreader.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Byte strings that may hold zero bytes.
QByteArray operator""_b(const char* s, std::size_t n) {
    return QByteArray(s, static_cast<qsizetype>(n));
}

const QByteArray kMarker("10a1020z04y5");
// What lies between a block's text and the next block's marker.
const QByteArray kBetweenBlocks = "\x1A\x0A\x0D\x08\x00\x0C\x00"_b;

using Entry = BlockEntry;

std::vector<Entry> entriesOf(const CopyrightScan& scan) {
    return blockEntriesOf(scan);
}

std::vector<Entry> literalRead(const QByteArray& file) {
    return literalReadBlocks(file);
}

QByteArray block(const QByteArray& text) {
    return copyrightBlockBytes(text);
}

// Whether this process holds the file `name` open.
bool openHere(const QByteArray& name) {
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(fds)) {
        char target[4096];
        const QByteArray link = QByteArray("/proc/self/fd/") + entry->d_name;
        const ssize_t length = ::readlink(link.constData(), target, sizeof target);
        found = found || (length > 0 && QByteArray(target, length) == name);
    }
    ::closedir(fds);
    return found;
}

} // namespace

TEST(CopyrightBlock, BytesFollowTheLayout) {
    const QByteArray expected =
        "\x1A\x0A\x0D\x08\x00\x0C\x00"_b + "10a1020z04y5" + "\x08\x00\x06\x00"_b + "\xA9 Anna";
    EXPECT_EQ(copyrightBlockBytes("\xA9 Anna"), expected);
    EXPECT_EQ(copyrightBlockBytes("").size(), 23);
}

TEST(CopyrightBlock, LengthFieldOfLongTextsStopsAt65535) {
    struct Case {
        qsizetype length;
        QByteArray field;
    } cases[] = {{255, "\xFF\x00"_b},
                 {256, "\x00\x01"_b},
                 {65535, "\xFF\xFF"_b},
                 {65536, "\xFF\xFF"_b},
                 {70000, "\xFF\xFF"_b}};
    for (const Case& c : cases) {
        const QByteArray text(c.length, 'x');
        const QByteArray bytes = copyrightBlockBytes(text);
        EXPECT_EQ(bytes.mid(21, 2), c.field) << c.length;
        EXPECT_EQ(bytes.mid(23), text) << c.length; // the text is written whole
    }
}

TEST(CopyrightBlock, StampedThreeTimesGivesThreeEntriesInOrder) {
    TempFolder dir;
    const QByteArray picture("\xFF\xD8picture\r\n\xFF\xD9", 13);
    const QString path = dir.write("a.jpg", picture);
    const QByteArray texts[] = {"(c) 2001 Anna", "Zweiter\r\nText", "Dritter \xE4"};
    for (const QByteArray& t : texts)
        ASSERT_TRUE(appendBlock(path, t));
    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes, picture + block(texts[0]) + block(texts[1]) + block(texts[2]));

    const CopyrightScan scan = ReadCopyrightBlocks(path);
    ASSERT_TRUE(scan.ok());
    EXPECT_FALSE(scan.truncated());
    const std::vector<Entry> expected = {
        {texts[0] + kBetweenBlocks, texts[0] + kBetweenBlocks},
        {"Zweiter", texts[1] + kBetweenBlocks},
        {texts[2], texts[2]},
    };
    EXPECT_EQ(entriesOf(scan), expected);
    EXPECT_EQ(scan.text(2), QString::fromUtf8("Dritter ä"));
}

// Crafted files and what the reader lists for them.
TEST(CopyrightBlock, ReadsCraftedFiles) {
    struct Case {
        const char* name;
        QByteArray file;
        std::vector<Entry> entries;
    };
    const QByteArray m = kMarker;
    const Case cases[] = {
        {"two lines with CR LF",
         "data" + block("Zeile 1\r\nZeile 2\r\n"),
         {{"Zeile 1", "Zeile 1\r\nZeile 2\r\n"}}},
        {"three lines joined are one line",
         block("Zeile 1Zeile 2Zeile 3"),
         {{"Zeile 1Zeile 2Zeile 3", "Zeile 1Zeile 2Zeile 3"}}},
        {"empty text as the last block", "data" + block(""), {}},
        {"empty text before another block",
         block("") + block("B"),
         {{kBetweenBlocks, kBetweenBlocks}, {"B", "B"}}},
        {"text starting with CR LF", block("\r\nzweite"), {{"", "\r\nzweite"}}},
        {"text starting with a lone CR", block("\rx"), {}},
        {"text starting with 0x08", block("\x08x"), {}},
        {"lone LF does not end the first line", block("a\nb\r\nc"), {{"a\nb", "a\nb\r\nc"}}},
        {"16 bytes from the marker to the end", "xx" + m + "\x08\x00\x01\x00"_b, {}},
        {"17 bytes from the marker to the end", "xx" + m + "\x08\x00\x01\x00Z"_b, {{"Z", "Z"}}},
        {"marker is the end of the file", "xx" + m, {}},
        {"capital letters are no marker",
         "x" + QByteArray("10A1020Z04Y5") + "\x08\x00\x01\x00T"_b,
         {}},
        {"marker in the length fields of another",
         // the second marker starts at p+14: the split of the first never sees it
         m + "\x08\x00"_b + m + "abcdef",
         {{"a1020z04y5abcdef", "a1020z04y5abcdef"}, {"ef", "ef"}}},
        {"marker directly at p+16",
         m + "\x08\x00\x00\x00"_b + m + "\x08\x00\x01\x00Q"_b,
         {{"", ""}, {"Q", "Q"}}},
        {"marker inside a text",
         block("A 10a1020z04y5 B und mehr"),
         // the block's marker lists the text cut at the inner marker, then the rest;
         // the inner marker lists what lies 16 bytes behind it
         {{"A ", "A "}, {" B und mehr", " B und mehr"}, {"nd mehr", "nd mehr"}}},
        {"segment behind a later marker that does not start with 0x08",
         block("A") + "\x1A\x0A\x0D" + m + "tail end",
         {{"A\x1A\x0A\x0D", "A\x1A\x0A\x0D"}, {"tail end", "tail end"}, {" end", " end"}}},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        const QString path = dir.write("f.bin", c.file);
        const CopyrightScan scan = ReadCopyrightBlocks(path);
        EXPECT_TRUE(scan.ok()) << c.name;
        EXPECT_EQ(entriesOf(scan), c.entries) << c.name;
        EXPECT_EQ(literalRead(c.file), c.entries) << c.name << " (literal reading)";
    }
}

TEST(CopyrightBlock, MatchesTheLiteralReadingOnRandomFiles) {
    // Pieces that make markers, near-markers, CR LF and tag bytes likely.
    const QByteArray pieces[] = {kMarker,
                                 kMarker,
                                 "10a1020z04y",
                                 "0a1020z04y5",
                                 "\r\n",
                                 "\r",
                                 "\n",
                                 "\x08"_b,
                                 QByteArray("\x08\x00"_b, 2),
                                 kBetweenBlocks,
                                 "1",
                                 "5",
                                 "x",
                                 "Text ",
                                 block("T"),
                                 block("")};
    std::mt19937 random(20010917);
    std::uniform_int_distribution<int> pick(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> count(0, 40);
    for (int round = 0; round < 3000; ++round) {
        QByteArray file;
        for (int n = count(random); n > 0; --n)
            file += pieces[pick(random)];
        const CopyrightScan scan = scanCopyrightBytes(file);
        ASSERT_EQ(entriesOf(scan), literalRead(file)) << file.toPercentEncoding().constData();
        ASSERT_FALSE(scan.truncated());
    }
}

TEST(CopyrightBlock, StopsAtTheEntryLimit) {
    // Markers followed by text that is not 0x08: each marker lists its own part
    // and the segment behind every later marker, so n markers give n(n+1)/2 entries.
    struct Case {
        int markers;
        bool truncated;
    } cases[] = {{446, false}, {447, true}, {2000, true}};
    for (const Case& c : cases) {
        QByteArray file;
        for (int i = 0; i < c.markers; ++i)
            file += kMarker + "abcdT";
        const CopyrightScan scan = scanCopyrightBytes(file);
        const std::size_t all = std::size_t(c.markers) * (c.markers + 1) / 2;
        EXPECT_EQ(scan.truncated(), c.truncated) << c.markers;
        EXPECT_EQ(scan.size(), std::min(all, kMaxCopyrightEntries)) << c.markers;
        if (c.markers <= 447) {
            const std::vector<Entry> literal = literalRead(file);
            const std::vector<Entry> expected(
                literal.begin(), literal.begin() + std::min(literal.size(), kMaxCopyrightEntries));
            EXPECT_EQ(entriesOf(scan), expected) << c.markers;
        }
    }
}

TEST(CopyrightBlock, EntryLimitWithManyMarkersThatYieldNothingAlone) {
    // 0x08 behind every marker: no marker lists anything, except through the few
    // yielding segments at the end, which every marker in front lists.
    QByteArray file;
    for (int i = 0; i < 60000; ++i)
        file += kMarker + "\x08\x00\x08\x00\x08"_b;
    file += kMarker + "AB" + kMarker + "CD";
    const CopyrightScan scan = scanCopyrightBytes(file);
    EXPECT_TRUE(scan.truncated());
    ASSERT_EQ(scan.size(), kMaxCopyrightEntries);
    // marker k lists "AB" and "CD"; the first entry belongs to marker 0
    EXPECT_EQ(scan.textBytes(0), QByteArray("AB"));
    EXPECT_EQ(scan.textBytes(1), QByteArray("CD"));
    EXPECT_EQ(scan.textBytes(kMaxCopyrightEntries - 1), QByteArray("CD"));
}

TEST(CopyrightBlock, FilesWithoutEntriesAreReadWithoutError) {
    struct Case {
        const char* name;
        QByteArray file;
    } cases[] = {{"empty", ""},
                 {"shorter than the marker", "10a1020z04y"},
                 {"no marker", QByteArray(5000, 'x')}};
    TempFolder dir;
    for (const Case& c : cases) {
        const CopyrightScan scan = ReadCopyrightBlocks(dir.write("f.bin", c.file));
        EXPECT_TRUE(scan.ok()) << c.name;
        EXPECT_TRUE(scan.error().isEmpty()) << c.name;
        EXPECT_EQ(scan.size(), 0u) << c.name;
    }
}

TEST(CopyrightBlock, UnreadableFilesGiveAGermanReasonNamingTheFile) {
    TempFolder dir;
    const QString pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    struct Case {
        QString path;
        QString reason;
    } cases[] = {{dir.file("fehlt.jpg"), "existiert nicht"},
                 {dir.path(), "Ordner"},
                 {pipe, "Keine normale Datei"}}; // a pipe must not block the read
    for (const Case& c : cases) {
        const CopyrightScan scan = ReadCopyrightBlocks(c.path);
        EXPECT_FALSE(scan.ok()) << c.path.toStdString();
        EXPECT_TRUE(scan.error().contains(QStringLiteral("„%1“").arg(c.path)))
            << scan.error().toStdString();
        EXPECT_TRUE(scan.error().contains(c.reason)) << scan.error().toStdString();
        EXPECT_EQ(scan.size(), 0u);
    }
    const CopyrightScan noName = ReadCopyrightBlocks(QString());
    EXPECT_FALSE(noName.ok());
    EXPECT_EQ(noName.error(), QStringLiteral("Es wurde kein Dateiname angegeben."));
}

TEST(CopyrightBlock, FileWithoutReadPermission) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempFolder dir;
    const QString path = dir.write("geheim.jpg", block("T"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    const CopyrightScan scan = ReadCopyrightBlocks(path);
    EXPECT_FALSE(scan.ok());
    EXPECT_TRUE(scan.error().contains("Zugriff verweigert")) << scan.error().toStdString();
}

TEST(CopyrightBlock, ReadsPastFourGibibytes) {
    // A sparse file: offsets above 32 bits must survive the scan and the slices.
    TempFolder dir;
    const QString path = dir.file("gross.bin");
    const qint64 hole = (qint64(1) << 32) + 7;
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(hole));
    }
    ASSERT_TRUE(appendBlock(path, "weit hinten"));
    const CopyrightScan scan = ReadCopyrightBlocks(path);
    ASSERT_TRUE(scan.ok()) << scan.error().toStdString();
    ASSERT_EQ(scan.size(), 1u);
    EXPECT_EQ(scan.text(0), QStringLiteral("weit hinten"));
}

TEST(CopyrightBlock, FileReadInPiecesGivesWhatTheBytesGive) {
    // The reader goes through a file in pieces (twice their size is the end of
    // one): markers, the bytes behind them and CR LF pairs that straddle a
    // piece's end must count as in one piece.
    TempFolder dir;
    const auto piece = static_cast<qsizetype>(2 * kReaderPieceBytes);
    const QByteArray tail = block("\rA") + block("A\r\nB") + block("\r\n") + kMarker +
                            "\x08\x00\x01\x00\r"_b + block("C") + kMarker + "xy" + kMarker + "zz";
    for (qsizetype shift = 0; shift <= tail.size(); ++shift) {
        QByteArray file(piece - shift, 'x');
        file += tail;
        file += QByteArray(piece - 7, '\x08') + block("D\r\n") + QByteArray(20, 'y');
        const CopyrightScan fromFile = ReadCopyrightBlocks(dir.write("f.bin", file));
        const CopyrightScan fromBytes = scanCopyrightBytes(file);
        ASSERT_TRUE(fromFile.ok());
        ASSERT_GT(fromBytes.size(), 5u);
        ASSERT_EQ(entriesOf(fromFile), entriesOf(fromBytes)) << "shift " << shift;
    }
}

TEST(CopyrightBlock, LongFirstLineBeyondTheReadPiece) {
    // The first line runs far past the piece in which its marker was found, and
    // its CR LF straddles the end of a first-line read.
    TempFolder dir;
    const QByteArray line(static_cast<qsizetype>(kFirstLinePieceBytes) - 1, 'a');
    for (const QByteArray& rest : {QByteArray("\r\nB"), QByteArray("\rB")}) {
        const QByteArray file =
            QByteArray(static_cast<qsizetype>(kReaderPieceBytes) - 40, 'x') + block(line + rest);
        const CopyrightScan scan = ReadCopyrightBlocks(dir.write("f.bin", file));
        ASSERT_EQ(scan.size(), 1u);
        EXPECT_EQ(scan.firstLineBytes(0), rest == "\r\nB" ? line : line + rest);
        EXPECT_EQ(scan.textBytes(0), line + rest);
    }
}

TEST(CopyrightBlock, FileThatChangesAfterItsScanIsAnErrorNeverAPartialAnswer) {
    // The entries are read after the scan: into memory, or piece by piece from
    // the file when shown. A file shrunk, grown or rewritten meanwhile is an
    // error for the file, its entries dropped.
    TempFolder dir;
    const QByteArray original = QByteArray(300000, 'x') + block("erst") + block("dann");
    struct Case {
        const char* what;
        QByteArray changedTo;
        bool intoMemory;
    } cases[] = {
        {"shrunk, then read into memory", original.left(300020), true},
        {"grown, then read into memory", original + "mehr", true},
        {"rewritten at the same size, then read into memory",
         QByteArray(original).replace("erst", "ERST"), true},
        {"shrunk, then shown from the file", original.left(300020), false},
        {"rewritten at the same size, then shown from the file",
         QByteArray(original).replace("dann", "DANN"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = dir.write("f.bin", original);
        CopyrightScan scan = ReadCopyrightBlocks(path);
        ASSERT_TRUE(scan.ok());
        ASSERT_EQ(scan.size(), 2u);
        // a later modification time, as any writer leaves
        const QByteArray name = QFile::encodeName(path);
        struct stat before {};
        ASSERT_EQ(::stat(name.constData(), &before), 0);
        dir.write("f.bin", c.changedTo);
        const struct timespec later[2] = {{0, UTIME_OMIT},
                                          {before.st_mtim.tv_sec + 1, before.st_mtim.tv_nsec}};
        ASSERT_EQ(::utimensat(AT_FDCWD, name.constData(), later, 0), 0);
        if (c.intoMemory) {
            scan.readIntoMemory(1 << 20);
        } else {
            ASSERT_FALSE(scan.readIntoMemory(8)); // too much: stays on the file
            (void)scan.text(0), (void)scan.text(1);
            scan.checkUnchanged();
        }
        EXPECT_FALSE(scan.ok());
        EXPECT_EQ(scan.error(),
                  QStringLiteral("Die Datei „%1“ hat sich beim Lesen geändert; ihre Einträge "
                                 "werden nicht gezeigt.")
                      .arg(path));
        EXPECT_EQ(scan.size(), 0u);
    }
    // unchanged, the entries are what the file holds, read once
    CopyrightScan scan = ReadCopyrightBlocks(dir.write("g.bin", original));
    ASSERT_TRUE(scan.readIntoMemory(1 << 20));
    QFile::remove(dir.file("g.bin"));
    EXPECT_TRUE(scan.checkUnchanged());
    EXPECT_EQ(scan.text(1), QStringLiteral("dann"));
}

TEST(CopyrightBlock, FileThatShrinksDuringItsScanIsAnError) {
    // A large sparse file is cut short by another thread while it is searched;
    // the cut comes as soon as the reader has opened the file.
    TempFolder dir;
    const QString path = QFileInfo(dir.path()).canonicalFilePath() + "/gross.bin";
    const QByteArray name = QFile::encodeName(path); // as /proc names it
    int errors = 0;
    for (int attempt = 0; attempt < 5 && errors == 0; ++attempt) {
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_TRUE(f.resize(qint64(1) << 30));
        }
        ASSERT_TRUE(appendBlock(path, "hinten"));
        std::atomic<bool> done{false};
        std::thread cutter([&] {
            while (!done && !openHere(name))
                std::this_thread::yield();
            ::truncate(name.constData(), 1 << 20);
        });
        const CopyrightScan scan = ReadCopyrightBlocks(path);
        done = true;
        cutter.join();
        if (scan.ok()) // the cut came before the size was taken, or after the end
            continue;
        ++errors;
        EXPECT_TRUE(scan.error().contains("hat sich beim Lesen geändert"))
            << scan.error().toStdString();
        EXPECT_EQ(scan.size(), 0u);
    }
    EXPECT_GT(errors, 0);
}

TEST(CopyrightBlock, FileWithoutSizeIsReadWithinTheBound) {
    // /proc/self/pagemap says 0 bytes and holds terabytes: the read stops at
    // the bound of what it keeps, and says why.
    if (!QFile::exists("/proc/self/pagemap"))
        GTEST_SKIP() << "no /proc";
    const CopyrightScan pagemap = ReadCopyrightBlocks("/proc/self/pagemap");
    EXPECT_FALSE(pagemap.ok());
    EXPECT_EQ(pagemap.error(), QStringLiteral("Die Datei „/proc/self/pagemap“ konnte nicht gelesen "
                                              "werden: Sie gibt keine Größe an (wie die Dateien "
                                              "unter /proc) und ist länger als 256 MiB."));
    // a short one is read whole, as before
    const CopyrightScan status = ReadCopyrightBlocks("/proc/self/status");
    EXPECT_TRUE(status.ok()) << status.error().toStdString();
    EXPECT_EQ(status.size(), 0u);
}
