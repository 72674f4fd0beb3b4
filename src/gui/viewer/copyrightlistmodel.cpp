#include "gui/viewer/copyrightlistmodel.h"

#include "core/stamping/visibletext.h"

CopyrightListModel::CopyrightListModel(QObject* parent) : QAbstractListModel(parent) {}

void CopyrightListModel::setScan(CopyrightScan scan) {
    beginResetModel();
    scan_ = std::move(scan);
    endResetModel();
}

QString CopyrightListModel::wholeText(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= scan_.size())
        return {};
    return visibleText(scan_.text(static_cast<std::size_t>(row)));
}

int CopyrightListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(scan_.size());
}

QVariant CopyrightListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return visibleLine(scan_.firstLine(static_cast<std::size_t>(index.row())));
}
