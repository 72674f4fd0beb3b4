#include "core/stamping/stampfile.h"

#include "core/base/descriptorio.h"
#include "core/base/fileerror.h"
#include "core/base/filename.h"
#include "core/base/temporaryoutput.h"
#include "core/imaging/coefficientstamper.h"
#include "core/imaging/copyrightmetadata.h"
#include "core/imaging/dibsection.h"
#include "core/imaging/notice.h"
#include "core/stamping/copyrightblock.h"
#include "core/stamping/picturememory.h"
#include "core/stamping/runwrittenfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool sameFolder(const QString& a, const struct stat& b) {
    struct stat info {};
    return !a.isEmpty() && ::stat(fileNameToBytes(a).constData(), &info) == 0 &&
           info.st_dev == b.st_dev && info.st_ino == b.st_ino;
}

// The source lies in the output folder, as listed or once links are resolved:
// its output would replace it.
bool liesInOutputFolder(const QString& source, const QString& outputFolder) {
    struct stat output {};
    if (::stat(fileNameToBytes(outputFolder).constData(), &output) != 0)
        return false;
    const QFileInfo info(source);
    return sameFolder(info.absolutePath(), output) ||
           sameFolder(QFileInfo(canonicalFileName(source)).absolutePath(), output);
}

// The "-cop.jpg" picture beside the source, itself through a temporary name.
// It replaces only a picture this run wrote there; any other file of that
// name (another source, listed or not, or an earlier run's picture) stays.
bool writeBeside(const QString& path, const QByteArray& jpeg, mode_t mode,
                 RunWrittenFiles* writtenByRun, QString* error) {
    TemporaryOutput out;
    dev_t device = 0;
    ino_t inode = 0;
    if (!out.create(QFileInfo(path).absolutePath(), mode) || !out.write(jpeg) ||
        !out.fileId(&device, &inode)) {
        *error = out.errorString();
        return false;
    }
    const QString exists =
        QStringLiteral("Eine Datei dieses Namens gibt es schon; sie wird nicht ersetzt");
    struct stat there {};
    bool committed = false;
    if (::lstat(fileNameToBytes(path).constData(), &there) != 0) {
        committed = out.commitNew(path);
        if (!committed && out.errorNumber() == EEXIST) {
            *error = exists;
            return false;
        }
    } else if (writtenByRun && S_ISREG(there.st_mode) &&
               writtenByRun->contains(there.st_dev, there.st_ino)) {
        committed = out.commit(path);
    } else {
        *error = exists;
        return false;
    }
    if (!committed) {
        *error = out.errorString();
        return false;
    }
    if (writtenByRun)
        writtenByRun->add(device, inode);
    return true;
}

// The notice in the source's own quality, when asked and possible; the windows
// keep the picture as written on the side. False with `error` empty when the
// picture takes the quality-100 path instead.
bool stampKeepingQuality(const StampRequest& request, const NoticeOptions& options,
                         QByteArray* jpeg, QStringList* notes, QString* error) {
    if (!request.keepQuality)
        return false;
    KeptQualityNotice kept = stampNoticeKeepingQuality(request.source, options, jpeg);
    if (kept.result != KeptQualityNotice::Result::Stamped)
        return false;
    if (request.writeComposedPicture) {
        cDIBSection composed;
        if (!composed.CreateFromPicture(QImage::fromData(*jpeg, "JPEG"))) {
            *error = QStringLiteral("Das Bild konnte nicht wieder gelesen werden.");
            return false;
        }
        if (!request.writeComposedPicture(composed, error))
            return false;
    }
    *notes = std::move(kept.notes);
    return true;
}

// Larger copies are not read into memory for their header.
constexpr qint64 kLargestHeaderRewrite = qint64(1) << 30;

// The copy with the copyright in its header segments; empty when the file
// stays as it is (no JPEG or PNG, too large, unreadable), a note says why
// where it should have changed.
// The bytes read are taken from `gate` (when given) into `memory` first.
QByteArray copyWithCopyrightHeader(int fd, const struct stat& info, const QString& copyright,
                                   QStringList* notes, MemoryGate* gate,
                                   MemoryGate::Lease* memory) {
    char start[8] = {};
    if (preadResumed(fd, start, sizeof start, 0) != qint64(sizeof start))
        return {};
    const QByteArrayView head(start, sizeof start);
    if (!head.startsWith("\xFF\xD8\xFF") && !head.startsWith("\x89PNG\r\n\x1A\n"))
        return {};
    if (info.st_size > kLargestHeaderRewrite) {
        notes->append(QStringLiteral("Die Datei ist zu groß, um das Copyright in ihre Metadaten "
                                     "zu schreiben; sie ist unverändert kopiert."));
        return {};
    }
    if (gate) {
        memory->reset(); // nothing held while waiting
        // the file's bytes and the copy the metadata library makes of them
        *memory = gate->take(2 * qint64(info.st_size));
    }
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            preadResumed(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (got <= 0)
            return {};
        done += got;
    }
    QString problem;
    if (!putCopyrightIntoFile(&bytes, copyright, &problem)) {
        notes->append(problem);
        return {};
    }
    return bytes;
}

} // namespace

QString outputPathFor(const QString& outputFolder, const QString& source) {
    return outputFolder + source.section(QLatin1Char('/'), -1);
}

QStringList pathsTouchedBy(const StampRequest& request) {
    const QFileInfo info(request.source);
    QStringList paths{
        QDir::cleanPath(info.absoluteFilePath()),
        QDir::cleanPath(
            QFileInfo(outputPathFor(request.outputFolder, request.source)).absoluteFilePath())};
    if (const QString canonical = canonicalFileName(request.source); !canonical.isEmpty())
        paths.append(canonical);
    if (request.notice.on && request.notice.copName)
        paths.append(QDir::cleanPath(QFileInfo(copPicturePath(request.source)).absoluteFilePath()));
    return paths;
}

namespace {

// The checks before anything is read, then the source opened without
// following a pipe's writer; false with `outcome->error` set.
bool openSource(const StampRequest& request, FileOutcome* outcome, int* fd, struct stat* info) {
    if (!request.refusal.isEmpty()) {
        outcome->output.clear(); // it has none
        outcome->error = request.refusal;
        return false;
    }
    if (request.source.section(QLatin1Char('/'), -1).isEmpty()) {
        outcome->error = QStringLiteral("Kein Dateiname.");
        return false;
    }
    if (liesInOutputFolder(request.source, request.outputFolder)) {
        outcome->error = QStringLiteral(
            "Die Datei liegt im Ausgabeordner und wurde übersprungen, damit sie erhalten bleibt.");
        return false;
    }
    // O_NONBLOCK: a named pipe in the list must not stop the run.
    *fd = openFileName(request.source, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (*fd < 0) {
        outcome->error = QStringLiteral("Nicht lesbar: %1.").arg(describeFileError(errno));
        return false;
    }
    if (::fstat(*fd, info) != 0 || !S_ISREG(info->st_mode)) {
        outcome->error = describeNotRegularFile() + QLatin1Char('.');
        return false;
    }
    return true;
}

// What step 1 leaves for the next steps.
struct NoticeStep {
    QByteArray jpeg;              // the picture with the notice, when it replaces the contents
    bool replaceContents = false; // the output's contents are `jpeg`, not the source's
    QString noticeError;          // the notice is missing (the file still gets its block)
};

// Step 1: the picture with the visible notice, beside the source or as the
// output's contents. False when the file stops here (`outcome->error` set).
bool composeNotice(const StampRequest& request, mode_t sourceMode, FileOutcome* outcome,
                   NoticeStep* result) {
    if (!request.notice.on)
        return true;
    QString error;
    const NoticeOptions options{request.notice.text, request.notice.enlarge, request.metadata};
    bool encoded = false;
    if (stampKeepingQuality(request, options, &result->jpeg, &outcome->notes, &error)) {
        encoded = true;
        outcome->noticePath = NoticePath::KeepQuality;
    } else if (!error.isEmpty()) {
        outcome->error =
            QStringLiteral("Das Zwischenbild konnte nicht geschrieben werden: %1").arg(error);
        return false;
    } else if (request.writeComposedPicture) {
        // the composed picture goes on the side once it is encoded
        cDIBSection composed;
        JpegMetadataSegments metadata;
        if (composeNoticeInBuffer(request.source, options, &composed, &metadata, &error)) {
            encoded = encodeNoticeJpeg(composed, metadata, &result->jpeg, &error);
            if (encoded && !request.writeComposedPicture(composed, &error)) {
                outcome->error =
                    QStringLiteral("Das Zwischenbild konnte nicht geschrieben werden: %1")
                        .arg(error);
                return false;
            }
            outcome->notes = metadata.problems;
        }
    } else {
        encoded = composeAndEncodeNotice(request.source, options, request.spareCore, &result->jpeg,
                                         &error, &outcome->notes);
    }
    if (encoded && outcome->noticePath == NoticePath::None)
        outcome->noticePath = NoticePath::Quality100;
    if (!encoded)
        result->noticeError = QStringLiteral("Der sichtbare Hinweis fehlt: %1").arg(error);
    else if (!request.notice.copName)
        result->replaceContents = true;
    else if (const QString copPath = copPicturePath(request.source);
             !writeBeside(copPath, result->jpeg, sourceMode, request.writtenByRun.get(), &error))
        result->noticeError = QStringLiteral("Das Bild „%1“ konnte nicht geschrieben werden: %2.")
                                  .arg(copPath, error);
    return true;
}

// Step 2: the contents, under a temporary name in the output folder; a copy
// gets the copyright in its header when asked, its picture untouched.
bool writeContents(const StampRequest& request, int source, const struct stat& info,
                   NoticeStep* notice, TemporaryOutput* output, FileOutcome* outcome,
                   MemoryGate::Lease* memory) {
    if (!notice->replaceContents && !request.metadata.copyright.isEmpty()) {
        notice->jpeg = copyWithCopyrightHeader(source, info, request.metadata.copyright,
                                               &outcome->notes, request.memory.get(), memory);
        notice->replaceContents = !notice->jpeg.isEmpty();
    }
    if (!output->create(request.outputFolder, info.st_mode & 0777) ||
        !(notice->replaceContents ? output->write(notice->jpeg) : output->copyFrom(source))) {
        outcome->error = output->errorString() + QLatin1Char('.');
        return false;
    }
    return true;
}

// Step 3: the block, then the output replaces any earlier one at once.
bool appendBlockAndCommit(const StampRequest& request, TemporaryOutput* output,
                          FileOutcome* outcome) {
    if (!output->write(copyrightBlockBytes(request.text)) || !output->commit(outcome->output)) {
        outcome->error = output->errorString() + QLatin1Char('.');
        return false;
    }
    return true;
}

} // namespace

FileOutcome stampFile(const StampRequest& request, const std::function<void(int)>& onStep) {
    FileOutcome outcome{
        request.source, outputPathFor(request.outputFolder, request.source), false, {}, {}};
    const auto step = [&](int value) {
        if (onStep)
            onStep(value);
    };

    int fd = -1;
    struct stat info {};
    const bool opened = openSource(request, &outcome, &fd, &info);
    const FileDescriptor source(fd);
    if (!opened)
        return outcome;
    // Outputs are never more readable than their source: its mode less the umask.
    const mode_t sourceMode = info.st_mode & 0777;

    // the picture waits for its share of the run's memory before it is decoded;
    // the share goes back once the output is written
    MemoryGate::Lease memory;
    if (request.memory && request.notice.on)
        memory = request.memory->take(noticeMemoryCost(request.source, request.keepQuality));

    NoticeStep notice;
    if (!composeNotice(request, sourceMode, &outcome, &notice))
        return outcome;
    step(1);

    TemporaryOutput output;
    if (!writeContents(request, source.get(), info, &notice, &output, &outcome, &memory))
        return outcome;
    step(2);

    if (!appendBlockAndCommit(request, &output, &outcome))
        return outcome;
    step(3);

    outcome.ok = notice.noticeError.isEmpty();
    outcome.error = notice.noticeError;
    return outcome;
}
