#include "gui/framework/url.h"

#include "core/base/programfolder.h"
#include "gui/framework/shellseam.h"

#include <QFileInfo>

void ShellOpen(const QString& target) {
    shellSeam().open(target);
}

QString helpPagePath() {
    // beside the program (a build), else in the install's data folder
    const QString beside = programFolder() + QStringLiteral("/help/frames.htm");
    const QString installed =
        programFolder() + QStringLiteral("/../share/stampora/help/frames.htm");
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return QFileInfo(installed).canonicalFilePath();
    return beside;
}

QString makerWebSite() {
    return QStringLiteral("https://www.vendrake.example/");
}
