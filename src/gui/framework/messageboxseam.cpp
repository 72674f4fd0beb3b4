#include "gui/framework/messageboxseam.h"

#include "core/base/filename.h"
#include "gui/framework/framedcentre.h"
#include "gui/framework/pagedirectory.h"

#include <QMessageBox>
#include <QShowEvent>

namespace {

// A message box whose frame centres on its page's frame. The toolkit's own
// centring puts the box's client area where its frame should be, a title bar
// too high under a window manager.
class PageMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event); // gives the box its size
        if (QWidget* page = parentWidget(); page && !event->spontaneous())
            centreOnFramedPage(*this, *page->window());
    }
};

} // namespace

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
    PageMessageBox box(icon, request.title, displayFileName(request.text), QMessageBox::Ok,
                       pageOnScreen());
    box.exec();
}
