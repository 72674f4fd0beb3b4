#pragma once
// A 1-pixel line between two points, drawn in its colour: the page's `Line` control.

#include <QColor>
#include <QPoint>
#include <QWidget>

class LineWidget final : public QWidget {
    Q_OBJECT
public:
    // The end points are in the parent's pixels; the widget covers their bounding box.
    LineWidget(QPoint from, QPoint to, QColor colour, QWidget* parent);
    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPoint from_, to_;
    QColor colour_;
};
