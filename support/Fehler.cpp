#include "Fehler.h"

#include <cerrno>

namespace fehler {

QString ausErrno(int n) {
    switch (n) {
    case ENOENT:
        return QStringLiteral("Datei nicht gefunden");
    case ENOTDIR:
        return QStringLiteral("Pfad nicht gefunden");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return QStringLiteral("Dateizugriff verweigert");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Zu wenig Speicherplatz");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele geöffnete Dateien");
    default:
        return QStringLiteral("E/A-Fehler %1").arg(n);
    }
}

void wirfErrno(int n) { throw Fehler(ausErrno(n)); }

} // namespace fehler
