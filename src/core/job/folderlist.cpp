#include "core/job/folderlist.h"

#include "core/job/drives.h"
#include "core/job/filepattern.h"
#include "core/job/folderentries.h"

#include <QDir>

namespace {
bool liesUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}
} // namespace

QStringList folderChain(const QString& root, const QString& folder) {
    const QString path = QDir::cleanPath(folder);
    QString top = QDir::cleanPath(root);
    if (top.isEmpty() || !liesUnder(path, top))
        top = QStringLiteral("/");
    QStringList chain{top};
    const QStringList below = path.mid(top.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : below)
        chain.append(joinFolderAndName(chain.last(), name));
    return chain;
}

QStringList listSubfolders(const QString& folder) {
    QStringList names = listFolderEntries(folder, FolderEntryKind::Folders);
    sortFileNames(names);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.append(joinFolderAndName(folder, name));
    return paths;
}
