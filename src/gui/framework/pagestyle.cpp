#include "gui/framework/pagestyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {

// The classic option button circle: 13 pixels, the height of its row on step 2.
constexpr int kOptionIndicatorPixels = 13;
// Lists and grids: a frame of two pixels, drawn in the highlight colour while
// the control has the keyboard focus (also when it holds no entry).
constexpr int kViewFramePixels = 2;

bool isView(const QWidget* widget) {
    return qobject_cast<const QAbstractItemView*>(widget) != nullptr;
}

QColor frameColour(const QStyleOption* option) {
    return option->palette.color(QPalette::Window).darker(160);
}

QColor focusColour(const QStyleOption* option) {
    return option->palette.color(QPalette::Active, QPalette::Highlight);
}

// A frame `width` pixels thick just inside `rect`.
void drawFrame(QPainter* painter, const QRect& rect, const QColor& colour, int width) {
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    QRegion ring(rect);
    ring -= QRegion(rect.adjusted(width, width, -width, -width));
    for (const QRect& part : ring)
        painter->drawRect(part);
    painter->restore();
}

} // namespace

PageStyle::PageStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
    setObjectName(QStringLiteral("PageStyle"));
}

int PageStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return kOptionIndicatorPixels;
    case PM_DefaultFrameWidth:
        if (isView(widget))
            return kViewFramePixels;
        break;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void PageStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    if (element == PE_Frame && isView(widget)) {
        const bool focused = option->state & State_HasFocus;
        drawFrame(painter, option->rect, frameColour(option), 1);
        if (focused)
            drawFrame(painter, option->rect, focusColour(option), kViewFramePixels);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void PageStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    if (element == CE_HeaderSection) {
        // flat like the grid's cells: the page colour with the grid's lines
        painter->fillRect(option->rect, option->palette.brush(QPalette::Button));
        painter->save();
        painter->setPen(QColor::fromRgba(
            static_cast<QRgb>(proxy()->styleHint(SH_Table_GridLineColor, option, widget))));
        painter->drawLine(option->rect.topRight(), option->rect.bottomRight());
        painter->drawLine(option->rect.bottomLeft(), option->rect.bottomRight());
        painter->restore();
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void PageStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                   QPainter* painter, const QWidget* widget) const {
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
    if (control == CC_ComboBox && combo && !combo->editable) {
        // the drive list flat in its field colour, framed like the text fields;
        // the focus is the text fields' focus frame and the highlighted text
        painter->fillRect(option->rect, option->palette.brush(QPalette::Base));
        const bool focused = option->state & State_HasFocus;
        drawFrame(painter, option->rect, focused ? focusColour(option) : frameColour(option),
                  focused ? 2 : 1);
        QStyleOption arrow = *option;
        arrow.rect = proxy()->subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, widget);
        arrow.state &= ~State_Sunken;
        proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
        return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void usePageStyle() {
    if (!qobject_cast<PageStyle*>(QApplication::style()))
        QApplication::setStyle(new PageStyle); // the application takes it over
}
