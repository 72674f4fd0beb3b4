#include "cli/stampcommand.h"

#include "job/copyrightoptions.h"
#include "job/savedoptions.h"
#include "stamping/runstamping.h"
#include "stamping/visibletext.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitUsage = 2;

// Qt's own warnings (a missing runtime folder and the like) are no concern of
// the caller; the command reports for itself.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

void printError(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// The job of one command: the options as the windows would hold them, and the files.
struct StampJob {
    CopyrightOptions options;
    QStringList files;
    int threads = 1;
    bool saveDefaults = false;
    bool json = false;
};

// The command's answers to the run's questions.
class CommandInputs final : public StampingInputs {
public:
    explicit CommandInputs(StampJob& job) : job_(job) {}

    bool saveAsDefault() override { return job_.saveDefaults; }
    bool saveCurrentOptions() override { return SaveCurrentOptions(job_.options); }
    QString outputFolder() override { return job_.options.outputFolder; }
    void setOutputFolder(const QString& folder) override { job_.options.outputFolder = folder; }
    bool useTypedText() override { return job_.options.useText; }
    QString typedText() override { return job_.options.copyrightText; }
    QString textFilePath() override { return job_.options.copyrightFile; }
    int rowCount() override { return static_cast<int>(job_.files.size()) + 1; }
    QString rowPath(int row) override { return job_.files.at(row - 1); }
    bool rowRemoved(int) override { return false; }
    NoticeChoice notice() override {
        return {job_.options.noticeOn, job_.options.noticeText, job_.options.enlarge,
                job_.options.copNaming};
    }

private:
    StampJob& job_;
};

// A progress line on a terminal; nothing when standard error is redirected.
class TerminalProgress final : public StampingProgress {
public:
    explicit TerminalProgress(int total) : total_(total), enabled_(::isatty(STDERR_FILENO)) {}
    // Clears the line before anything else is written.
    void finish() {
        if (enabled_ && done_ > 0)
            std::fprintf(stderr, "\r\033[K");
        enabled_ = false;
    }
    void fileFinished(const FileOutcome& outcome) override {
        ++done_;
        if (enabled_)
            std::fprintf(stderr, "\r\033[K[%d/%d] %s", done_, total_,
                         outcome.source.toLocal8Bit().constData());
    }

private:
    int total_;
    bool enabled_;
    int done_ = 0;
};

// Lone LF and lone CR become CR LF, the line break of embedded texts.
QString withCrLf(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

// Parses the arguments over the stored options; a German usage error otherwise.
std::optional<StampJob> parseJob(const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Versieht Bilddateien mit einem eingebetteten Copyright."));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("Ausgabeordner"),
                                    QStringLiteral("DIR"));
    const QCommandLineOption text(QStringLiteral("text"), QStringLiteral("Copyright-Text"),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption textFile(QStringLiteral("text-file"),
                                      QStringLiteral("Copyright-Datei (Textdatei)"),
                                      QStringLiteral("PATH"));
    const QCommandLineOption notice(QStringLiteral("notice"),
                                    QStringLiteral("sichtbarer Hinweis (schaltet ihn ein)"),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption noNotice(QStringLiteral("no-notice"),
                                      QStringLiteral("kein sichtbarer Hinweis"));
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("enlarge oder direct"),
                                  QStringLiteral("enlarge|direct"));
    const QCommandLineOption copName(QStringLiteral("cop-name"),
                                     QStringLiteral("Bild als \"Bild-cop.jpg\" neben der Quelle"));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"),
                                       QStringLiteral("Bild in die Ausgabedatei schreiben"));
    const QCommandLineOption jobs(QStringLiteral("jobs"), QStringLiteral("Anzahl der Threads"),
                                  QStringLiteral("N"));
    const QCommandLineOption saveDefaults(QStringLiteral("save-defaults"),
                                          QStringLiteral("Optionen als Standard speichern"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Ergebnis als JSON"));
    parser.addOptions({output, text, textFile, notice, noNotice, mode, copName, overwrite, jobs,
                       saveDefaults, json});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("zu stempelnde Dateien"),
                                 QStringLiteral("FILE..."));

    const auto usage = [&](const QString& reason) {
        *error = reason;
        return std::nullopt;
    };
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            return usage(QStringLiteral("Unbekannte Option „%1“.")
                             .arg(parser.unknownOptionNames().constFirst()));
        const QString text = parser.errorText();
        const QString name = text.section(QLatin1Char('\''), 1, 1);
        if (text.startsWith(QLatin1String("Missing value")))
            return usage(QStringLiteral("Nach „%1“ fehlt der Wert.").arg(name));
        if (text.startsWith(QLatin1String("Unexpected value")))
            return usage(QStringLiteral("„%1“ erwartet keinen Wert.").arg(name));
        return usage(text);
    }
    const auto exclusive = [&](const QCommandLineOption& a, const QCommandLineOption& b) {
        return parser.isSet(a) && parser.isSet(b);
    };
    if (exclusive(text, textFile))
        return usage(QStringLiteral("--text und --text-file schließen einander aus."));
    if (exclusive(notice, noNotice))
        return usage(QStringLiteral("--notice und --no-notice schließen einander aus."));
    if (exclusive(copName, overwrite))
        return usage(QStringLiteral("--cop-name und --overwrite schließen einander aus."));

    StampJob job;
    job.options = LoadOptions(StartOptions());
    job.files = parser.positionalArguments();
    if (job.files.isEmpty())
        return usage(QStringLiteral("Keine Datei angegeben."));
    if (parser.isSet(output))
        job.options.outputFolder = parser.value(output);
    if (parser.isSet(text)) {
        job.options.useText = true;
        job.options.copyrightText = withCrLf(parser.value(text));
    }
    if (parser.isSet(textFile)) {
        job.options.useText = false;
        job.options.copyrightFile = parser.value(textFile);
    }
    if (parser.isSet(notice)) {
        job.options.noticeOn = true;
        job.options.noticeText = parser.value(notice);
    }
    if (parser.isSet(noNotice))
        job.options.noticeOn = false;
    if (parser.isSet(mode)) {
        const QString value = parser.value(mode);
        if (value != QLatin1String("enlarge") && value != QLatin1String("direct"))
            return usage(
                QStringLiteral("--mode erwartet enlarge oder direct, nicht „%1“.").arg(value));
        job.options.enlarge = value == QLatin1String("enlarge");
    }
    if (parser.isSet(copName))
        job.options.copNaming = true;
    if (parser.isSet(overwrite))
        job.options.copNaming = false;
    job.threads = QThread::idealThreadCount();
    if (parser.isSet(jobs)) {
        bool ok = false;
        job.threads = parser.value(jobs).toInt(&ok);
        if (!ok || job.threads < 1 || job.threads > 1024)
            return usage(QStringLiteral("--jobs erwartet eine Zahl von 1 bis 1024."));
    }
    job.saveDefaults = parser.isSet(saveDefaults);
    job.json = parser.isSet(json);
    return job;
}

QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// One array, keys in a fixed order: source, output, ok, error (null when ok).
QByteArray reportAsJson(const StampingReport& report) {
    QByteArray out = "[";
    for (std::size_t i = 0; i < report.files.size(); ++i) {
        const FileOutcome& file = report.files[i];
        if (i > 0)
            out += ',';
        out += "{\"source\":" + jsonString(file.source) + ",\"output\":" + jsonString(file.output) +
               ",\"ok\":" + (file.ok ? "true" : "false") +
               ",\"error\":" + (file.ok ? QByteArray("null") : jsonString(file.error)) + '}';
    }
    return out + "]\n";
}

} // namespace

int StampCommandMain(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Drawing the notice needs fonts, hence a GUI application; offscreen, so no
    // display is needed. The user's arguments are parsed by us alone.
    qInstallMessageHandler(quietQtMessages);
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    int appArgc = 3;
    char* appArgv[] = {argv[0], platformOption, platform, nullptr};
    QGuiApplication app(appArgc, appArgv);

    arguments.removeAt(1); // "stamp"
    QString error;
    std::optional<StampJob> job = parseJob(arguments, &error);
    if (!job) {
        printError(QStringLiteral("stampora-cli stamp: %1").arg(error));
        printError(QStringLiteral(
            "Aufruf: stampora-cli stamp [--output DIR] [--text TEXT | --text-file PATH] "
            "[--notice TEXT | --no-notice] [--mode enlarge|direct] [--cop-name | --overwrite] "
            "[--jobs N] [--save-defaults] [--json] FILE..."));
        return kExitUsage;
    }

    CommandInputs inputs(*job);
    TerminalProgress progress(static_cast<int>(job->files.size()));
    const StampingReport report = RunStamping(inputs, progress, {job->threads, {}});
    progress.finish();
    if (!report.started()) {
        printError(report.startError);
        return kExitUsage;
    }
    if (report.optionsNotSaved)
        printError(QStringLiteral("Die Optionen konnten nicht als Standard gespeichert werden."));
    if (job->json) {
        const QByteArray json = reportAsJson(report);
        std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    } else {
        for (const FileOutcome& file : report.files)
            if (!file.ok)
                // one line per file, also for names and reasons with line breaks
                printError(VisibleLine(QStringLiteral("%1: %2").arg(file.source, file.error)));
    }
    return report.failedCount() == 0 ? kExitOk : kExitSomeFailed;
}
