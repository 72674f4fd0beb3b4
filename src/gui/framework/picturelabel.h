#pragma once
// A picture control: shows its picture at its own size from the top-left
// corner and reports clicks (the banner opens the maker's web site).

#include <QLabel>

class PictureLabel final : public QLabel {
    Q_OBJECT
public:
    explicit PictureLabel(QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
