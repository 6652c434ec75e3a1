// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fehler.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>

namespace {
QString vollerPfad(const QString& pfad) {
    return pfad.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(pfad).absoluteFilePath());
}
} // namespace

Fehler::Fehler(const QString& text, const QString& pfad)
    : m_text(fehler::mitPfad(text, pfad)), m_pfad(vollerPfad(pfad)), m_utf8(m_text.toUtf8()) {}

namespace fehler {

QString ausErrno(int n) {
    switch (n) {
    case ENOENT:
        return QStringLiteral("Datei nicht gefunden");
    case ENOTDIR:
        return QStringLiteral("Pfad nicht gefunden");
    case EACCES:
    case EPERM:
    case EISDIR:
        return QStringLiteral("Dateizugriff verweigert");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case ENOSPC:
        return QStringLiteral("Zu wenig Speicherplatz auf dem Datenträger");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent auf dem Datenträger ist erschöpft");
    case EFBIG:
        return QStringLiteral("Die Datei ist zu groß für den Datenträger");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird von einem anderen Programm verwendet");
    case ENOMEM:
        return QStringLiteral("Zu wenig Arbeitsspeicher");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zu viele geöffnete Dateien");
    default:
        return QStringLiteral("E/A-Fehler %1").arg(n);
    }
}

void wirfErrno(int n) {
    throw Fehler(ausErrno(n));
}

void wirfErrno(int n, const QString& pfad) {
    throw Fehler(ausErrno(n), pfad);
}

QString mitPfad(const QString& text, const QString& pfad) {
    if (pfad.isEmpty())
        return text;
    return text + u'\n' + vollerPfad(pfad);
}

} // namespace fehler
