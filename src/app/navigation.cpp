#include "app/navigation.h"

#include <QWidget>

void moveToPageInPlace(QWidget& current, QWidget& target) {
    target.move(current.pos()); // the outer frame's top-left corner: Top and Left
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
