#include "app/dialogseam.h"

#include <QFileDialog>

namespace {

class FileDialogSeam final : public DialogSeam {
public:
    QString getOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                            const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, title, directory, filter);
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
