// SPDX-License-Identifier: GPL-3.0-or-later
// The record reader: any bytes read as whole 56-byte records, the same from a device and from a
// file; written back they give the bytes read, and a second read gives the same list.
#include "Pruefung.h"

#include "Ergebnisraster.h"
#include "Fehler.h"
#include "Notendatei.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace {

QByteArray alsBytes(const Notenliste& liste) {
    return QByteArray(reinterpret_cast<const char*>(liste.constData()),
                      liste.size() * qsizetype(sizeof(TNotenEintrag)));
}

Notenliste ausPuffer(QByteArray bytes) {
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::ReadOnly);
    return notendatei::lese(puffer);
}

const QString& pfad() {
    static const QString p = QDir::tempPath() + QStringLiteral("/fuzz_notendatei_%1.noten").arg(getpid());
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const QByteArray eingabe(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
    constexpr qsizetype satz = sizeof(TNotenEintrag);

    Notenliste liste;
    try {
        liste = ausPuffer(eingabe);
    } catch (const Fehler&) {
        PRUEFE(!"a small buffer always reads");
    }
    PRUEFE(liste.size() == eingabe.size() / satz);

    // Each record is its bytes, the length byte cut to 30.
    QByteArray erwartet = eingabe.left(liste.size() * satz);
    for (qsizetype i = 0; i < erwartet.size(); i += satz)
        if (static_cast<std::uint8_t>(erwartet[i]) > TNotenEintrag::kNamenLaenge)
            erwartet[i] = static_cast<char>(TNotenEintrag::kNamenLaenge);
    PRUEFE(alsBytes(liste) == erwartet);

    for (qsizetype i = 0; i < liste.size(); ++i) {
        const TNotenEintrag& e = liste[i];
        PRUEFE(e.nameText().size() == e.laenge);
        for (int spalte = 0; spalte < raster::kSpalten; ++spalte)
            (void)raster::zelle(spalte, int(i + 1), e);
    }

    // Written and read again: the same bytes, the same list.
    QByteArray geschrieben;
    {
        QBuffer puffer(&geschrieben);
        puffer.open(QIODevice::WriteOnly);
        notendatei::schreibe(puffer, liste);
    }
    PRUEFE(geschrieben == erwartet);
    PRUEFE(alsBytes(ausPuffer(geschrieben)) == erwartet);

    // The file path reads what the device path reads.
    {
        QFile datei(pfad());
        PRUEFE(datei.open(QIODevice::WriteOnly | QIODevice::Truncate));
        PRUEFE(datei.write(eingabe) == eingabe.size());
    }
    try {
        PRUEFE(alsBytes(notendatei::lese(pfad())) == erwartet);
    } catch (const Fehler&) {
        PRUEFE(!"a small file always reads");
    }
    return 0;
}
