#include "gui/wizard/filedropfilter.h"

#include "core/base/filename.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDropFilter::FileDropFilter(QWidget* target) : QObject(target) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

QStringList FileDropFilter::localPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        // the path's own bytes, percent-decoded: a name need not be UTF-8
        if (url.isLocalFile())
            paths.append(QDir::cleanPath(fileNameFromBytes(
                QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()))));
    }
    return paths;
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (localPaths(drag->mimeData()).isEmpty()) {
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = localPaths(drop->mimeData());
        if (paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        // a copy: the file manager must never move or delete the source files
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        emit dropped(paths);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
