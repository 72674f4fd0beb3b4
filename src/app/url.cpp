#include "app/url.h"

#include "app/programfolder.h"
#include "app/shellseam.h"

void ShellOpen(const QString& target) {
    shellSeam().open(target);
}

QString helpPagePath() {
    return programFolder() + QStringLiteral("/help/frames.htm");
}

QString makerWebSite() {
    return QStringLiteral("https://www.vendrake.example/");
}
