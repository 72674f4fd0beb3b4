#pragma once
// The viewer's list of found copyrights: one row per entry of a scan, its
// first line decoded only when the row is shown.

#include "core/stamping/copyrightblock.h"

#include <QAbstractListModel>

class CopyrightListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CopyrightListModel(QObject* parent = nullptr);

    // Replaces every entry with those of `scan` (an empty scan clears the list).
    void setScan(CopyrightScan scan);
    // The whole text of the entry in `row`, as the text field shows it.
    QString wholeText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    CopyrightScan scan_;
};
