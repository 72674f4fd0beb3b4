#include "core/base/fileerror.h"

#include <cerrno>
#include <cstring>

QString describeNotRegularFile() {
    return QStringLiteral("Keine normale Datei");
}

QString describeNoFileName() {
    return QStringLiteral("Es wurde kein Dateiname angegeben");
}

QString describeFileError(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
        return QStringLiteral("Die Datei existiert nicht");
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang");
    case ELOOP:
        return QStringLiteral("Zu viele symbolische Verknüpfungen");
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent ist erschöpft");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgeschützt");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß");
    case ENOMEM:
        return QStringLiteral("Nicht genug Arbeitsspeicher");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele offene Dateien");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler");
    default:
        return QStringLiteral("Systemfehler %1 (%2)")
            .arg(errorNumber)
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}
