// Bad input through "stampora-cli stamp": every bad file is reported on one
// line with a German reason, the others are stamped, nothing crashes or hangs,
// and no source file changes.
#include "clirunner.h"
#include "imaging/filename.h"
#include "stamping/windows1252.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

enum class Expect {
    Stamped,       // output complete, no line on standard error
    NoticeMissing, // the copy still gets its block; reported as failed
    Refused,       // reported as failed, no output
};

struct BadInput {
    const char* what;
    QByteArray name;     // file name in src/ (bytes)
    QByteArray contents; // null: see `folder` / not created
    bool folder = false;
    Expect expect = Expect::Stamped;
    const char* reason = ""; // part of the German reason
};

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 v) {
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xFF);
    return out;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    const QByteArray body = type + data;
    return bigEndian(quint32(data.size())) + body + bigEndian(crc32(body));
}

// The signature, a valid header and the start of the pixel data, which is
// where a reader has learnt the size.
QByteArray pngHeader(quint32 width, quint32 height) {
    return QByteArray("\x89PNG\r\n\x1A\n", 8) +
           pngChunk("IHDR",
                    bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\x00\x00\x00", 5)) +
           pngChunk("IDAT", QByteArray("\x78\x9C\x01\x02", 4));
}

const QByteArray kText = "(C) 2002 Bad Input";

} // namespace

TEST(BadInput, EachBadFileIsReportedAndTheOthersAreStamped) {
    TempFolder temp;
    const QByteArray jpeg = SmallJpeg(48, 32, 1);
    const BadInput cases[] = {
        {"a good picture first", "erstes.jpg", jpeg},
        {"an empty file", "leer.jpg", QByteArray(""), false, Expect::NoticeMissing,
         "Die Datei ist leer"},
        {"a truncated JPEG", "halb.jpg", jpeg.left(jpeg.size() / 2), false, Expect::NoticeMissing,
         "Bild"},
        {"garbage named .jpg", "müll.jpg", QByteArray(3000, '\x5A'), false, Expect::NoticeMissing,
         "kein Bild im Format"},
        {"a GIF with broken data", "kaputt.gif",
         QByteArray("GIF89a\x10\x00\x10\x00\x80\x00\x00", 13) + QByteArray(40, '\xFF'), false,
         Expect::NoticeMissing, "Bild"},
        {"a PNG with broken data", "kaputt.png", pngHeader(16, 16) + QByteArray(60, '\x11'), false,
         Expect::NoticeMissing, "Bild"},
        {"a PNG of 60 000 × 60 000 pixels", "riesig.png", pngHeader(60000, 60000), false,
         Expect::NoticeMissing, "zu groß"},
        // 39 bytes whose frame says 1280 × 91 and whose screen says 1280 × 65027
        {"a GIF with a huge screen", "bildschirm.gif",
         readAll(STAMPORA_CORPUS "/picture/gif-huge-screen"), false, Expect::NoticeMissing,
         "zu groß"},
        // 55 bytes of a BMP stored top down: 2311 × -65517 in its header
        {"a BMP stored top down, too tall", "hoch.bmp",
         readAll(STAMPORA_CORPUS "/picture/bmp-top-down-huge"), false, Expect::NoticeMissing,
         "zu groß"},
        {"a text file", "notiz.txt", "Nur Text\r\n", false, Expect::NoticeMissing,
         "kein Bild im Format"},
        {"a folder", "ordner.jpg", {}, true, Expect::Refused, "Keine normale Datei"},
        {"a source that vanished",
         "verschwunden.jpg",
         {},
         false,
         Expect::Refused,
         "existiert nicht"},
        {"a name with blanks", "mit  Leer zeichen .jpg", jpeg},
        {"a name with umlauts", "Grüße äöüß.jpg", jpeg},
        {"a name with a newline", "zeilen\numbruch.jpg", jpeg},
        {"a broken picture named with a newline", "kaputt\nzeile.gif", "GIF89a", false,
         Expect::NoticeMissing, "Bild"},
        {"a name with a leading dash", "-strich.jpg", jpeg},
        {"a good picture last", "letztes.jpg", jpeg},
    };
    QStringList arguments{
        "--output", "out", "--text", QString::fromLatin1(kText), "--notice", "Copyright (C) 2002",
        "--jobs",   "2",   "--"};
    for (const BadInput& c : cases) {
        const QString path = QStringLiteral("src/") + QFile::decodeName(c.name);
        if (c.folder)
            QDir(temp.path()).mkpath(path);
        else if (!c.contents.isNull())
            temp.write(path, c.contents);
        arguments << path;
    }
    // a name that is no UTF-8 (Latin-1 bytes) reaches the command as bytes, and
    // is stamped like any other
    const QByteArray latin1Name = "src/Gr\xFC\xDF"
                                  "e.jpg";
    const QString latin1Path = temp.write(FileNameFromBytes(latin1Name), jpeg);
    const auto sourcesBefore = HashFiles(temp.file("src"));

    const CliRun run = RunStamp(arguments, temp.path(), {latin1Name});
    ASSERT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(HashFiles(temp.file("src")), sourcesBefore) << "a source file changed";
    EXPECT_TRUE(TemporariesIn(temp.file("out")).isEmpty());

    EXPECT_EQ(readAll(latin1Path), jpeg) << "a source file changed";
    EXPECT_EQ(CheckStamped(temp.path() + QStringLiteral("/") +
                               FileNameFromBytes("out/Gr\xFC\xDF"
                                                 "e.jpg"),
                           kText, true),
              QString());

    // every line on standard error is one of the command's, naming a source:
    // nothing from the libraries (libpng has its say on broken PNGs)
    const QStringList lines = QString::fromUtf8(run.err).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        EXPECT_TRUE(line.startsWith(QStringLiteral("stampora-cli: src/"))) << line.toStdString();
    int failures = 0;
    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.what);
        const QString name = QFile::decodeName(c.name);
        const QString output = temp.file("out/" + name);
        // the line names the file with its control characters made visible
        QString shown = QStringLiteral("stampora-cli: src/") + name;
        shown.replace(QLatin1Char('\n'), QChar(0x240A));
        QStringList mine;
        for (const QString& line : lines)
            if (line.startsWith(shown + QStringLiteral(": ")))
                mine << line;
        if (c.expect == Expect::Stamped) {
            EXPECT_TRUE(mine.isEmpty()) << mine.join('\n').toStdString();
            EXPECT_EQ(CheckStamped(output, kText, true), QString());
            continue;
        }
        ++failures;
        ASSERT_EQ(mine.size(), 1) << run.err.toStdString();
        EXPECT_TRUE(mine[0].contains(QString::fromUtf8(c.reason))) << mine[0].toStdString();
        if (c.expect == Expect::NoticeMissing)
            EXPECT_EQ(CheckStamped(output, kText, false), QString());
        else
            EXPECT_FALSE(QFileInfo(output).isFile());
    }
    EXPECT_EQ(lines.size(), failures) << run.err.toStdString();
}

TEST(BadInput, LongCopyrightTextAndLongNotice) {
    TempFolder temp;
    temp.write("src/bild.jpg", SmallJpeg(60, 20, 2));
    QString text;
    for (int i = 0; text.size() < 70000; ++i)
        text += QStringLiteral("Zeile %1 äöü ").arg(i);
    text.truncate(70000);
    const QString notice(10000, QLatin1Char('N'));
    const CliRun run = RunStamp(
        {"--output", "out", "--text", text, "--notice", notice, "src/bild.jpg"}, temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // the reader does not rely on the 16-bit length field: the whole text comes back
    EXPECT_EQ(CheckStamped(temp.file("out/bild.jpg"), EncodeWindows1252(text), true), QString());
}

TEST(BadInput, OutputPathThatIsASymbolicLinkIsReplacedNotFollowed) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    temp.write("elsewhere/victim", "keep me");
    QDir(temp.path()).mkpath("out");
    ASSERT_EQ(::symlink("../elsewhere/victim", QFile::encodeName(temp.file("out/a.jpg"))), 0);
    const CliRun run =
        RunStamp({"--output", "out", "--text", "T", "--no-notice", "src/a.jpg"}, temp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readAll(temp.file("elsewhere/victim")), "keep me");
    EXPECT_FALSE(QFileInfo(temp.file("out/a.jpg")).isSymLink());
    EXPECT_EQ(CheckStamped(temp.file("out/a.jpg"), "T", false), QString());
}

TEST(BadInput, OutputFolderThatCannotBeCreatedStopsBeforeTheFirstFile) {
    TempFolder temp;
    temp.write("src/a.jpg", "AAA");
    const auto before = HashFiles(temp.path());
    const CliRun run =
        RunStamp({"--output", "src/a.jpg/out", "--text", "T", "src/a.jpg"}, temp.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err,
              "stampora-cli: Der Ausgabeordner „src/a.jpg/out/“ konnte nicht angelegt werden.\n");
    EXPECT_EQ(HashFiles(temp.path()), before);
}
