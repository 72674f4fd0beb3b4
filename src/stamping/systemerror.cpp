#include "stamping/systemerror.h"

#include <cerrno>

QString DescribeSystemError(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("Datei oder Ordner nicht gefunden");
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Kein Speicherplatz mehr frei");
    case EROFS:
        return QStringLiteral("Schreibgeschützter Datenträger");
    case EISDIR:
        return QStringLiteral("Ist ein Ordner");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele offene Dateien");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß");
    case EXDEV:
        return QStringLiteral("Anderer Datenträger");
    default:
        return QStringLiteral("Systemfehler %1").arg(errorNumber);
    }
}
