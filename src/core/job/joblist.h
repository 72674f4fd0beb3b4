#pragma once
// The job list: the files a run stamps, in the order they were added, each with
// its size at the moment of adding and a removed flag; plus the current row on
// which "-" acts. The step-1 grid Flex is a view on it.
//
// Row numbers: the model's rows are the data rows, 0-based. The grid counts its
// header as row 0, so data row i is grid row i + 1 and Rows() (data rows + 1)
// is the grid's number of rows, which the step-3 counters use.

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

class JobList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PathColumn = 0, SizeColumn = 1 };
    // True for a removed row (the view gives it height 0).
    static constexpr int RemovedRole = Qt::UserRole + 1;

    // Column widths of the grid: the size column is 700 twips wide, the path
    // column takes the grid's width less 712 twips (352 + 360).
    static constexpr int kSizeColumnWidthTwips = 700;
    static constexpr int kPathColumnMarginTwips = 352 + 360;
    static constexpr int pathColumnWidthTwips(int gridWidthTwips) {
        return gridWidthTwips - kPathColumnMarginTwips;
    }
    // Sizes of up to nine digits show whole in the size column; a longer one
    // is cut and carries its whole value as tooltip. A path's tooltip is the
    // whole path, which a long one's cell cuts in the middle.
    static constexpr int kDigitsShownInFull = 9;

    struct Entry {
        QString path;
        qint64 size = 0;
        bool removed = false;
    };

    explicit JobList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Data rows, removed ones included.
    int count() const { return entries_.size(); }
    // The grid's number of rows: the header plus every data row.
    int Rows() const { return count() + 1; }
    const Entry& entry(int row) const { return entries_.at(row); }
    QString path(int row) const { return entries_.at(row).path; }
    bool isRemoved(int row) const { return entries_.at(row).removed; }
    // The size as the grid shows it: plain decimal digits.
    QString sizeText(int row) const { return QString::number(entries_.at(row).size); }

    // The current data row, or -1 when it is the header (empty list).
    int currentRow() const { return current_; }
    // The row the user clicked; out-of-range rows are ignored.
    void setCurrentRow(int row);

    // Appends one row per path, in order, with the file's size read now, and
    // makes the last added row current. Paths that are no longer a readable
    // regular file are skipped; they are returned.
    QStringList add(const QStringList& paths);
    // Marks the current row removed ("-"). Does nothing when the current row is
    // the header or is already removed; returns whether a row was removed.
    bool removeCurrent();
    // Deletes every data row ("--"); the header stays and the header is current.
    void removeAll();

signals:
    void currentRowChanged(int row);

private:
    QList<Entry> entries_;
    int current_ = -1;
};
