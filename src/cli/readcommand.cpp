#include "cli/readcommand.h"

#include "cli/commandline.h"
#include "cli/consoleoutput.h"
#include "cli/exitcodes.h"
#include "cli/jsonstring.h"
#include "cli/namelist.h"
#include "core/base/filebytes.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"
#include "core/base/foldertree.h"
#include "core/imaging/copyrightmetadata.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/visibletext.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

const QString kHelp = QStringLiteral(
    "Aufruf: stampora-cli read [--json] DATEI...\n"
    "        stampora-cli read [OPTIONEN] -r ORDNER...\n"
    "\n"
    "Liest die eingebetteten Copyright-Blöcke der Dateien und zeigt je Eintrag die\n"
    "erste Zeile des Copyright-Textes, wie die Liste des Betrachters. Steuerzeichen\n"
    "erscheinen als sichtbare Symbole. Bei mehreren Dateien steht über den Einträgen\n"
    "jeder Datei eine Zeile \"==> DATEI <==\".\n"
    "\n"
    "Optionen:\n"
    "  --json             Ein JSON-Feld mit einem Objekt je Datei ausgeben:\n"
    "                     {\"file\", \"error\", \"truncated\", \"entries\": [{\"first_line\", "
    "\"text\"}]},\n"
    "                     die Texte genau so, wie sie in der Datei stehen\n"
    "  -r, --recursive    jede normale Datei in den angegebenen Ordnern und darunter,\n"
    "                     nach Pfad sortiert, ohne symbolischen Verknüpfungen zu\n"
    "                     folgen; eine Datei ohne Einträge wird genannt, und eine\n"
    "                     Zusammenfassung steht auf der Standardfehlerausgabe\n"
    "  --files-from FILE  weitere Dateinamen aus FILE, einer je Zeile\n"
    "                     (\"-\": Standardeingabe); nach den Argumenten\n"
    "  -0, --null         die Namen der Liste enden mit NUL (find -print0)\n"
    "  --metadata         auch das Copyright aus EXIF (Copyright), XMP (dc:rights)\n"
    "                     und IPTC (Copyright Notice): je Ort mit Wert eine Zeile\n"
    "                     nach den Einträgen; mit --json der Schlüssel \"metadata\":\n"
    "                     {\"exif_copyright\", \"xmp_rights\", \"iptc_copyright_notice\"}\n"
    "  -h, --help         Diese Hilfe anzeigen\n"
    "  -v, --version      Die Version anzeigen\n"
    "\n"
    "Rückgabewert: 0 wenn jede Datei gelesen wurde (mit oder ohne Einträge),\n"
    "1 wenn eine Datei nicht gelesen werden konnte, 2 bei falschem Aufruf.\n");

QString truncatedNote(const QString& file) {
    return QStringLiteral("Die Datei „%1“ enthält mehr als %2 Einträge; nur die ersten "
                          "werden gezeigt.")
        .arg(file)
        .arg(kMaxCopyrightEntries);
}

// A file to read, or a folder of a tree that could not be gone through.
struct ReadItem {
    QString path;
    QString error; // set for such a folder
};

// How the files went, for the summary of --recursive.
struct ReadTally {
    int withEntries = 0;
    int withoutEntries = 0;
    int unreadable = 0;

    void count(bool ok, std::size_t entries) {
        if (!ok)
            ++unreadable;
        else if (entries > 0)
            ++withEntries;
        else
            ++withoutEntries;
    }
    // a file whose entries were shown from it changed meanwhile
    void changedWhileShown() {
        --withEntries;
        ++unreadable;
    }
    QString summary() const {
        const int read = withEntries + withoutEntries;
        return QStringLiteral("%1 %2 gelesen: %3 mit Einträgen, %4 ohne; %5 nicht lesbar.")
            .arg(read)
            .arg(read == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien"))
            .arg(withEntries)
            .arg(withoutEntries)
            .arg(unreadable);
    }
};

// The names as given; with `recursive`, each folder replaced by its tree.
QList<ReadItem> itemsOf(const QStringList& names, bool recursive) {
    QList<ReadItem> items;
    for (const QString& name : names) {
        if (!recursive || !isFolderName(name)) {
            items.append({name, {}});
            continue;
        }
        for (const TreeEntry& entry : listFolderTree(name))
            items.append({entry.path,
                          entry.errorNumber == 0
                              ? QString()
                              : QStringLiteral("Der Ordner „%1“ konnte nicht gelesen werden: %2.")
                                    .arg(entry.path, describeFileError(entry.errorNumber))});
    }
    return items;
}

// The blocks of a file; none for a folder that could not be gone through. The
// entries' bytes are read at once (up to the bound of what is kept), so the
// file may change afterwards without changing the answer.
CopyrightScan scanOf(const ReadItem& item) {
    if (!item.error.isEmpty())
        return {};
    CopyrightScan scan = ReadCopyrightBlocks(item.path);
    if (scan.ok())
        scan.readIntoMemory(kMaxBytesKeptInMemory);
    return scan;
}

// Entries beyond the bound are shown from the file: a change meanwhile is
// reported after them (the exit code tells), never taken for a success.
void checkUnchangedAfterShowing(CopyrightScan& scan, ReadTally& tally) {
    if (scan.checkUnchanged())
        return;
    ConsoleOutput::error(scan.error());
    tally.changedWhileShown();
}

QString errorOf(const ReadItem& item, const CopyrightScan& scan) {
    return item.error.isEmpty() ? scan.error() : item.error;
}

// Pieces of an entry's text; the first line is the start of the text.
auto textPiece(const CopyrightScan& scan, std::size_t i) {
    return [&scan, i](std::size_t offset, std::size_t length) {
        return scan.textBytes(i, offset, length);
    };
}

// The three places of the metadata, in the order they are shown.
struct Carrier {
    const char* label;   // plain output
    const char* jsonKey; // --json
    std::optional<QString> CopyrightCarriers::*value;
};
constexpr Carrier kCarriers[] = {
    {"EXIF Copyright", "exif_copyright", &CopyrightCarriers::exifCopyright},
    {"XMP dc:rights", "xmp_rights", &CopyrightCarriers::xmpRights},
    {"IPTC Copyright Notice", "iptc_copyright_notice", &CopyrightCarriers::iptcCopyrightNotice},
};

void writePlainMetadata(ConsoleOutput& out, const QString& file) {
    const CopyrightCarriers carriers = readCopyrightCarriers(file);
    for (const Carrier& carrier : kCarriers)
        if (const std::optional<QString>& value = carriers.*carrier.value)
            out.write(QStringView(
                QStringLiteral("%1: %2\n").arg(QLatin1String(carrier.label), visibleLine(*value))));
}

QString jsonMetadata(const QString& file) {
    const CopyrightCarriers carriers = readCopyrightCarriers(file);
    QStringList members;
    for (const Carrier& carrier : kCarriers) {
        const std::optional<QString>& value = carriers.*carrier.value;
        members.append(QStringLiteral("\"%1\": %2")
                           .arg(QLatin1String(carrier.jsonKey),
                                value ? jsonString(*value) : QStringLiteral("null")));
    }
    return QStringLiteral(", \"metadata\": {%1}").arg(members.join(QStringLiteral(", ")));
}

// One line per entry, as the viewer lists them; a header per file when there
// are several or a tree was gone through, where a file without entries says so;
// with `metadata`, the copyright of the metadata after the entries.
void writePlain(ConsoleOutput& out, const QList<ReadItem>& items, bool recursive, bool metadata,
                ReadTally& tally) {
    for (const ReadItem& item : items) {
        const QString& file = item.path;
        if (items.size() > 1 || recursive)
            out.write(QStringView(QStringLiteral("==> %1 <==\n").arg(visibleLine(file))));
        CopyrightScan scan = scanOf(item);
        const QString error = errorOf(item, scan);
        tally.count(error.isEmpty(), scan.size());
        if (!error.isEmpty()) {
            ConsoleOutput::error(error);
            continue;
        }
        if (recursive && scan.size() == 0)
            out.write(QStringView(QStringLiteral("(keine Copyright-Einträge)\n")));
        for (std::size_t i = 0; i < scan.size(); ++i) {
            out.writeConverted(scan.firstLineLength(i), textPiece(scan, i), visibleLine);
            out.write(QByteArrayView("\n"));
        }
        checkUnchangedAfterShowing(scan, tally);
        if (scan.truncated())
            ConsoleOutput::error(truncatedNote(file));
        if (metadata)
            writePlainMetadata(out, file);
    }
}

// One array, one object per file in argument order, keys in a fixed order.
void writeJson(ConsoleOutput& out, const QList<ReadItem>& items, bool metadata, ReadTally& tally) {
    out.write(QByteArrayView("["));
    for (qsizetype f = 0; f < items.size(); ++f) {
        const QString& file = items[f].path;
        CopyrightScan scan = scanOf(items[f]);
        const QString error = errorOf(items[f], scan);
        out.write(QByteArrayView(f == 0 ? "\n  " : ",\n  "));
        out.write(QStringView(
            QStringLiteral("{\"file\": %1, \"error\": %2, \"truncated\": %3, "
                           "\"entries\": [")
                .arg(jsonString(file), error.isEmpty() ? QStringLiteral("null") : jsonString(error),
                     scan.truncated() ? QStringLiteral("true") : QStringLiteral("false"))));
        tally.count(error.isEmpty(), scan.size());
        for (std::size_t i = 0; i < scan.size(); ++i) {
            out.write(QByteArrayView(i == 0 ? "{\"first_line\": \"" : ", {\"first_line\": \""));
            out.writeConverted(scan.firstLineLength(i), textPiece(scan, i), jsonEscaped);
            out.write(QByteArrayView("\", \"text\": \""));
            out.writeConverted(scan.textLength(i), textPiece(scan, i), jsonEscaped);
            out.write(QByteArrayView("\"}"));
        }
        out.write(QByteArrayView("]"));
        if (metadata)
            out.write(QStringView(jsonMetadata(file)));
        out.write(QByteArrayView("}"));
        if (error.isEmpty())
            checkUnchangedAfterShowing(scan, tally);
    }
    out.write(QByteArrayView(items.isEmpty() ? "]\n" : "\n]\n"));
}

} // namespace

int runRead(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption jsonOption("json", "JSON");
    const QCommandLineOption recursiveOption({"r", "recursive"}, "Ordner durchgehen");
    const QCommandLineOption metadataOption("metadata", "Metadaten");
    const NameListOptions lists;
    parser.addOptions({jsonOption, recursiveOption, lists.filesFrom, lists.null, metadataOption});
    parser.addPositionalArgument("DATEI", "Datei");
    if (const int code = parseCommandLine(parser, QStringList{"stampora-cli read"} + args, kHelp);
        code >= 0)
        return code;
    QStringList files;
    if (QString error; !collectNames(parser, lists, &files, &error)) {
        ConsoleOutput::error(error + QStringLiteral(" Hilfe mit --help."));
        return kExitUsage;
    }
    // an empty list from --files-from (find found nothing) is no wrong call
    if (files.isEmpty() && !parser.isSet(lists.filesFrom)) {
        ConsoleOutput::error(QStringLiteral("Keine Datei angegeben. Aufruf: stampora-cli read "
                                            "[--json] DATEI... (Hilfe mit --help)"));
        return kExitUsage;
    }
    const bool recursive = parser.isSet(recursiveOption);
    const QList<ReadItem> items = itemsOf(files, recursive);
    ConsoleOutput out;
    ReadTally tally;
    const bool metadata = parser.isSet(metadataOption);
    if (parser.isSet(jsonOption))
        writeJson(out, items, metadata, tally);
    else
        writePlain(out, items, recursive, metadata, tally);
    if (!out.finish())
        return kExitFailed;
    if (recursive)
        ConsoleOutput::error(tally.summary());
    return tally.unreadable == 0 ? kExitOk : kExitFailed;
}
