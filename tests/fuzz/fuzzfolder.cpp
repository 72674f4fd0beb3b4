#include "fuzzfolder.h"

#include <QTemporaryDir>

QString FuzzFile(const char* name) {
    static QTemporaryDir folder;
    return folder.filePath(QString::fromLatin1(name));
}
