#include "gui/wizard/sizecolumndelegate.h"

#include "core/job/joblist.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {
// One pixel each side, so the digits never touch the grid's lines.
constexpr int kMarginPixels = 1;
constexpr int kNarrowestStretch = 50;

// In whole pixels, rounded up: eliding measures the fractional width.
int widestDigits(const QFont& font, int count) {
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QString(count, QLatin1Char(digit))));
    return static_cast<int>(std::ceil(widest));
}
} // namespace

QRect SizeColumnDelegate::textRect(const QRect& cell) {
    return cell.adjusted(kMarginPixels, 0, -kMarginPixels, 0);
}

QFont SizeColumnDelegate::digitFont(const QFont& font, int room) {
    const int needed = widestDigits(font, JobList::kDigitsShownInFull);
    if (needed <= room)
        return font;
    // narrowed by the stretch factor, which keeps the height and the shapes
    QFont narrow = font;
    int stretch = std::max(kNarrowestStretch, 100 * room / needed);
    for (; stretch > kNarrowestStretch; --stretch) {
        narrow.setStretch(stretch);
        if (widestDigits(narrow, JobList::kDigitsShownInFull) <= room)
            break;
    }
    narrow.setStretch(stretch);
    return narrow;
}

QString SizeColumnDelegate::shownText(const QFont& font, const QRect& cell, const QString& digits) {
    const QRect room = textRect(cell);
    return QFontMetricsF(digitFont(font, room.width()))
        .elidedText(digits, Qt::ElideLeft, room.width());
}

void SizeColumnDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QString digits = cell.text;
    cell.text.clear(); // background, selection and focus as every cell has them
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, view);

    const QRect room = textRect(option.rect);
    painter->save();
    painter->setFont(digitFont(option.font, room.width()));
    painter->setPen(cell.palette.color(
        cell.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
        cell.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(room, Qt::AlignRight | Qt::AlignVCenter,
                      shownText(option.font, option.rect, digits));
    painter->restore();
}
