#include "core/base/replacingfile.h"

#include "core/base/filename.h"

#include <QFileInfo>

ReplacingFile::ReplacingFile(QString target) : target_(std::move(target)) {}

bool ReplacingFile::open() {
    if (target_.isEmpty())
        return false;
    // through links to the file they lead to, so that file is what gets replaced
    const QString existing = canonicalFileName(target_);
    if (!existing.isEmpty())
        target_ = existing;
    if (!out_.create(QFileInfo(target_).absolutePath()))
        return false;
    if (!existing.isEmpty())
        out_.keepPermissionsOf(existing);
    return true;
}

bool ReplacingFile::write(const char* data, qint64 size) {
    return out_.write(QByteArrayView(data, size));
}

bool ReplacingFile::commit() {
    return out_.commit(target_);
}
