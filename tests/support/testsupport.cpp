#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempFolder::TempFolder() : dir_(QDir::tempPath() + QStringLiteral("/stampora-test-XXXXXX")) {}

QString TempFolder::file(const QString& name) const {
    return dir_.filePath(name);
}

QString TempFolder::write(const QString& name, const QByteArray& bytes) const {
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
