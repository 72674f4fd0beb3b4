#include "support/testsupport.h"

#include "imaging/filename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

TempFolder::TempFolder() : dir_(QDir::tempPath() + QStringLiteral("/stampora-test-XXXXXX")) {}

TempFolder::~TempFolder() {
    // by the names' own bytes, so names that are no UTF-8 go too
    const auto remove = [](const char* path, const struct stat*, int, FTW*) {
        ::remove(path);
        return 0; // on past anything that cannot be removed
    };
    if (dir_.isValid())
        ::nftw(FileNameToBytes(dir_.path()).constData(), remove, 16, FTW_DEPTH | FTW_PHYS);
}

QString TempFolder::file(const QString& name) const {
    return dir_.filePath(name);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    MakeFolderPath(QFileInfo(path).absolutePath());
    const int fd = OpenFileName(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        ::close(fd);
    }
    return path;
}

QByteArray readAll(const QString& path) {
    QFile f;
    return OpenForReading(f, path) ? f.readAll() : QByteArray();
}
