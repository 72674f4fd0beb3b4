#include "gui/framework/linewidget.h"

#include <QPainter>

LineWidget::LineWidget(QPoint from, QPoint to, QColor colour, QWidget* parent)
    : QWidget(parent), from_(from), to_(to), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    const QRect box = QRect(from, to).normalized();
    setGeometry(box.left(), box.top(), box.width() + 1, box.height() + 1);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    painter.drawLine(from_ - pos(), to_ - pos());
}
