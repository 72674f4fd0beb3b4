#include "app/messageboxseam.h"

#include "base/filename.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxSeam::show(const MessageBoxRequest& request) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        icon = QMessageBox::Information;
        break;
    case MessageIcon::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageIcon::Critical:
        icon = QMessageBox::Critical;
        break;
    }
    // the bytes of a file name that are no UTF-8 shown as U+FFFD
    QMessageBox box(icon, request.title, DisplayFileName(request.text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
