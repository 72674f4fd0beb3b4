#pragma once
// A 1-pixel outline, transparent inside: the page's `Shape` control.

#include <QColor>
#include <QWidget>

class RectangleWidget final : public QWidget {
    Q_OBJECT
public:
    RectangleWidget(QColor colour, QWidget* parent);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};
