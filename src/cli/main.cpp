// stampora-cli: the headless companion (read and stamp). Dispatches to one
// command per file; a command is a function from its arguments to an exit code.
#include "cli/commandline.h"
#include "cli/consoleoutput.h"
#include "cli/exitcodes.h"
#include "cli/readcommand.h"
#include "cli/stampcommand.h"
#include "cli/stopsignals.h"
#include "core/base/filename.h"
#include "core/base/resourcelimits.h"

#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct CliCommand {
    const char* name;
    const char* summary; // German, one line
    int (*run)(const QStringList& args);
};

// Every command; add a new one here.
const CliCommand kCommands[] = {
    {"read", "eingebettete Copyright-Blöcke aus Dateien lesen", runRead},
    {"stamp", "Dateien mit dem Copyright versehen", runStamp},
};

QString help() {
    QString text = QStringLiteral("Aufruf: stampora-cli BEFEHL [OPTIONEN] ...\n"
                                  "\n"
                                  "Befehle:\n");
    for (const CliCommand& c : kCommands)
        text += QStringLiteral("  %1  %2\n").arg(QString::fromLatin1(c.name), -8).arg(c.summary);
    text += QStringLiteral("\n"
                           "Optionen:\n"
                           "  -h, --help     Diese Hilfe anzeigen\n"
                           "  -v, --version  Die Version anzeigen\n"
                           "\n"
                           "Die Hilfe eines Befehls zeigt \"stampora-cli BEFEHL --help\".\n");
    return text;
}

// Qt's own warnings (a missing runtime folder and the like) are no concern of
// the caller; the commands report for themselves.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        ConsoleOutput::error(message);
}

// Only the visible notice draws text. Reading, copy-only stamping and the help
// start without the platform plugin and the font configuration, which is most
// of the start-up time of a short run.
bool mayDrawText(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "stamp") != 0)
        return false;
    for (int i = 2; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--no-notice") == 0)
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // The visible notice draws text, which needs a GUI application: offscreen, so
    // no display is needed. Qt sees only the platform; the arguments stay ours.
    // The stop signals first, before Qt or a run starts a thread of its own.
    blockStopSignals();
    startStopSignalThread();
    ConsoleOutput::guardStandardStreams();
    raiseOpenFileLimit(); // many files in flight on many threads need them
    qInstallMessageHandler(quietQtMessages);
    ConsoleOutput::keepLibrariesQuiet();
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    int guiArgc = 3;
    int coreArgc = 1;
    char* appArgv[] = {argv[0], platformOption, platform, nullptr};
    const std::unique_ptr<QCoreApplication> app =
        mayDrawText(argc, argv) ? std::make_unique<QGuiApplication>(guiArgc, appArgv)
                                : std::make_unique<QCoreApplication>(coreArgc, appArgv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(fileNameFromBytes(argv[i])); // names need not be UTF-8
    QCoreApplication::setApplicationName(QStringLiteral("stampora-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(STAMPORA_VERSION));

    QCommandLineParser parser;
    // everything behind the command belongs to the command
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addPositionalArgument("BEFEHL", "Befehl");
    if (const int code = parseCommandLine(parser, arguments, help()); code >= 0)
        return code;
    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        ConsoleOutput::error(QStringLiteral("Kein Befehl angegeben. Hilfe mit --help."));
        return kExitUsage;
    }
    const QString name = args.takeFirst();
    for (const CliCommand& c : kCommands)
        if (name == QLatin1String(c.name))
            return c.run(args);
    ConsoleOutput::error(QStringLiteral("Unbekannter Befehl „%1“. Hilfe mit --help.").arg(name));
    return kExitUsage;
}
