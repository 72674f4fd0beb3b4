#include "stamping/testerbitmap.h"

#include "base/programfolder.h"
#include "imaging/bitmapfile.h"

#include <QDir>

bool WriteTesterBitmap(const QImage& composed, QString* error) {
    const QString path = QDir(writableProgramFolder()).filePath(QStringLiteral("tester.bmp"));
    if (WriteBitmapFile(composed, 32, path) > 0)
        return true;
    if (error)
        *error = QStringLiteral("„%1“ konnte nicht geschrieben werden.").arg(path);
    return false;
}
