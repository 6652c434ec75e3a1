// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dateifehler.h"

#include "Fehler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace fehler {
namespace {

// The file the user chose: for a QSaveFile its target.
QString zielname(const QFileDevice& datei) {
    return datei.fileName();
}

// QSaveFile's temporary names: the target's name, a dot and six letters or digits.
bool istZwischenname(const QString& name, const QString& ziel) {
    if (name.size() != ziel.size() + 7 || !name.startsWith(ziel) || name[ziel.size()] != u'.')
        return false;
    for (qsizetype i = ziel.size() + 1; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return false;
    }
    return true;
}

bool hatMarke(int fd) {
    char wert = 0;
    return fgetxattr(fd, kZwischenstandMarke, &wert, 1) == 1 && wert == '1';
}

} // namespace

void wirfDateifehler(const QFileDevice& datei, int errnoDanach) {
    const QString pfad = zielname(datei);
    if (errnoDanach != 0)
        wirfErrno(errnoDanach, pfad);
    // No errno left: judge from what Qt reports.
    if (QFileInfo(pfad).isDir())
        wirfErrno(EISDIR, pfad);
    switch (datei.error()) {
    case QFileDevice::OpenError:
        if (!QFileInfo::exists(pfad))
            wirfErrno(ENOENT, pfad);
        wirfErrno(EACCES, pfad);
    case QFileDevice::PermissionsError:
        wirfErrno(EACCES, pfad);
    case QFileDevice::ReadError:
        throw Fehler(HinterDateiende, pfad);
    default:
        throw Fehler(QStringLiteral("E/A-Fehler %1").arg(static_cast<int>(datei.error())), pfad);
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
    abbruchMitFehlerbericht(QStringLiteral("E/A-Fehler 101"));
}

void oeffneZumSchreiben(QSaveFile& datei) {
    errno = 0;
    if (!datei.open(QIODevice::WriteOnly))
        wirfDateifehler(datei, errno);
    // Marked and locked at once; both are best effort and never fail the save.
    const int fd = datei.handle();
    if (fd >= 0) {
        fsetxattr(fd, kZwischenstandMarke, "1", 1, 0);
        flock(fd, LOCK_EX | LOCK_NB);
    }
    errno = 0;
}

void schliesseAb(QSaveFile& datei) {
    errno = 0;
    if (!datei.flush())
        wirfDateifehler(datei, errno);
    errno = 0;
    if (!datei.commit())
        wirfDateifehler(datei, errno);
    // The renamed file carries the mark of its temporary time; the target needs none.
    const QByteArray ziel = QFile::encodeName(datei.fileName());
    removexattr(ziel.constData(), kZwischenstandMarke);
    entferneVerwaisteZwischenstaende(datei.fileName());
    errno = 0;
}

void entferneVerwaisteZwischenstaende(const QString& ziel) {
    const QFileInfo info(ziel);
    const QString name = info.fileName();
    const QDir ordner = info.absoluteDir();
    // No name filter: its wildcards would read brackets in the target's name as a pattern.
    const QStringList kandidaten =
        ordner.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& kandidat : kandidaten) {
        if (!istZwischenname(kandidat, name))
            continue;
        const QByteArray pfad = QFile::encodeName(ordner.filePath(kandidat));
        const int fd = ::open(pfad.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st {};
        // A lock held means a save is writing it right now.
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && hatMarke(fd) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(pfad.constData());
        ::close(fd);
    }
}

} // namespace fehler
