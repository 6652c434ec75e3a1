// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notendatei.h"

#include "Dateifehler.h"
#include "Fehler.h"
#include "Zahltext.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <new>

namespace notendatei {
namespace {
constexpr qint64 kSatz = sizeof(TNotenEintrag);

QString zuWenigSpeicher(const QString& pfad, qint64 anzahl) {
    if (pfad.isEmpty())
        return fehler::ausErrno(ENOMEM);
    return QStringLiteral(
               "Zu wenig Arbeitsspeicher, um „%1“ zu öffnen (%2 Einträge). Die Liste bleibt, wie sie war.")
        .arg(QDir::toNativeSeparators(pfad), zahltext::ganz(anzahl));
}

// The list is built aside and handed over whole, so a failure leaves the caller's list as it was.
Notenliste lese(QIODevice& geraet, const QString& pfad) {
    // The size decides how much room is taken, so it is checked against what can be held first:
    // a disk image picked under "Alles (*.*)" must not end the program.
    const qint64 anzahl = geraet.size() / kSatz;
    Notenliste liste;
    try {
        liste = listengrenze::mitPlatz(anzahl);
        liste.fill(leererEintrag(), anzahl);
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(zuWenigSpeicher(pfad, anzahl));
    }
    if (anzahl > 0) {
        const qint64 soll = anzahl * kSatz;
        char* ziel = reinterpret_cast<char*>(liste.data());
        qint64 gelesen = 0;
        while (gelesen < soll) {
            errno = 0;
            const qint64 r = geraet.read(ziel + gelesen, soll - gelesen);
            if (r <= 0) {
                if (auto* datei = qobject_cast<QFileDevice*>(&geraet); datei && r < 0)
                    fehler::wirfDateifehler(*datei, errno);
                throw Fehler(fehler::HinterDateiende, pfad);
            }
            gelesen += r;
        }
    }
    for (auto& e : liste)
        if (e.laenge > TNotenEintrag::kNamenLaenge)
            e.laenge = TNotenEintrag::kNamenLaenge;
    return liste;
}
} // namespace

Notenliste lese(QIODevice& geraet) {
    return lese(geraet, QString());
}

Notenliste lese(const QString& pfad) {
    QFile datei(pfad);
    errno = 0;
    if (!datei.open(QIODevice::ReadOnly))
        fehler::wirfDateifehler(datei, errno);
    return lese(datei, pfad);
}

void schreibe(QIODevice& geraet, const Notenliste& liste) {
    if (!liste.isEmpty())
        fehler::schreibeAlles(geraet, QByteArrayView(reinterpret_cast<const char*>(liste.constData()),
                                                     static_cast<qint64>(liste.size()) * kSatz));
}

void schreibe(const QString& pfad, const Notenliste& liste) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    schreibe(static_cast<QIODevice&>(datei), liste);
    fehler::schliesseAb(datei);
}

} // namespace notendatei
