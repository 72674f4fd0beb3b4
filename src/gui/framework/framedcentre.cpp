#include "gui/framework/framedcentre.h"

#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// The start of a span of `length` placed at `wanted`, moved into [low, high)
// where it fits; at `low` where it does not.
int keptWithin(int wanted, int length, int low, int high) {
    return std::max(low, std::min(wanted, high - length));
}

} // namespace

void centreOnFramedPage(QWidget& window, const QWidget& page) {
    const QRect pageFrame = page.frameGeometry(); // the client area where no frame is known
    const QRect pageClient = page.geometry();
    const QMargins frame(pageClient.left() - pageFrame.left(), pageClient.top() - pageFrame.top(),
                         pageFrame.right() - pageClient.right(),
                         pageFrame.bottom() - pageClient.bottom());
    const QSize outer = window.size().grownBy(frame);
    QPoint corner(pageFrame.x() + (pageFrame.width() - outer.width()) / 2,
                  pageFrame.y() + (pageFrame.height() - outer.height()) / 2);
    if (const QScreen* screen = page.screen()) {
        const QRect room = screen->availableGeometry();
        corner = {keptWithin(corner.x(), outer.width(), room.left(), room.right() + 1),
                  keptWithin(corner.y(), outer.height(), room.top(), room.bottom() + 1)};
    }
    // the client area's place: the window system puts the frame around it
    window.setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), window.size()));
}
