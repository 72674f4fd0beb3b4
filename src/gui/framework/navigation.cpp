#include "gui/framework/navigation.h"

#include <QWidget>

void moveToPageInPlace(QWidget& current, QWidget& target) {
    // The target's outer top-left corner (Top, Left) goes where the current
    // page's is. The wizard pages wear the same frame, so this is the same as
    // putting the target's client area where the current one's is; that place
    // is exact, while the frame of a hidden page is unknown to the toolkit
    // under a reparenting window manager (it sheds the frame on hiding).
    target.setGeometry(QRect(current.geometry().topLeft(), target.size()));
    target.show();
    current.hide();
}

void showThenHide(QWidget& current, QWidget& target) {
    target.show();
    current.hide();
}

void hideThenShow(QWidget& current, QWidget& target) {
    current.hide();
    target.show();
}
