#include "gui/framework/rectanglewidget.h"

#include <QPainter>

RectangleWidget::RectangleWidget(QColor colour, QWidget* parent)
    : QWidget(parent), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void RectangleWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
