// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notendatei.h"

#include "Dateifehler.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Zahltext.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

namespace notendatei {
namespace {
constexpr qint64 kSatz = sizeof(TNotenEintrag);
// Read and written in blocks of this size, reporting progress after each.
constexpr qint64 kBlock = qint64(4) << 20;
// Beyond this no exam has points or grades: a file of other data read as records.
constexpr double kZahlHoechstens = 1e15;

bool zahlPasst(double x) {
    return std::isfinite(x) && std::fabs(x) <= kZahlHoechstens;
}

// Text as a text file holds it: printable characters (any code page), TAB, LF and CR.
bool textzeichen(unsigned char c) {
    return (c >= 0x20 && c != 0x7f) || c == '\t' || c == '\n' || c == '\r';
}

void pruefeSatz(const TNotenEintrag& e, Befund& b) {
    b.langerName = b.langerName || e.laenge > TNotenEintrag::kNamenLaenge;
    b.zahlen = b.zahlen || !zahlPasst(e.punkte) || !zahlPasst(e.note);
    // The program's records hold zeros in their alignment bytes and in the letter's high byte.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&e);
    b.textartig =
        b.textartig || std::all_of(bytes + offsetof(TNotenEintrag, fuell1), bytes + kSatz, textzeichen);
}

QString zuWenigSpeicher(const QString& pfad, qint64 anzahl) {
    if (pfad.isEmpty())
        return fehler::ausErrno(ENOMEM);
    return QStringLiteral(
               "Zu wenig Arbeitsspeicher, um „%1“ zu öffnen (%2 Einträge). Die Liste bleibt, wie sie war.")
        .arg(QDir::toNativeSeparators(pfad), zahltext::ganz(anzahl));
}

// The list is built aside and handed over whole, so a failure leaves the caller's list as it was.
Notenliste leseAus(QIODevice& geraet, const QString& pfad, Befund* befund) {
    // The size decides how much room is taken, so it is checked against what can be held first:
    // a disk image picked under "Alles (*.*)" must not end the program.
    const qint64 groesse = geraet.size();
    const qint64 anzahl = groesse / kSatz;
    Notenliste liste;
    try {
        liste = listengrenze::mitPlatz(anzahl);
        liste.fill(leererEintrag(), anzahl);
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(zuWenigSpeicher(pfad, anzahl));
    }
    const qint64 soll = anzahl * kSatz;
    char* ziel = anzahl > 0 ? reinterpret_cast<char*>(liste.data()) : nullptr;
    qint64 gelesen = 0;
    while (gelesen < soll) {
        errno = 0;
        const qint64 r = geraet.read(ziel + gelesen, std::min(soll - gelesen, kBlock));
        if (r <= 0) {
            if (auto* datei = qobject_cast<QFileDevice*>(&geraet); datei && r < 0)
                fehler::wirfDateifehler(*datei, errno);
            throw Fehler(fehler::HinterDateiende, pfad);
        }
        gelesen += r;
        fortschritt::melde(gelesen, soll);
    }
    if (befund) {
        befund->restbytes = groesse % kSatz != 0;
        for (const auto& e : std::as_const(liste))
            pruefeSatz(e, *befund);
    }
    for (auto& e : liste)
        if (e.laenge > TNotenEintrag::kNamenLaenge)
            e.laenge = TNotenEintrag::kNamenLaenge;
    return liste;
}
} // namespace

Notenliste lese(QIODevice& geraet, Befund* befund) {
    return leseAus(geraet, QString(), befund);
}

Notenliste lese(const QString& pfad, Befund* befund) {
    QFile datei(pfad);
    errno = 0;
    if (!datei.open(QIODevice::ReadOnly))
        fehler::wirfDateifehler(datei, errno);
    return leseAus(datei, pfad, befund);
}

void schreibe(QIODevice& geraet, const Notenliste& liste) {
    const qint64 gesamt = static_cast<qint64>(liste.size()) * kSatz;
    const char* bytes = reinterpret_cast<const char*>(liste.constData());
    for (qint64 geschrieben = 0; geschrieben < gesamt;) {
        const qint64 stueck = std::min(gesamt - geschrieben, kBlock);
        fehler::schreibeAlles(geraet, QByteArrayView(bytes + geschrieben, stueck));
        geschrieben += stueck;
        fortschritt::melde(geschrieben, gesamt);
    }
}

void schreibe(const QString& pfad, const Notenliste& liste) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    schreibe(static_cast<QIODevice&>(datei), liste);
    // Cancelled after the last block: the old file must stay, so no commit.
    fortschritt::pruefe();
    fehler::schliesseAb(datei);
}

} // namespace notendatei
