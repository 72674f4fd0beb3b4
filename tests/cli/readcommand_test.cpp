#include "core/stamping/copyrightblock.h"

#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray operator""_b(const char* s, std::size_t n) {
    return QByteArray(s, static_cast<qsizetype>(n));
}

// A picture stamped twice: the older text has two lines, the newer one
// characters that JSON escapes and a Windows-1252 umlaut.
class ReadCommand : public ::testing::Test {
protected:
    void SetUp() override {
        const QString path = dir.write("bild.jpg", "\xFF\xD8\xFF\xE0JFIF\r\n\xFF\xD9"_b);
        ASSERT_TRUE(appendBlock(path, "(c) 2001 Anna\r\nalle Rechte"));
        ASSERT_TRUE(appendBlock(path, "Gr\xFC\xDF\x65 \"B\"\\\t"));
        dir.write("leer.jpg", "kein Block");
    }
    TempFolder dir;
};

} // namespace

TEST_F(ReadCommand, PlainOutputListsFirstLines) {
    const CliRun one = runCli({"read", "bild.jpg"}, dir.path());
    EXPECT_EQ(one.exitCode, 0);
    EXPECT_EQ(one.out, QString::fromUtf16(u"(c) 2001 Anna\nGrüße \"B\"\\\u2409\n").toUtf8());
    EXPECT_EQ(one.err, "");

    const CliRun two = runCli({"read", "bild.jpg", "leer.jpg"}, dir.path());
    EXPECT_EQ(two.exitCode, 0);
    EXPECT_EQ(two.out, QString::fromUtf16(u"==> bild.jpg <==\n(c) 2001 Anna\nGrüße \"B\"\\\u2409\n"
                                          u"==> leer.jpg <==\n")
                           .toUtf8());
}

TEST_F(ReadCommand, JsonOutputKeepsTextsAndKeyOrder) {
    const CliRun run = runCli({"read", "--json", "bild.jpg", "leer.jpg"}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    const QByteArray expected =
        "[\n"
        "  {\"file\": \"bild.jpg\", \"error\": null, \"truncated\": false, \"entries\": ["
        "{\"first_line\": \"(c) 2001 Anna\", "
        "\"text\": \"(c) 2001 Anna\\r\\nalle Rechte\\u001a\\n\\r\\b\\u0000\\f\\u0000\"}, "
        "{\"first_line\": \"Gr\xC3\xBC\xC3\x9F\x65 \\\"B\\\"\\\\\\t\", "
        "\"text\": \"Gr\xC3\xBC\xC3\x9F\x65 \\\"B\\\"\\\\\\t\"}]},\n"
        "  {\"file\": \"leer.jpg\", \"error\": null, \"truncated\": false, \"entries\": []}\n"
        "]\n";
    EXPECT_EQ(run.out, expected);
}

TEST_F(ReadCommand, UnreadableFileAmongGoodOnesGivesExitCode1) {
    const CliRun plain = runCli({"read", "fehlt.jpg", "bild.jpg"}, dir.path());
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_TRUE(plain.out.endsWith("==> bild.jpg <==\n(c) 2001 Anna\nGr\xC3\xBC\xC3\x9F\x65 "
                                   "\"B\"\\\xE2\x90\x89\n"))
        << plain.out.constData();
    // one line on standard error, naming the file
    EXPECT_EQ(plain.err.count('\n'), 1);
    EXPECT_TRUE(plain.err.startsWith("stampora-cli: ")) << plain.err.constData();
    EXPECT_TRUE(plain.err.contains("\xE2\x80\x9E"
                                   "fehlt.jpg\xE2\x80\x9C"))
        << plain.err.constData();

    const CliRun json = runCli({"read", "--json", "bild.jpg", "."}, dir.path());
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_TRUE(
        json.out.contains("{\"file\": \".\", \"error\": \"Die Datei \xE2\x80\x9E.\xE2\x80\x9C "
                          "konnte nicht gelesen werden: Das ist ein Ordner.\", "
                          "\"truncated\": false, \"entries\": []}\n]\n"))
        << json.out.constData();
    EXPECT_TRUE(json.out.contains("\"first_line\": \"(c) 2001 Anna\""));
}

TEST_F(ReadCommand, ExitCodesOfCalls) {
    struct Case {
        QStringList args;
        int exitCode;
        QByteArray out; // start of standard output
    } cases[] = {
        {{}, 2, ""},
        {{"lesen"}, 2, ""},
        {{"--frob"}, 2, ""},
        {{"read"}, 2, ""},
        {{"read", "--json"}, 2, ""},
        {{"read", "--frob", "bild.jpg"}, 2, ""},
        {{"--version"}, 0, "stampora-cli 1.20\n"},
        {{"read", "--version"}, 0, "stampora-cli 1.20\n"},
        {{"--help"}, 0, "Aufruf: stampora-cli BEFEHL"},
        {{"read", "--help"}, 0, "Aufruf: stampora-cli read [--json] DATEI..."},
        {{"read", "leer.jpg"}, 0, ""},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.args, dir.path());
        const std::string name = c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << name;
        EXPECT_TRUE(run.out.startsWith(c.out)) << name << ": " << run.out.constData();
        if (c.exitCode == 2) {
            EXPECT_TRUE(run.out.isEmpty()) << name;
            EXPECT_TRUE(run.err.startsWith("stampora-cli: ")) << name;
        }
    }
}

TEST_F(ReadCommand, FileThatShrinksWhileItsEntriesAreWrittenGivesTheEntriesAsRead) {
    // 2 MiB of text behind the first marker: the JSON fills the pipe, and the
    // command waits in its write while the file is cut short behind its back.
    const QByteArray text = QByteArray(2 << 20, 'x');
    const QString path = dir.write("lang.jpg", "\xFF\xD8\xFF\xD9"_b + copyrightBlockBytes(text));
    ASSERT_TRUE(appendBlock(path, "zuletzt"));
    QProcess process;
    startCliProcess(process, {"read", "--json", "lang.jpg"}, dir.path());
    ASSERT_TRUE(process.waitForReadyRead(60000));
    ASSERT_TRUE(QFile::resize(path, 100));
    ASSERT_TRUE(process.waitForFinished(60000));
    const QByteArray out = process.readAllStandardOutput();
    // what was read is answered whole, or the file is an error: never a part
    // of it with "error": null
    if (process.exitCode() == 0) {
        EXPECT_TRUE(out.contains("\"error\": null")) << out.left(200).toStdString();
        EXPECT_TRUE(out.contains("\"text\": \"" + text)) << "a text came out short";
        EXPECT_TRUE(out.contains("{\"first_line\": \"zuletzt\", \"text\": \"zuletzt\"}"));
    } else {
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_TRUE(process.readAllStandardError().contains("hat sich beim Lesen geändert"));
    }
}

TEST_F(ReadCommand, FileWithoutSizeStopsAtTheBoundAndSaysWhy) {
    // /proc/self/pagemap says 0 bytes and holds terabytes
    if (!QFile::exists("/proc/self/pagemap"))
        GTEST_SKIP() << "no /proc";
    const CliRun run = runCli({"read", "/proc/self/pagemap", "bild.jpg"}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "stampora-cli: Die Datei „/proc/self/pagemap“ konnte nicht gelesen werden: "
                       "Sie gibt keine Größe an (wie die Dateien unter /proc) und ist länger als "
                       "256 MiB.\n");
    EXPECT_TRUE(run.out.endsWith("==> bild.jpg <==\n(c) 2001 Anna\nGr\xC3\xBC\xC3\x9F\x65 "
                                 "\"B\"\\\xE2\x90\x89\n"));
}
