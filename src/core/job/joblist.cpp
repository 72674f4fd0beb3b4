#include "core/job/joblist.h"

#include "core/base/filename.h"
#include "core/base/plaintooltip.h"

#include <sys/stat.h>
#include <unistd.h>

JobList::JobList(QObject* parent) : QAbstractTableModel(parent) {}

int JobList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : entries_.size();
}

int JobList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant JobList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size())
        return {};
    const Entry& e = entries_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == PathColumn ? displayFileName(e.path) : sizeText(index.row());
    case Qt::TextAlignmentRole:
        return index.column() == PathColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                            : int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        // the whole path, which a long one's cell cuts in the middle
        if (index.column() == PathColumn)
            return plainToolTip(displayFileName(e.path));
        if (index.column() == SizeColumn && sizeText(index.row()).size() > kDigitsShownInFull)
            return sizeText(index.row());
        return {};
    case RemovedRole:
        return e.removed;
    default:
        return {};
    }
}

QVariant JobList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == PathColumn)
        return QStringLiteral("Dateiname & Pfad");
    if (section == SizeColumn)
        return QStringLiteral("Größe");
    return {};
}

void JobList::setCurrentRow(int row) {
    if (row < -1 || row >= entries_.size() || row == current_)
        return;
    current_ = row;
    emit currentRowChanged(current_);
}

QStringList JobList::add(const QStringList& paths) {
    QList<Entry> added;
    QStringList skipped;
    for (const QString& path : paths) {
        // the file may have vanished or changed since the file list showed it
        const QByteArray name = fileNameToBytes(path);
        struct stat info {};
        if (::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(name.constData(), R_OK) == 0)
            added.append({path, qint64(info.st_size), false});
        else
            skipped.append(path);
    }
    if (!added.isEmpty()) {
        const int first = entries_.size();
        beginInsertRows({}, first, first + added.size() - 1);
        entries_.append(added);
        endInsertRows();
        setCurrentRow(entries_.size() - 1);
    }
    return skipped;
}

bool JobList::removeCurrent() {
    if (current_ < 0 || entries_[current_].removed)
        return false;
    entries_[current_].removed = true;
    emit dataChanged(index(current_, PathColumn), index(current_, SizeColumn), {RemovedRole});
    return true;
}

void JobList::removeAll() {
    beginResetModel();
    entries_.clear();
    endResetModel();
    setCurrentRow(-1);
}
