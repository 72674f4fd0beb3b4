#include "cli/keptfolders.h"

#include "core/base/filename.h"

#include <QDir>

#include <climits>
#include <unistd.h>

namespace {

// The working folder by its own bytes, which need not be UTF-8.
QString workingFolder() {
    char folder[PATH_MAX];
    return ::getcwd(folder, sizeof folder) ? fileNameFromBytes(folder) : QString();
}

// The name made absolute against `working`, "." and ".." taken away by the
// name alone.
QString absoluteName(const QString& working, const QString& path) {
    if (path.startsWith(QLatin1Char('/')) || working.isEmpty())
        return QDir::cleanPath(path);
    return QDir::cleanPath(working + QLatin1Char('/') + path);
}

// `folder` relative to `base` (both absolute and clean) with a final "/", or
// false when it does not lie in it.
bool below(const QString& base, const QString& folder, QString* subfolder) {
    if (base.isEmpty() || folder.isEmpty())
        return false;
    if (folder == base) {
        subfolder->clear();
        return true;
    }
    const QString prefix = base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/');
    if (!folder.startsWith(prefix))
        return false;
    *subfolder = folder.mid(prefix.size()) + QLatin1Char('/');
    return true;
}

QString folderOf(const QString& absolutePath) {
    const qsizetype slash = absolutePath.lastIndexOf(QLatin1Char('/'));
    return slash == 0 ? QStringLiteral("/") : absolutePath.left(slash);
}

} // namespace

KeptFolders::KeptFolders(const QString& base)
    : base_(base), workingFolder_(workingFolder()),
      absoluteBase_(absoluteName(workingFolder_, base)), canonicalBase_(canonicalFileName(base)) {}

bool KeptFolders::subfolderOf(const QString& source, QString* subfolder, QString* reason) const {
    const QString folder = folderOf(absoluteName(workingFolder_, source));
    // by the names as given first; then, for a base or folder reached through a
    // link, by the folders the links lead to
    if (below(absoluteBase_, folder, subfolder) ||
        below(canonicalBase_, canonicalFileName(folder), subfolder))
        return true;
    *reason = QStringLiteral("Die Datei liegt nicht im Ordner „%1“ (--keep-folders).").arg(base_);
    return false;
}
