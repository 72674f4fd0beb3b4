#pragma once
// The job list's size column: plain digits, right-aligned, in the grid's font
// narrowed just enough that a size of nine digits shows whole in the 700-twip
// column; a longer size loses its leading digits (the tooltip has it whole).

#include <QStyledItemDelegate>

class SizeColumnDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The room for the digits in a cell, and the font that fits nine of them in it.
    static QRect textRect(const QRect& cell);
    static QFont digitFont(const QFont& font, int room);
    // What a cell of `font` and `cell` shows of `digits`.
    static QString shownText(const QFont& font, const QRect& cell, const QString& digits);
};
