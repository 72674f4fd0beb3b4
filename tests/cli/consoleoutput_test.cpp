// What stampora-cli writes to its standard streams when they are closed or a
// terminal, and how it names files and wrong calls there.
#include "core/base/filename.h"
#include "core/stamping/copyrightblock.h"
#include "support/clirunner.h"
#include "support/testsupport.h"

#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

const QByteArray kClosedOutput = "stampora-cli: Die Ausgabe konnte nicht geschrieben werden: Die "
                                 "Standardausgabe ist geschlossen.\n";

// A terminal for the program's standard error: everything it wrote there.
class PseudoTerminal {
public:
    PseudoTerminal() {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) == 0)
            name_ = QString::fromLocal8Bit(::ttyname(slave_));
    }
    ~PseudoTerminal() {
        if (master_ >= 0)
            ::close(master_);
        if (slave_ >= 0)
            ::close(slave_);
    }
    QString name() const { return name_; }
    QByteArray drain() {
        ::fcntl(master_, F_SETFL, O_NONBLOCK);
        QByteArray all;
        char buffer[4096];
        for (ssize_t got; (got = ::read(master_, buffer, sizeof buffer)) > 0;)
            all.append(buffer, got);
        return all;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString name_;
};

} // namespace

TEST(ConsoleOutput, ClosedStandardOutputIsAFailureAndNoFileReceivesTheReport) {
    TempFolder temp;
    const QString picture = temp.write("bild.jpg", smallJpeg(16, 16, 1));
    ASSERT_TRUE(appendBlock(picture, "(c) Anna"));
    temp.write("src/a.jpg", "AAA");
    const auto sources = hashFiles(temp.file("src"));
    struct Case {
        QStringList arguments;
        int exitCode;
        QByteArray err;
    } cases[] = {
        {{"read", "bild.jpg"}, 1, kClosedOutput},
        {{"read", "--json", "bild.jpg"}, 1, kClosedOutput},
        {{"--version"}, 1, kClosedOutput},
        {{"stamp", "--output", "out1", "--text", "T", "--json", "src/a.jpg"}, 1, kClosedOutput},
        // without --json nothing goes to standard output: nothing is lost
        {{"stamp", "--output", "out2", "--text", "T", "src/a.jpg"}, 0, ""},
    };
    for (const Case& c : cases) {
        const std::string name = c.arguments.join(' ').toStdString();
        const CliRun run = runCli(c.arguments, temp.path(), {}, ">&-");
        EXPECT_EQ(run.exitCode, c.exitCode) << name;
        EXPECT_EQ(run.err, c.err) << name;
    }
    // the report went nowhere, least of all into an output
    EXPECT_EQ(readAll(temp.file("out1/a.jpg")), "AAA" + copyrightBlockBytes("T"));
    EXPECT_EQ(readAll(temp.file("out2/a.jpg")), "AAA" + copyrightBlockBytes("T"));
    EXPECT_EQ(hashFiles(temp.file("src")), sources);
    // a closed standard error costs the lines, not the result
    EXPECT_EQ(runCli({"read", "fehlt.jpg"}, temp.path(), {}, "2>&-").exitCode, 1);
    EXPECT_EQ(runCli({"read", "bild.jpg"}, temp.path(), {}, "2>&-").out, "(c) Anna\n");
}

TEST(ConsoleOutput, EveryLineOnStandardErrorIsOneLineWithControlCharactersShown) {
    TempFolder temp;
    temp.write("src/gut.jpg", "AAA");
    struct Case {
        const char* what;
        QStringList arguments;
        QByteArray err;
    } cases[] = {
        {"a read error for a name with a line break",
         {"read", "fehlt\nzwei.jpg"},
         "stampora-cli: Die Datei „fehlt␊zwei.jpg“ konnte nicht gelesen werden: Die Datei "
         "existiert nicht.\n"},
        {"a failed file whose name holds an escape sequence",
         {"stamp", "--output", "out", "--text", "T", "src/\x1b[2J\rweg.jpg", "src/gut.jpg"},
         "stampora-cli: src/␛[2J␍weg.jpg: Nicht lesbar: Die Datei existiert nicht.\n"},
        {"an unknown command with a tab",
         {"le\tsen"},
         "stampora-cli: Unbekannter Befehl „le␉sen“. Hilfe mit --help.\n"},
        {"an option without its value",
         {"stamp", "src/gut.jpg", "--output"},
         "stampora-cli: Nach „--output“ fehlt der Wert. Hilfe mit --help.\n"},
        {"a switch given a value",
         {"read", "--json=ja", "src/gut.jpg"},
         "stampora-cli: „--json“ nimmt keinen Wert an. Hilfe mit --help.\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.arguments, temp.path());
        EXPECT_NE(run.exitCode, 0) << c.what;
        EXPECT_EQ(QString::fromUtf8(run.err), QString::fromUtf8(c.err)) << c.what;
    }
}

TEST(ConsoleOutput, ProgressLineOnATerminalShowsNamesWithoutTheirControlCharacters) {
    PseudoTerminal terminal;
    if (terminal.name().isEmpty())
        GTEST_SKIP() << "no pseudo terminal";
    TempFolder temp;
    const QString name = QStringLiteral("src/zeile\n\x1b]0;Titel\x07\x1b[2Jende.jpg");
    temp.write(name, "AAA");
    const auto sources = hashFiles(temp.file("src"));
    const CliRun run = runCli({"stamp", "--output", "out", "--text", "T", name}, temp.path(), {},
                              "2>" + terminal.name());
    EXPECT_EQ(run.exitCode, 0);
    const QByteArray shown = terminal.drain();
    // the line is redrawn ("\r", clear to its end) and names the file with symbols
    EXPECT_TRUE(shown.contains("[1/1] src/zeile␊␛]0;Titel␇␛[2Jende.jpg")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("\x1b[2J")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("\x1b]0;")) << shown.toStdString();
    EXPECT_FALSE(shown.contains('\n')) << shown.toStdString();
    EXPECT_EQ(hashFiles(temp.file("src")), sources);
}
