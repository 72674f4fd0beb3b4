#include "core/stamping/stalecleaner.h"

#include "core/base/temporaryoutput.h"
#include "core/imaging/notice.h"

#include <QDir>
#include <QFileInfo>

void StaleCleaner::cleanFor(const StampRequest& request) {
    if (request.notice.on && request.notice.copName)
        clean(QFileInfo(copPicturePath(request.source)).absolutePath());
}

void StaleCleaner::clean(const QString& folder) {
    const QString key = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!cleaned_.contains(key)) {
        cleaned_.insert(key);
        removeStaleTemporaries(key);
    }
}
