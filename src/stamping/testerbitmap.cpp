#include "stamping/testerbitmap.h"

#include "base/coreerror.h"
#include "base/programfolder.h"
#include "imaging/bitmapfile.h"

#include <QDir>

bool WriteTesterBitmap(const QImage& composed, QString* error) {
    const QString path = QDir(writableProgramFolder()).filePath(QStringLiteral("tester.bmp"));
    CoreError failure;
    if (WriteBitmapFile(composed, 32, path, nullptr, &failure) > 0)
        return true;
    if (error) // one line, for the run's summary
        *error = failure.detail.isEmpty()
                     ? QStringLiteral("„%1“ konnte nicht geschrieben werden.").arg(path)
                     : failure.detail;
    return false;
}
