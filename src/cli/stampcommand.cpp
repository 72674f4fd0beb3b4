#include "cli/stampcommand.h"

#include "cli/commandline.h"
#include "cli/consoleoutput.h"
#include "cli/exitcodes.h"
#include "cli/jsonstring.h"
#include "cli/keptfolders.h"
#include "cli/namelist.h"
#include "core/base/filename.h"
#include "core/job/copyrightoptions.h"
#include "core/job/savedoptions.h"
#include "core/stamping/runstamping.h"
#include "core/stamping/visibletext.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QThread>

#include <cstdio>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

const QString kHelp = QStringLiteral(
    "Aufruf: stampora-cli stamp [OPTIONEN] DATEI...\n"
    "\n"
    "Versieht die Dateien wie \"Copyright setzen\" mit dem Copyright: eine Kopie im\n"
    "Ausgabeordner (bei gleichem Namen gilt die spätere Datei), auf Wunsch mit dem\n"
    "sichtbaren Hinweis, und ein eingebetteter Copyright-Block am Ende. Ohne Angabe\n"
    "gilt jede Option so, wie sie gespeichert ist.\n"
    "\n"
    "Optionen:\n"
    "  --output DIR           Ausgabeordner (wird angelegt, wenn er fehlt)\n"
    "  --text TEXT            Copyright-Text\n"
    "  --text-file PATH       Copyright-Datei (ihre Zeilen ohne Trennzeichen verbunden)\n"
    "  --notice TEXT          sichtbarer Hinweis; schaltet ihn ein\n"
    "  --no-notice            kein sichtbarer Hinweis\n"
    "  --mode enlarge|direct  Hinweis unter dem Bild oder direkt im Bild\n"
    "  --cop-name             Bild als \"bild-cop.jpg\" neben der Quelle speichern\n"
    "  --overwrite            Bild in die Ausgabedatei schreiben\n"
    "  --metadata             den Copyright-Text auch in EXIF (Copyright), XMP\n"
    "                         (dc:rights) und IPTC (Copyright Notice) schreiben\n"
    "  --strip-metadata       neu kodierte Bilder ohne die Metadaten der Quelle\n"
    "                         (EXIF, XMP, IPTC, Farbprofil, Auflösung, Kommentare)\n"
    "  --keep-quality         JPEG-Bilder behalten ihre Qualität und Unterabtastung:\n"
    "                         nur die Blöcke unter dem Hinweis werden neu kodiert\n"
    "                         (andere Bilder wie bisher mit Qualität 100)\n"
    "  --no-keep-quality      JPEG-Bilder mit Qualität 100 neu kodieren\n"
    "  --jobs N               Anzahl der Threads (Vorgabe: Anzahl der Kerne)\n"
    "  --save-defaults        die verwendeten Optionen als Standard speichern\n"
    "  --json                 Ergebnis als JSON-Feld, je Datei\n"
    "                         {\"source\", \"output\", \"ok\", \"error\", \"path\"};\n"
    "                         \"path\": \"keep-quality\" oder \"quality-100\" für ein\n"
    "                         versehenes Bild mit Hinweis, sonst null\n"
    "  --files-from FILE      weitere Dateinamen aus FILE, einer je Zeile\n"
    "                         (\"-\": Standardeingabe); nach den Argumenten\n"
    "  -0, --null             die Namen der Liste enden mit NUL (find -print0)\n"
    "  --keep-folders BASE    jede Ausgabe in den Ordner, der dem Ordner der Quelle\n"
    "                         unter BASE entspricht (wird angelegt); eine Quelle\n"
    "                         außerhalb von BASE gilt als fehlgeschlagen\n"
    "  -h, --help             Diese Hilfe anzeigen\n"
    "  -v, --version          Die Version anzeigen\n"
    "\n"
    "Rückgabewert: 0 wenn jede Datei versehen wurde, 1 wenn eine Datei nicht\n"
    "versehen werden konnte, 2 bei falschem Aufruf oder einem Fehler vor der ersten\n"
    "Datei (dann wird nichts geschrieben).\n");

// The job of one command: the options as the windows would hold them, and the files.
struct StampJob {
    CopyrightOptions options;
    QStringList files;
    int threads = 1;
    bool saveDefaults = false;
    bool json = false;
    std::optional<KeptFolders> keptFolders; // --keep-folders
    bool keepMetadata = true;
};

// The command's answers to the run's questions.
class CommandInputs final : public StampingInputs {
public:
    explicit CommandInputs(StampJob& job) : job_(job) {}

    // the command stores its options itself, once the run has started
    bool saveAsDefault() override { return false; }
    bool saveCurrentOptions() override { return false; }
    QString outputFolder() override { return job_.options.outputFolder; }
    void setOutputFolder(const QString& folder) override { job_.options.outputFolder = folder; }
    bool useTypedText() override { return job_.options.useText; }
    QString typedText() override { return job_.options.copyrightText; }
    QString textFilePath() override { return job_.options.copyrightFile; }
    int rowCount() override { return static_cast<int>(job_.files.size()) + 1; }
    QString rowPath(int row) override { return job_.files.at(row - 1); }
    bool rowRemoved(int) override { return false; }
    bool rowOutputSubfolder(int row, QString* subfolder, QString* reason) override {
        return !job_.keptFolders || job_.keptFolders->subfolderOf(rowPath(row), subfolder, reason);
    }
    NoticeChoice notice() override {
        return {job_.options.noticeOn, job_.options.noticeText, job_.options.enlarge,
                job_.options.copNaming};
    }
    bool keepMetadata() override { return job_.keepMetadata; }
    bool copyrightInMetadata() override { return job_.options.copyrightInMetadata; }
    bool keepQuality() override { return job_.options.keepQuality; }

private:
    StampJob& job_;
};

// A progress line on a terminal; nothing when standard error is redirected.
// `started` runs once the first file is about to be stamped.
class TerminalProgress final : public StampingProgress {
public:
    TerminalProgress(int total, std::function<void()> started)
        : total_(total), enabled_(::isatty(STDERR_FILENO)), started_(std::move(started)) {}
    void processingStarted() override {
        if (started_)
            started_();
    }
    void fileFinished(const FileOutcome& outcome) override {
        ++done_;
        if (enabled_)
            // the name's escape sequences and line breaks shown, not obeyed
            std::fprintf(ConsoleOutput::errors(), "\r\033[K[%d/%d] %s", done_, total_,
                         fileNameToBytes(visibleLine(outcome.source)).constData());
    }
    // Clears the line before anything else is written.
    void finish() {
        if (enabled_ && done_ > 0)
            std::fprintf(ConsoleOutput::errors(), "\r\033[K");
        enabled_ = false;
    }

private:
    int total_;
    bool enabled_;
    std::function<void()> started_;
    int done_ = 0;
};

// Lone LF and lone CR become CR LF, the line break of embedded texts.
QString withCrLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

struct StampOptions {
    QCommandLineOption output{QStringLiteral("output"), QStringLiteral("Ausgabeordner"),
                              QStringLiteral("DIR")};
    QCommandLineOption text{QStringLiteral("text"), QStringLiteral("Copyright-Text"),
                            QStringLiteral("TEXT")};
    QCommandLineOption textFile{QStringLiteral("text-file"), QStringLiteral("Copyright-Datei"),
                                QStringLiteral("PATH")};
    QCommandLineOption notice{QStringLiteral("notice"), QStringLiteral("sichtbarer Hinweis"),
                              QStringLiteral("TEXT")};
    QCommandLineOption noNotice{QStringLiteral("no-notice"), QStringLiteral("kein Hinweis")};
    QCommandLineOption mode{QStringLiteral("mode"), QStringLiteral("enlarge oder direct"),
                            QStringLiteral("MODE")};
    QCommandLineOption copName{QStringLiteral("cop-name"), QStringLiteral("-cop.jpg")};
    QCommandLineOption overwrite{QStringLiteral("overwrite"), QStringLiteral("überschreiben")};
    QCommandLineOption metadata{QStringLiteral("metadata"), QStringLiteral("Metadaten")};
    QCommandLineOption stripMetadata{QStringLiteral("strip-metadata"),
                                     QStringLiteral("ohne Metadaten")};
    QCommandLineOption keepQuality{QStringLiteral("keep-quality"),
                                   QStringLiteral("eigene Qualität")};
    QCommandLineOption noKeepQuality{QStringLiteral("no-keep-quality"),
                                     QStringLiteral("Qualität 100")};
    QCommandLineOption jobs{QStringLiteral("jobs"), QStringLiteral("Threads"), QStringLiteral("N")};
    QCommandLineOption saveDefaults{QStringLiteral("save-defaults"), QStringLiteral("speichern")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("JSON")};
    QCommandLineOption keepFolders{QStringLiteral("keep-folders"),
                                   QStringLiteral("Ordnerbaum beibehalten"),
                                   QStringLiteral("BASE")};
};

// The job of the parsed arguments over the stored options; a German usage error otherwise.
std::optional<StampJob> jobFrom(const QCommandLineParser& parser, const StampOptions& o,
                                const NameListOptions& lists, QString* error) {
    const auto usage = [&](const QString& reason) {
        *error = reason;
        return std::nullopt;
    };
    const auto exclusive = [&](const QCommandLineOption& a, const QCommandLineOption& b) {
        return parser.isSet(a) && parser.isSet(b);
    };
    if (exclusive(o.text, o.textFile))
        return usage(QStringLiteral("--text und --text-file schließen einander aus."));
    if (exclusive(o.notice, o.noNotice))
        return usage(QStringLiteral("--notice und --no-notice schließen einander aus."));
    if (exclusive(o.copName, o.overwrite))
        return usage(QStringLiteral("--cop-name und --overwrite schließen einander aus."));
    if (exclusive(o.keepQuality, o.noKeepQuality))
        return usage(
            QStringLiteral("--keep-quality und --no-keep-quality schließen einander aus."));

    StampJob job;
    QString listError;
    if (!collectNames(parser, lists, &job.files, &listError))
        return usage(listError);
    // an empty list from --files-from (find found nothing) is no wrong call
    if (job.files.isEmpty() && !parser.isSet(lists.filesFrom))
        return usage(QStringLiteral("Keine Datei angegeben."));
    job.options = loadOptions(startOptions());
    if (parser.isSet(o.output))
        job.options.outputFolder = parser.value(o.output);
    if (parser.isSet(o.text)) {
        job.options.useText = true;
        job.options.copyrightText = parser.value(o.text);
    }
    // typed or stored, the text's line breaks are CR LF, as the text field gives them
    job.options.copyrightText = withCrLf(job.options.copyrightText);
    if (parser.isSet(o.textFile)) {
        job.options.useText = false;
        job.options.copyrightFile = parser.value(o.textFile);
    }
    if (parser.isSet(o.notice)) {
        job.options.noticeOn = true;
        job.options.noticeText = parser.value(o.notice);
    }
    if (parser.isSet(o.noNotice))
        job.options.noticeOn = false;
    if (parser.isSet(o.mode)) {
        const QString value = parser.value(o.mode);
        if (value != QLatin1String("enlarge") && value != QLatin1String("direct"))
            return usage(
                QStringLiteral("--mode erwartet enlarge oder direct, nicht „%1“.").arg(value));
        job.options.enlarge = value == QLatin1String("enlarge");
    }
    if (parser.isSet(o.copName))
        job.options.copNaming = true;
    if (parser.isSet(o.overwrite))
        job.options.copNaming = false;
    if (parser.isSet(o.metadata))
        job.options.copyrightInMetadata = true;
    job.keepMetadata = !parser.isSet(o.stripMetadata);
    if (parser.isSet(o.keepQuality))
        job.options.keepQuality = true;
    if (parser.isSet(o.noKeepQuality))
        job.options.keepQuality = false;
    job.threads = QThread::idealThreadCount();
    if (parser.isSet(o.jobs)) {
        bool ok = false;
        job.threads = parser.value(o.jobs).toInt(&ok);
        if (!ok || job.threads < 1 || job.threads > 1024)
            return usage(QStringLiteral("--jobs erwartet eine Zahl von 1 bis 1024."));
    }
    if (parser.isSet(o.keepFolders)) {
        const QString base = parser.value(o.keepFolders);
        if (!isFolderName(base))
            return usage(
                QStringLiteral("--keep-folders erwartet einen Ordner, „%1“ ist keiner.").arg(base));
        job.keptFolders.emplace(base);
    }
    job.saveDefaults = parser.isSet(o.saveDefaults);
    job.json = parser.isSet(o.json);
    return job;
}

// How the file's picture with the notice was made; null for a file without one
// (and for a failed file).
QString jsonNoticePath(NoticePath path) {
    switch (path) {
    case NoticePath::KeepQuality:
        return QStringLiteral("\"keep-quality\"");
    case NoticePath::Quality100:
        return QStringLiteral("\"quality-100\"");
    case NoticePath::None:
        break;
    }
    return QStringLiteral("null");
}

// One array on one line, keys in a fixed order: source, output, ok, error
// (null when ok), path.
QString reportAsJson(const StampingReport& report) {
    QString out = QStringLiteral("[");
    for (std::size_t i = 0; i < report.files.size(); ++i) {
        const FileOutcome& file = report.files[i];
        if (i > 0)
            out += QLatin1Char(',');
        out += QStringLiteral("{\"source\":%1,\"output\":%2,\"ok\":%3,\"error\":%4,\"path\":%5}")
                   .arg(jsonString(file.source), jsonString(file.output),
                        file.ok ? QStringLiteral("true") : QStringLiteral("false"),
                        file.ok ? QStringLiteral("null") : jsonString(file.error),
                        file.ok ? jsonNoticePath(file.noticePath) : QStringLiteral("null"));
    }
    return out + QStringLiteral("]\n");
}

} // namespace

int runStamp(const QStringList& args) {
    QCommandLineParser parser;
    const StampOptions options;
    const NameListOptions lists;
    parser.addOptions({options.output, options.text, options.textFile, options.notice,
                       options.noNotice, options.mode, options.copName, options.overwrite,
                       options.metadata, options.stripMetadata, options.keepQuality,
                       options.noKeepQuality, options.jobs, options.saveDefaults, options.json,
                       options.keepFolders, lists.filesFrom, lists.null});
    parser.addPositionalArgument(QStringLiteral("DATEI"), QStringLiteral("Datei"));
    if (const int code = parseCommandLine(parser, QStringList{"stampora-cli stamp"} + args, kHelp);
        code >= 0)
        return code;
    QString error;
    std::optional<StampJob> job = jobFrom(parser, options, lists, &error);
    if (!job) {
        ConsoleOutput::error(error + QStringLiteral(" Hilfe mit --help."));
        return kExitUsage;
    }

    // Stored only once the run has started: a run that stops before the first
    // file leaves the defaults as they were. The options as typed (the output
    // folder without the separator the run adds); the step-1 pattern and folder
    // stay as stored, the command has none of its own.
    const CopyrightOptions asTyped = job->options;
    bool optionsNotSaved = false;
    CommandInputs inputs(*job);
    TerminalProgress progress(static_cast<int>(job->files.size()), [&] {
        if (job->saveDefaults && !saveRunOptions(asTyped))
            optionsNotSaved = true;
    });
    const StampingReport report = RunStamping(inputs, progress, {job->threads, {}});
    progress.finish();
    if (!report.started()) {
        ConsoleOutput::error(report.startError);
        return kExitUsage;
    }
    if (optionsNotSaved)
        ConsoleOutput::error(
            QStringLiteral("Die Optionen konnten nicht als Standard in „%1“ gespeichert werden.")
                .arg(SettingsStore().filePath(QString::fromLatin1(kSettingsApplication))));
    // what a file's output lacks without failing it, in either form of output
    for (const FileOutcome& file : report.files)
        for (const QString& note : file.notes)
            ConsoleOutput::error(visibleLine(QStringLiteral("%1: %2").arg(file.source, note)));
    ConsoleOutput out;
    if (job->json)
        out.write(QStringView(reportAsJson(report)));
    else
        for (const FileOutcome& file : report.files)
            if (!file.ok)
                // one line per file, also for names and reasons with line breaks
                ConsoleOutput::error(QStringLiteral("%1: %2").arg(file.source, file.error));
    if (!out.finish())
        return kExitFailed;
    return report.failedCount() == 0 && !optionsNotSaved ? kExitOk : kExitFailed;
}
