#pragma once
// Accepts files and folders dragged from a file manager onto a widget and
// hands over their local paths in the order they were dropped.

#include <QObject>
#include <QStringList>

class QMimeData;

class FileDropFilter final : public QObject {
    Q_OBJECT
public:
    // Installs itself on target, which then accepts drops.
    explicit FileDropFilter(QWidget* target);

    // The local paths a drop carries, in order; empty when it carries none.
    static QStringList localPaths(const QMimeData* data);

signals:
    void dropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
