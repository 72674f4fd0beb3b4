#include "stamping/stampfile.h"

#include "base/fileerror.h"
#include "base/filename.h"
#include "base/temporaryoutput.h"
#include "imaging/copyrightmetadata.h"
#include "imaging/dibsection.h"
#include "imaging/notice.h"
#include "stamping/copyrightblock.h"
#include "stamping/runwrittenfiles.h"

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
    return !a.isEmpty() && ::stat(FileNameToBytes(a).constData(), &info) == 0 &&
           info.st_dev == b.st_dev && info.st_ino == b.st_ino;
}

// The source lies in the output folder, as listed or once links are resolved:
// its output would replace it.
bool liesInOutputFolder(const QString& source, const QString& outputFolder) {
    struct stat output {};
    if (::stat(FileNameToBytes(outputFolder).constData(), &output) != 0)
        return false;
    const QFileInfo info(source);
    return sameFolder(info.absolutePath(), output) ||
           sameFolder(QFileInfo(CanonicalFileName(source)).absolutePath(), output);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

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
    if (::lstat(FileNameToBytes(path).constData(), &there) != 0) {
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

// Larger copies are not read into memory for their header.
constexpr qint64 kLargestHeaderRewrite = qint64(1) << 30;

// The copy with the copyright in its header segments; empty when the file
// stays as it is (no JPEG or PNG, too large, unreadable), a note says why
// where it should have changed.
QByteArray copyWithCopyrightHeader(int fd, const struct stat& info, const QString& copyright,
                                   QStringList* notes) {
    char start[8] = {};
    if (::pread(fd, start, sizeof start, 0) != qint64(sizeof start))
        return {};
    const QByteArrayView head(start, sizeof start);
    if (!head.startsWith("\xFF\xD8\xFF") && !head.startsWith("\x89PNG\r\n\x1A\n"))
        return {};
    if (info.st_size > kLargestHeaderRewrite) {
        notes->append(QStringLiteral("Die Datei ist zu groß, um das Copyright in ihre Metadaten "
                                     "zu schreiben; sie ist unverändert kopiert."));
        return {};
    }
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (got <= 0)
            return {};
        done += got;
    }
    QString problem;
    if (!PutCopyrightIntoFile(&bytes, copyright, &problem)) {
        notes->append(problem);
        return {};
    }
    return bytes;
}

} // namespace

QString OutputPathFor(const QString& outputFolder, const QString& source) {
    return outputFolder + source.section(QLatin1Char('/'), -1);
}

QStringList PathsTouchedBy(const StampRequest& request) {
    const QFileInfo info(request.source);
    QStringList paths{
        QDir::cleanPath(info.absoluteFilePath()),
        QDir::cleanPath(
            QFileInfo(OutputPathFor(request.outputFolder, request.source)).absoluteFilePath())};
    if (const QString canonical = CanonicalFileName(request.source); !canonical.isEmpty())
        paths.append(canonical);
    if (request.notice.on && request.notice.copName)
        paths.append(QDir::cleanPath(QFileInfo(CopName(request.source)).absoluteFilePath()));
    return paths;
}

FileOutcome StampFile(const StampRequest& request, const std::function<void(int)>& onStep) {
    FileOutcome outcome{
        request.source, OutputPathFor(request.outputFolder, request.source), false, {}, {}};
    const auto step = [&](int value) {
        if (onStep)
            onStep(value);
    };
    const auto failed = [&](const QString& reason) {
        outcome.error = reason;
        return outcome;
    };

    if (!request.refusal.isEmpty()) {
        outcome.output.clear(); // it has none
        return failed(request.refusal);
    }
    if (request.source.section(QLatin1Char('/'), -1).isEmpty())
        return failed(QStringLiteral("Kein Dateiname."));
    if (liesInOutputFolder(request.source, request.outputFolder))
        return failed(QStringLiteral(
            "Die Datei liegt im Ausgabeordner und wurde übersprungen, damit sie erhalten bleibt."));

    // O_NONBLOCK: a named pipe in the list must not stop the run.
    const FileDescriptor source(OpenFileName(request.source, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (source.get() < 0)
        return failed(QStringLiteral("Nicht lesbar: %1.").arg(DescribeFileError(errno)));
    struct stat info {};
    if (::fstat(source.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return failed(describeNotRegularFile() + QLatin1Char('.'));
    // Outputs are never more readable than their source: its mode less the umask.
    const mode_t sourceMode = info.st_mode & 0777;

    // Step 1: the picture with the visible notice.
    QString noticeError;
    QByteArray jpeg;
    bool replaceContents = false;
    if (request.notice.on) {
        QString error;
        const NoticeOptions options{request.notice.text, request.notice.enlarge, request.metadata};
        bool encoded = false;
        if (request.writeComposedPicture) {
            // the composed picture is kept on the side before it is encoded
            cDIBSection composed;
            JpegMetadataSegments metadata;
            if (ComposeNoticeInBuffer(request.source, options, &composed, &metadata, &error)) {
                if (!request.writeComposedPicture(composed, &error))
                    return failed(
                        QStringLiteral("Das Zwischenbild konnte nicht geschrieben werden: %1")
                            .arg(error));
                encoded = EncodeNoticeJpeg(composed, metadata, &jpeg, &error);
                outcome.notes = metadata.problems;
            }
        } else {
            encoded = ComposeAndEncodeNotice(request.source, options, request.spareCore, &jpeg,
                                             &error, &outcome.notes);
        }
        if (!encoded)
            noticeError = QStringLiteral("Der sichtbare Hinweis fehlt: %1").arg(error);
        else if (!request.notice.copName)
            replaceContents = true;
        else if (const QString copPath = CopName(request.source);
                 !writeBeside(copPath, jpeg, sourceMode, request.writtenByRun.get(), &error))
            noticeError = QStringLiteral("Das Bild „%1“ konnte nicht geschrieben werden: %2.")
                              .arg(copPath, error);
    }
    step(1);

    // Step 2: the contents, under a temporary name in the output folder; a
    // copy gets the copyright in its header when asked, its picture untouched.
    if (!replaceContents && !request.metadata.copyright.isEmpty()) {
        jpeg =
            copyWithCopyrightHeader(source.get(), info, request.metadata.copyright, &outcome.notes);
        replaceContents = !jpeg.isEmpty();
    }
    TemporaryOutput output;
    if (!output.create(request.outputFolder, sourceMode) ||
        !(replaceContents ? output.write(jpeg) : output.copyFrom(source.get())))
        return failed(output.errorString() + QLatin1Char('.'));
    step(2);

    // Step 3: the block, then the output replaces any earlier one at once.
    if (!output.write(CopyrightBlockBytes(request.text)) || !output.commit(outcome.output))
        return failed(output.errorString() + QLatin1Char('.'));
    step(3);

    outcome.ok = noticeError.isEmpty();
    outcome.error = noticeError;
    return outcome;
}
