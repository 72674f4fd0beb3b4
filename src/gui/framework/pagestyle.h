#pragma once
// The look every page shares on top of the toolkit's own style: the drive list
// and the grid header flat in the page colour, option buttons whole within
// their 13-pixel rows, and keyboard focus plainly visible on lists and grids.

#include <QProxyStyle>

class PageStyle final : public QProxyStyle {
    Q_OBJECT
public:
    PageStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
};

// Makes PageStyle the style of the program; a page calls it before it builds
// its controls. Further calls change nothing.
void usePageStyle();
