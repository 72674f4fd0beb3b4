#include "app/messageboxseam.h"

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
    QMessageBox box(icon, request.title, request.text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
