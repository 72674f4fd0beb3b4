#include "core/base/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString& overrideFolder() {
    static QString folder;
    return folder;
}

QString perUserDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Vendrake/Stampora");
}
} // namespace

QString programFolder() {
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty())
        folder = QDir::currentPath();
    return QDir::cleanPath(folder);
}

void setProgramFolder(const QString& folder) {
    overrideFolder() = QDir::cleanPath(folder);
}

QString writableProgramFolder() {
    const QString folder = programFolder();
    const QFileInfo info(folder);
    if (info.isDir() && info.isWritable())
        return folder;
    const QString fallback = perUserDataFolder();
    QDir().mkpath(fallback);
    return fallback;
}
