#include "core/job/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <algorithm>

namespace {
bool isUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}
} // namespace

bool isUserVolume(const QString& rootPath, const QString& fileSystemType) {
    static const QSet<QString> pseudo = {
        "proc",        "sysfs",         "devtmpfs", "devpts",   "cgroup",      "cgroup2",
        "securityfs",  "pstore",        "debugfs",  "tracefs",  "configfs",    "fusectl",
        "mqueue",      "hugetlbfs",     "bpf",      "autofs",   "binfmt_misc", "efivarfs",
        "rpc_pipefs",  "nsfs",          "ramfs",    "squashfs", "selinuxfs",   "fuse.gvfsd-fuse",
        "fuse.portal", "fuse.snapfuse", "nfsd",
    };
    if (pseudo.contains(fileSystemType))
        return false;
    // removable media are mounted under /run/media on some systems
    if (isUnder(rootPath, QStringLiteral("/run/media")))
        return true;
    for (const char* system : {"/proc", "/sys", "/dev", "/run"}) {
        if (isUnder(rootPath, QString::fromLatin1(system)))
            return false;
    }
    return true;
}

QList<Drive> listDrives() {
    QList<Drive> drives;
    QSet<QString> seen;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || seen.contains(root) ||
            !isUserVolume(root, QString::fromUtf8(volume.fileSystemType())) ||
            !QFileInfo(root).isDir())
            continue;
        seen.insert(root);
        QString text = root;
        const QString name = volume.name();
        if (!name.isEmpty() && name != root)
            text += QStringLiteral(" [") + name + QLatin1Char(']');
        drives.append({root, text});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) {
        const bool aRoot = a.rootPath == QLatin1String("/");
        const bool bRoot = b.rootPath == QLatin1String("/");
        return aRoot != bRoot ? aRoot : a.rootPath < b.rootPath;
    });
    return drives;
}

std::optional<QString> openDrive(const QString& rootPath) {
    const QFileInfo info(rootPath);
    // a drive that is not ready fails here too: stat() of its root reports an error
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return std::nullopt;
    return QDir::cleanPath(rootPath);
}

std::optional<Drive> driveOfFolder(const QList<Drive>& drives, const QString& folder) {
    const QString path = QDir::cleanPath(folder);
    std::optional<Drive> best;
    for (const Drive& drive : drives) {
        if (isUnder(path, drive.rootPath) &&
            (!best || drive.rootPath.size() > best->rootPath.size()))
            best = drive;
    }
    return best;
}

QString joinFolderAndName(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
