#include "gui/framework/dialogseam.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

class FileDialogSeam final : public DialogSeam {
public:
    QString getOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                            const QString& filter) override {
        // Qt's dialog keeps its own state (last folder, view) in a settings file
        // of its own; the program's only settings are its store, so a file the
        // dialog starts is taken away again
        const QString own =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/QtProject.conf");
        const bool existed = QFileInfo::exists(own);
        const QString chosen = QFileDialog::getOpenFileName(parent, title, directory, filter);
        if (!existed)
            QFile::remove(own);
        return chosen;
    }
};

FileDialogSeam fileDialogSeam;
DialogSeam* installed = nullptr;

} // namespace

DialogSeam& dialogSeam() {
    return installed ? *installed : fileDialogSeam;
}

void setDialogSeam(DialogSeam* seam) {
    installed = seam;
}
