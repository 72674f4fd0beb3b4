#include "fuzzfolder.h"

#include <QTemporaryDir>

QString fuzzFile(const char* name) {
    static QTemporaryDir folder;
    return folder.filePath(QString::fromLatin1(name));
}
