#include "gui/framework/shellseam.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

class DesktopShellSeam final : public ShellSeam {
public:
    void open(const QString& target) override {
        const QUrl url = QDir::isAbsolutePath(target) ? QUrl::fromLocalFile(target)
                                                      : QUrl::fromUserInput(target);
        QDesktopServices::openUrl(url);
    }
};

DesktopShellSeam desktopShellSeam;
ShellSeam* installed = nullptr;

} // namespace

ShellSeam& shellSeam() {
    return installed ? *installed : desktopShellSeam;
}

void setShellSeam(ShellSeam* seam) {
    installed = seam;
}
