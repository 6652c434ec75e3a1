#include "Export.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Zahltext.h"

#include <QSaveFile>

namespace {

void haengeZahlAn(QByteArray& puffer, double wert) {
    // The number text is ASCII apart from the locale's decimal separator.
    const QString text = zahltext::kurz(wert);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            puffer.append(static_cast<char>(c.unicode()));
        else
            puffer.append(ansi::ausText(QStringView(&c, 1)));
    }
}

} // namespace

void exportiereCsv(QIODevice& ziel, const Notenliste& liste) {
    // Written in pieces, so a long list needs no second copy of itself as text.
    constexpr qsizetype kStueck = 1 << 20;
    QByteArray puffer;
    puffer.reserve(kStueck + 256);
    for (const TNotenEintrag& e : liste) {
        puffer.append(e.nameBytes());
        puffer.append(';');
        haengeZahlAn(puffer, e.punkte);
        puffer.append(';');
        haengeZahlAn(puffer, e.note);
        puffer.append("\r\n", 2);
        if (puffer.size() >= kStueck) {
            fehler::schreibeAlles(ziel, puffer);
            puffer.resize(0);
        }
    }
    if (!puffer.isEmpty())
        fehler::schreibeAlles(ziel, puffer);
}

void exportiereCsv(const QString& pfad, const Notenliste& liste) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    exportiereCsv(static_cast<QIODevice&>(datei), liste);
    fehler::schliesseAb(datei);
}
