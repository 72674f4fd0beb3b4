#include "core/stamping/runstamping.h"

#include "core/base/fileerror.h"
#include "core/base/filename.h"
#include "core/stamping/copyrighttextfile.h"
#include "core/stamping/runwrittenfiles.h"
#include "core/stamping/stalecleaner.h"
#include "core/stamping/stampbatch.h"
#include "core/stamping/stampingwalk.h"
#include "core/stamping/windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why the folder `folder` (ending in "/") could not be made, after makeFolderPath
// failed with `errorNumber`; `what` names it ("Der Ausgabeordner").
QString describeUnmadeFolder(const QString& what, const QString& folder, int errorNumber) {
    const QString name = folder.chopped(1);
    struct stat info {};
    if (::stat(fileNameToBytes(name).constData(), &info) == 0 && !S_ISDIR(info.st_mode))
        return QStringLiteral("%1 „%2“ ist eine Datei, kein Ordner.").arg(what, name);
    // a file where a folder should be says "exists": the path is what is wrong
    const int error = errorNumber == EEXIST ? ENOTDIR : errorNumber;
    return QStringLiteral("%1 „%2“ konnte nicht angelegt werden: %3.")
        .arg(what, folder, describeFileError(error));
}

// Step 2: the folder ends in "/" (on the field itself), exists and can be written.
bool prepareOutputFolder(StampingInputs& inputs, QString* folder, QStringList* made,
                         QString* error) {
    *folder = inputs.outputFolder();
    if (folder->isEmpty()) {
        *error = QStringLiteral("Bitte geben Sie einen Ausgabeordner an.");
        return false;
    }
    if (folder->trimmed().isEmpty()) {
        *error = QStringLiteral("Der Ausgabeordner „%1“ besteht nur aus Leerzeichen; ein solcher "
                                "Name ist kein Ordner.")
                     .arg(*folder);
        return false;
    }
    if (!folder->endsWith(QLatin1Char('/'))) {
        *folder += QLatin1Char('/');
        inputs.setOutputFolder(*folder);
    }
    if (!makeFolderPath(*folder, made)) {
        *error = describeUnmadeFolder(QStringLiteral("Der Ausgabeordner"), *folder, errno);
        return false;
    }
    if (::access(fileNameToBytes(*folder).constData(), W_OK | X_OK) != 0) {
        *error =
            QStringLiteral("In den Ausgabeordner „%1“ kann nicht geschrieben werden.").arg(*folder);
        return false;
    }
    return true;
}

// Step 3: the typed text as it is, or the lines of the text file joined; the
// metadata get it as it reads, the block in Windows-1252.
bool fixCopyrightText(StampingInputs& inputs, StampRequest* common, QString* error) {
    QString decoded;
    if (inputs.useTypedText())
        decoded = inputs.typedText();
    else if (!readCopyrightTextFile(inputs.textFilePath(), &decoded, error))
        return false;
    common->text = encodeWindows1252(decoded);
    common->metadata.keepSource = inputs.keepMetadata();
    common->keepQuality = inputs.keepQuality();
    if (inputs.copyrightInMetadata())
        common->metadata.copyright = decoded;
    return true;
}

// Step 4 on several threads: rows and notice options read once, up front.
void stampInParallel(StampingInputs& inputs, StampingProgress& progress,
                     const StampingEngineOptions& options, const StampRequest& common,
                     StampingReport& report) {
    StaleCleaner cleaner;
    cleaner.clean(common.outputFolder);
    if (!progress.yield()) {
        report.stopped = true;
        return;
    }
    const NoticeChoice notice = inputs.notice();
    const int rows = inputs.rowCount();
    std::vector<StampRequest> requests;
    std::vector<int> rowOf;
    for (int row = 1; row < rows; ++row) {
        if (inputs.rowRemoved(row))
            continue;
        StampRequest request = common;
        request.source = inputs.rowPath(row);
        request.notice = notice;
        request.writeComposedPicture = options.writeComposedPicture;
        placeRowOutput(inputs, row, request, cleaner);
        cleaner.cleanFor(request);
        requests.push_back(std::move(request));
        rowOf.push_back(row);
    }
    if (requests.empty())
        return;
    progress.processingStarted();
    report.files =
        stampBatch(requests, options.threads, [&](std::size_t i, const FileOutcome& outcome) {
            progress.fileCounters(outcome.source, rows - 1 - rowOf[i], rowOf[i]);
            progress.fileFinished(outcome);
        });
}

// Step 4 one file after the other, each row and the notice options read live.
void stampRowByRow(StampingInputs& inputs, StampingProgress& progress,
                   const StampingEngineOptions& options, const StampRequest& common,
                   StampingReport& report) {
    StampRequest withWriter = common;
    withWriter.writeComposedPicture = options.writeComposedPicture;
    StampingWalk walk(inputs, progress, withWriter, 1);
    for (auto files = walk.filesToStart(); !files.empty(); files = walk.filesToStart()) {
        for (const StampingWalk::File& file : files) {
            int stepsDone = 0;
            const FileOutcome outcome =
                stampFile(file.request, [&stepsDone](int step) { stepsDone = step; });
            walk.finished(file.row, outcome, stepsDone);
        }
    }
    report.files = std::move(walk.report().files);
    report.stopped = walk.report().stopped;
}

} // namespace

// The row's output folder: the run's own, or the folder below it that the inputs
// name for the row, made when missing.
void placeRowOutput(StampingInputs& inputs, int row, StampRequest& request, StaleCleaner& cleaner) {
    QString subfolder;
    if (!inputs.rowOutputSubfolder(row, &subfolder, &request.refusal) || subfolder.isEmpty())
        return;
    request.outputFolder += subfolder;
    if (makeFolderPath(request.outputFolder)) {
        cleaner.clean(request.outputFolder);
        return;
    }
    request.refusal =
        describeUnmadeFolder(QStringLiteral("Der Ordner"), request.outputFolder, errno);
}

bool startStamping(StampingInputs& inputs, StampingReport& report, StampRequest* common,
                   bool storeOptions) {
    // Step 1: the options are stored as typed, before the folder gets its separator.
    if (storeOptions && inputs.saveAsDefault() && !inputs.saveCurrentOptions())
        report.optionsNotSaved = true;

    // one record of the "-cop.jpg" pictures written, shared by every file of the run
    common->writtenByRun = std::make_shared<RunWrittenFiles>();
    QStringList madeFolders;
    if (!prepareOutputFolder(inputs, &common->outputFolder, &madeFolders, &report.startError) ||
        !fixCopyrightText(inputs, common, &report.startError)) {
        // nothing starts, and nothing is left behind: the folders made for the run go again
        for (auto folder = madeFolders.crbegin(); folder != madeFolders.crend(); ++folder)
            ::rmdir(fileNameToBytes(*folder).constData());
        return false;
    }
    return true;
}

StampingReport RunStamping(StampingInputs& inputs, StampingProgress& progress,
                           const StampingEngineOptions& options) {
    StampingReport report;
    StampRequest common;
    if (!startStamping(inputs, report, &common))
        return report;
    if (options.threads > 1)
        stampInParallel(inputs, progress, options, common, report);
    else
        stampRowByRow(inputs, progress, options, common, report);
    return report;
}
