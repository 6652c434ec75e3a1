// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tabelle.h"

#include "Fortschritt.h"
#include "Meldungsfehler.h"
#include "OdsLesen.h"
#include "XlsxLesen.h"
#include "Zahltext.h"
#include "Zip.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <new>
#include <utility>

namespace tabelle {

namespace {
bool istOds(const QString& pfad) {
    return QFileInfo(pfad).suffix().toLower() == u"ods";
}

Auswahl bis(qsizetype spalten) {
    Auswahl a;
    a.spalten = spalten;
    return a;
}
} // namespace

bool istTabelle(const QString& pfad) {
    const QString endung = QFileInfo(pfad).suffix().toLower();
    return endung == u"xlsx" || endung == u"ods";
}

QStringList blaetter(const QString& pfad) {
    const Archiv archiv(pfad);
    return istOds(pfad) ? ods::blaetter(archiv) : xlsx::blaetter(archiv);
}

Blattinhalt leseBlatt(const QString& pfad, const Auswahl& auswahl) {
    const Archiv archiv(pfad);
    return istOds(pfad) ? ods::lies(archiv, auswahl) : xlsx::lies(archiv, auswahl);
}

Zeilen lese(const QString& pfad, qsizetype spalten) {
    return leseBlatt(pfad, bis(spalten)).zeilen;
}

Zeilen leseXlsx(const QString& pfad, qsizetype spalten) {
    const Archiv archiv(pfad);
    return xlsx::lies(archiv, bis(spalten)).zeilen;
}

Zeilen leseOds(const QString& pfad, qsizetype spalten) {
    const Archiv archiv(pfad);
    return ods::lies(archiv, bis(spalten)).zeilen;
}

} // namespace tabelle

QString TabellenZusammenfassung::blattText() const {
    QString text = QStringLiteral("Eingelesen wurde das Blatt „%1“").arg(blatt);
    if (leereDavor == 1)
        text += QStringLiteral("; das Blatt davor ist leer");
    else if (leereDavor > 1)
        text += QStringLiteral("; die %1 Blätter davor sind leer").arg(zahltext::ganz(leereDavor));
    return text + u'.';
}

TabellenZusammenfassung importiereTabelle(Auswertung& a, const QString& pfad, const ImportEinstellungen& e,
                                          int blatt) {
    try {
        // Only the columns the settings name are kept, side by side: a wide sheet costs
        // nothing, and the cells counted are those of the chosen columns.
        const std::array<int, 4> gewaehlt{e.vorname, e.nachname, e.punkte, e.noten};
        tabelle::Auswahl auswahl;
        auswahl.spalten = 0;
        auswahl.blatt = blatt;
        int hoechste = 0;
        for (const int s : gewaehlt)
            if (s > 0) {
                auswahl.nur.append(s - 1);
                hoechste = std::max(hoechste, s);
            }
        tabelle::Blattinhalt inhalt = tabelle::leseBlatt(pfad, auswahl);
        // The kept columns, as the rows now hold them, for the text import.
        std::sort(auswahl.nur.begin(), auswahl.nur.end());
        auswahl.nur.erase(std::unique(auswahl.nur.begin(), auswahl.nur.end()), auswahl.nur.end());
        const auto neueSpalte = [&auswahl](int s) {
            return s > 0 ? static_cast<int>(std::find(auswahl.nur.cbegin(), auswahl.nur.cend(), s - 1) -
                                            auswahl.nur.cbegin()) +
                               1
                         : 0;
        };
        const ImportEinstellungen kompakt{.vorname = neueSpalte(e.vorname),
                                          .nachname = neueSpalte(e.nachname),
                                          .punkte = neueSpalte(e.punkte),
                                          .noten = neueSpalte(e.noten),
                                          .titelzeilen = e.titelzeilen};
        // A sheet that reaches the highest chosen column has all the chosen columns in every
        // row, as its CSV would: an empty cell is an empty field, not a missing one.
        const qsizetype felder = inhalt.breite >= hoechste ? auswahl.nur.size() : 0;

        // The rows become lines for the text import, joined by a character that XML can't
        // carry, so no cell holds it; repeated rows share one line.
        const QChar trenner(u'\xFFFF');
        QStringList texte;
        const QStringList* vorige = nullptr;
        qsizetype nr = 0;
        for (const QStringList& z : std::as_const(inhalt.zeilen)) {
            if (++nr % 4096 == 0)
                fortschritt::melde(nr, inhalt.zeilen.size());
            if (vorige && !z.isEmpty() && z.constData() == vorige->constData()) {
                texte.append(texte.constLast());
                continue;
            }
            vorige = &z;
            QString zeile = z.join(trenner);
            for (qsizetype f = std::max<qsizetype>(z.size(), 1); f < felder; ++f)
                zeile += trenner;
            texte.append(std::move(zeile));
        }
        TabellenZusammenfassung ergebnis;
        static_cast<ImportZusammenfassung&>(ergebnis) = ImportAuswerten(a, texte, trenner, kompakt);
        ergebnis.blatt = inhalt.name;
        ergebnis.blattNummer = inhalt.nummer;
        ergebnis.leereDavor = blatt < 0 ? inhalt.nummer : 0;
        return ergebnis;
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(zuWenigSpeicherText(pfad));
    }
}
