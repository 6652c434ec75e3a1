#include "Dateifehler.h"

#include "Fehler.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace fehler {

void wirfDateifehler(const QFileDevice& datei, int errnoDanach) {
    if (errnoDanach != 0)
        wirfErrno(errnoDanach);
    // No errno left: judge from what Qt reports.
    switch (datei.error()) {
    case QFileDevice::OpenError:
        if (!QFileInfo::exists(datei.fileName()))
            wirfErrno(ENOENT);
        wirfErrno(EACCES);
    case QFileDevice::PermissionsError:
        wirfErrno(EACCES);
    case QFileDevice::ReadError:
        wirf(QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
    default:
        wirf(QStringLiteral("E/A-Fehler %1").arg(static_cast<int>(datei.error())));
    }
}

QByteArray leseDatei(const QString& pfad) {
    QFile datei(pfad);
    errno = 0;
    if (!datei.open(QIODevice::ReadOnly))
        wirfDateifehler(datei, errno);
    errno = 0;
    QByteArray bytes = datei.readAll();
    if (datei.error() != QFileDevice::NoError)
        wirfDateifehler(datei, errno);
    return bytes;
}

void schreibeAlles(QIODevice& ziel, QByteArrayView bytes) {
    errno = 0;
    if (ziel.write(bytes.data(), bytes.size()) == bytes.size())
        return;
    if (auto* datei = qobject_cast<QFileDevice*>(&ziel))
        wirfDateifehler(*datei, errno);
    wirf(QStringLiteral("E/A-Fehler 101"));
}

void oeffneZumSchreiben(QSaveFile& datei) {
    errno = 0;
    if (!datei.open(QIODevice::WriteOnly))
        wirfDateifehler(datei, errno);
}

void schliesseAb(QSaveFile& datei) {
    errno = 0;
    if (!datei.flush())
        wirfDateifehler(datei, errno);
    errno = 0;
    if (!datei.commit())
        wirfDateifehler(datei, errno);
}

} // namespace fehler
