#include "core/stamping/stampingmessage.h"

#include "core/base/countednoun.h"
#include "core/stamping/visibletext.h"

namespace {

const QString kTitle = QStringLiteral("Copyright Info");
const QString kSuccess = QStringLiteral("Das Copyright wurde den Dateien erfolgreich hinzugefügt!");
// A box cannot show thousands of lines; the rest of a list is counted.
constexpr int kListedLines = 20;

// Appends "\n<file>: <reason>" for each of `lines`, the first kListedLines of them.
class FileLines {
public:
    explicit FileLines(QString* text) : text_(text) {}
    void add(const QString& source, const QString& reason) {
        if (listed_++ < kListedLines)
            // one line per file, even for a name with a line break in it
            *text_ += QStringLiteral("\n%1: %2").arg(visibleLine(source), reason);
    }
    void finish() const {
        if (listed_ > kListedLines)
            *text_ += QStringLiteral("\n... und %1 weitere").arg(listed_ - kListedLines);
    }

private:
    QString* text_;
    int listed_ = 0;
};

// What the outputs lack without having failed (broken metadata of a source
// left out, a copy whose header could not be rewritten), one line per note.
QString notesOf(const StampingReport& report) {
    qsizetype count = 0;
    for (const FileOutcome& file : report.files)
        count += file.notes.size();
    if (count == 0)
        return {};
    QString text = count == 1 ? QStringLiteral("\n\nHinweis:") : QStringLiteral("\n\nHinweise:");
    FileLines lines(&text);
    for (const FileOutcome& file : report.files)
        for (const QString& note : file.notes)
            lines.add(file.source, note);
    lines.finish();
    return text;
}

} // namespace

MessageBoxRequest stampingMessage(const StampingReport& report) {
    if (!report.started())
        return {report.startError, kTitle, MessageIcon::Warning};
    const int failed = report.failedCount();
    QString notSaved =
        report.optionsNotSaved
            ? QStringLiteral("\n\nDie Optionen konnten nicht als Standard gespeichert werden.")
            : QString();
    if (!report.composedPictureError.isEmpty()) // once per run, not once per picture
        notSaved += QStringLiteral("\n\nDas Zwischenbild konnte nicht gespeichert werden: ") +
                    report.composedPictureError;
    // notes leave a success a success: its text first, word for word
    const QString notes = notesOf(report);
    if (failed == 0)
        return {kSuccess + notes + notSaved, kTitle,
                notSaved.isEmpty() ? MessageIcon::Information : MessageIcon::Warning};

    const int total = static_cast<int>(report.files.size());
    // "0 von 1 Datei", "1 von 2 Dateien"; "Bei dieser Datei" for a single failure
    QString text =
        QStringLiteral("Das Copyright wurde %1 von %2 fehlerfrei hinzugefügt.\n%3\n")
            .arg(QString::number(total - failed),
                 countedNoun(total, QStringLiteral("Datei"), QStringLiteral("Dateien")),
                 failed == 1 ? QStringLiteral("Bei dieser Datei trat ein Fehler auf:")
                             : QStringLiteral("Bei diesen Dateien trat ein Fehler auf:"));
    FileLines failures(&text);
    for (const FileOutcome& file : report.files)
        if (!file.ok)
            failures.add(file.source, file.error);
    failures.finish();
    return {text + notes + notSaved, kTitle, MessageIcon::Warning};
}
