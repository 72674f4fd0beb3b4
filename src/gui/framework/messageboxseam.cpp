#include "gui/framework/messageboxseam.h"

#include "core/base/filename.h"
#include "gui/framework/pagedirectory.h"

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
    // centred on the page the user sees, whichever window has the focus
    QMessageBox box(icon, request.title, displayFileName(request.text), QMessageBox::Ok,
                    pageOnScreen());
    box.exec();
}
