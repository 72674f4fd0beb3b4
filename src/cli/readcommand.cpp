#include "cli/readcommand.h"

#include "cli/commandline.h"
#include "cli/consoleoutput.h"
#include "cli/exitcodes.h"
#include "cli/jsonstring.h"
#include "cli/namelist.h"
#include "stamping/copyrightblock.h"
#include "stamping/visibletext.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

const QString kHelp = QStringLiteral(
    "Aufruf: stampora-cli read [--json] DATEI...\n"
    "\n"
    "Liest die eingebetteten Copyright-Blöcke der Dateien und zeigt je Eintrag die\n"
    "erste Zeile des Copyright-Textes, wie die Liste des Betrachters. Steuerzeichen\n"
    "erscheinen als sichtbare Symbole. Bei mehreren Dateien steht über den Einträgen\n"
    "jeder Datei eine Zeile \"==> DATEI <==\".\n"
    "\n"
    "Optionen:\n"
    "  --json         Ein JSON-Feld mit einem Objekt je Datei ausgeben:\n"
    "                 {\"file\", \"error\", \"truncated\", \"entries\": [{\"first_line\", "
    "\"text\"}]},\n"
    "                 die Texte genau so, wie sie in der Datei stehen\n"
    "  --files-from FILE  weitere Dateinamen aus FILE, einer je Zeile\n"
    "                 (\"-\": Standardeingabe); nach den Argumenten\n"
    "  -0, --null     die Namen der Liste enden mit NUL (find -print0)\n"
    "  -h, --help     Diese Hilfe anzeigen\n"
    "  -v, --version  Die Version anzeigen\n"
    "\n"
    "Rückgabewert: 0 wenn jede Datei gelesen wurde (mit oder ohne Einträge),\n"
    "1 wenn eine Datei nicht gelesen werden konnte, 2 bei falschem Aufruf.\n");

QString truncatedNote(const QString& file) {
    return QStringLiteral("Die Datei „%1“ enthält mehr als %2 Einträge; nur die ersten "
                          "werden gezeigt.")
        .arg(file)
        .arg(kMaxCopyrightEntries);
}

// Pieces of an entry's text; the first line is the start of the text.
auto textPiece(const CopyrightScan& scan, std::size_t i) {
    return [&scan, i](std::size_t offset, std::size_t length) {
        return scan.textBytes(i, offset, length);
    };
}

// One line per entry, as the viewer lists them; a header per file when there are several.
bool writePlain(ConsoleOutput& out, const QStringList& files) {
    bool allRead = true;
    for (const QString& file : files) {
        if (files.size() > 1)
            out.write(QStringView(QStringLiteral("==> %1 <==\n").arg(visibleLine(file))));
        const CopyrightScan scan = ReadCopyrightBlocks(file);
        if (!scan.ok()) {
            ConsoleOutput::error(scan.error());
            allRead = false;
            continue;
        }
        for (std::size_t i = 0; i < scan.size(); ++i) {
            out.writeConverted(scan.firstLineLength(i), textPiece(scan, i), visibleLine);
            out.write(QByteArrayView("\n"));
        }
        if (scan.truncated())
            ConsoleOutput::error(truncatedNote(file));
    }
    return allRead;
}

// One array, one object per file in argument order, keys in a fixed order.
bool writeJson(ConsoleOutput& out, const QStringList& files) {
    bool allRead = true;
    out.write(QByteArrayView("["));
    for (qsizetype f = 0; f < files.size(); ++f) {
        const QString& file = files[f];
        const CopyrightScan scan = ReadCopyrightBlocks(file);
        out.write(QByteArrayView(f == 0 ? "\n  " : ",\n  "));
        out.write(QStringView(
            QStringLiteral("{\"file\": %1, \"error\": %2, \"truncated\": %3, "
                           "\"entries\": [")
                .arg(JsonString(file),
                     scan.ok() ? QStringLiteral("null") : JsonString(scan.error()),
                     scan.truncated() ? QStringLiteral("true") : QStringLiteral("false"))));
        allRead = allRead && scan.ok();
        for (std::size_t i = 0; i < scan.size(); ++i) {
            out.write(QByteArrayView(i == 0 ? "{\"first_line\": \"" : ", {\"first_line\": \""));
            out.writeConverted(scan.firstLineLength(i), textPiece(scan, i), JsonEscaped);
            out.write(QByteArrayView("\", \"text\": \""));
            out.writeConverted(scan.textLength(i), textPiece(scan, i), JsonEscaped);
            out.write(QByteArrayView("\"}"));
        }
        out.write(QByteArrayView("]}"));
    }
    out.write(QByteArrayView(files.isEmpty() ? "]\n" : "\n]\n"));
    return allRead;
}

} // namespace

int runRead(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption jsonOption("json", "JSON");
    const NameListOptions lists;
    parser.addOptions({jsonOption, lists.filesFrom, lists.null});
    parser.addPositionalArgument("DATEI", "Datei");
    if (const int code = ParseCommandLine(parser, QStringList{"stampora-cli read"} + args, kHelp);
        code >= 0)
        return code;
    QStringList files;
    if (QString error; !CollectNames(parser, lists, &files, &error)) {
        ConsoleOutput::error(error + QStringLiteral(" Hilfe mit --help."));
        return kExitUsage;
    }
    // an empty list from --files-from (find found nothing) is no wrong call
    if (files.isEmpty() && !parser.isSet(lists.filesFrom)) {
        ConsoleOutput::error(QStringLiteral("Keine Datei angegeben. Aufruf: stampora-cli read "
                                            "[--json] DATEI... (Hilfe mit --help)"));
        return kExitUsage;
    }
    ConsoleOutput out;
    const bool allRead = parser.isSet(jsonOption) ? writeJson(out, files) : writePlain(out, files);
    if (!out.finish()) {
        ConsoleOutput::error(QStringLiteral("Die Ausgabe konnte nicht geschrieben werden."));
        return kExitFailed;
    }
    return allRead ? kExitOk : kExitFailed;
}
