#include "core/stamping/stampingmessage.h"

#include "core/base/countednoun.h"
#include "core/stamping/visibletext.h"

namespace {

const QString kTitle = QStringLiteral("Copyright Info");
// A box cannot show thousands of lines; the rest is counted.
constexpr int kListedFailures = 20;

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
    if (failed == 0 && notSaved.isEmpty())
        return {QStringLiteral("Das Copyright wurde den Dateien erfolgreich hinzugefügt!"), kTitle,
                MessageIcon::Information};
    if (failed == 0)
        return {QStringLiteral("Das Copyright wurde den Dateien erfolgreich hinzugefügt!") +
                    notSaved,
                kTitle, MessageIcon::Warning};

    const int total = static_cast<int>(report.files.size());
    // "0 von 1 Datei", "1 von 2 Dateien"; "Bei dieser Datei" for a single failure
    QString text =
        QStringLiteral("Das Copyright wurde %1 von %2 fehlerfrei hinzugefügt.\n%3\n")
            .arg(QString::number(total - failed),
                 countedNoun(total, QStringLiteral("Datei"), QStringLiteral("Dateien")),
                 failed == 1 ? QStringLiteral("Bei dieser Datei trat ein Fehler auf:")
                             : QStringLiteral("Bei diesen Dateien trat ein Fehler auf:"));
    int listed = 0;
    for (const FileOutcome& file : report.files) {
        if (file.ok)
            continue;
        if (listed++ == kListedFailures) {
            text += QStringLiteral("\n... und %1 weitere").arg(failed - kListedFailures);
            break;
        }
        // one line per file, even for a name with a line break in it
        text += QStringLiteral("\n%1: %2").arg(visibleLine(file.source), file.error);
    }
    return {text + notSaved, kTitle, MessageIcon::Warning};
}
