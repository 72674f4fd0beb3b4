#include "cli/commandline.h"

#include "cli/consoleoutput.h"
#include "cli/exitcodes.h"

#include <QCommandLineOption>
#include <QRegularExpression>

QString versionLine() {
    return QStringLiteral("stampora-cli %1\n").arg(QStringLiteral(STAMPORA_VERSION));
}

namespace {

// The parser describes a wrong call in English; its two texts besides an
// unknown option name the option in quotes.
QString germanParseError(const QString& english) {
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    if (const auto m = missing.match(english); m.hasMatch())
        return QStringLiteral("Nach „%1“ fehlt der Wert. Hilfe mit --help.").arg(m.captured(1));
    if (const auto m = unexpected.match(english); m.hasMatch())
        return QStringLiteral("„%1“ nimmt keinen Wert an. Hilfe mit --help.").arg(m.captured(1));
    return QStringLiteral("Falscher Aufruf. Hilfe mit --help.");
}

} // namespace

int parseCommandLine(QCommandLineParser& parser, const QStringList& args, const QString& help) {
    const QCommandLineOption helpOption({"h", "help"}, "Hilfe");
    const QCommandLineOption versionOption({"v", "version"}, "Version");
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    if (!parser.parse(args)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty()) {
            ConsoleOutput::error(germanParseError(parser.errorText()));
            return kExitUsage;
        }
        // show the option as it was typed ("-x" or "--x")
        QString typed = unknown.first();
        for (const QString& arg : args.mid(1))
            if (arg.startsWith('-') && arg.section('=', 0, 0).endsWith(QLatin1Char('-') + typed)) {
                typed = arg.section('=', 0, 0);
                break;
            }
        ConsoleOutput::error(
            QStringLiteral("Unbekannte Option „%1“. Hilfe mit --help.").arg(typed));
        return kExitUsage;
    }
    ConsoleOutput out;
    if (parser.isSet(helpOption))
        out.write(QStringView(help));
    else if (parser.isSet(versionOption))
        out.write(QStringView(versionLine()));
    else
        return -1;
    return out.finish() ? kExitOk : kExitFailed;
}
