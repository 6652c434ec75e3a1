// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tabelle.h"

#include "Meldungsfehler.h"
#include "OdsLesen.h"
#include "XlsxLesen.h"
#include "Zip.h"

#include <QFileInfo>

#include <algorithm>
#include <new>

namespace tabelle {

bool istTabelle(const QString& pfad) {
    const QString endung = QFileInfo(pfad).suffix().toLower();
    return endung == u"xlsx" || endung == u"ods";
}

Zeilen lese(const QString& pfad, qsizetype spalten) {
    return QFileInfo(pfad).suffix().toLower() == u"ods" ? leseOds(pfad, spalten) : leseXlsx(pfad, spalten);
}

Zeilen leseXlsx(const QString& pfad, qsizetype spalten) {
    const Archiv archiv(pfad);
    return xlsx::erstesBlatt(archiv, spalten);
}

Zeilen leseOds(const QString& pfad, qsizetype spalten) {
    const Archiv archiv(pfad);
    return ods::erstesBlatt(archiv, spalten);
}

} // namespace tabelle

ImportZusammenfassung importiereTabelle(Auswertung& a, const QString& pfad, const ImportEinstellungen& e) {
    try {
        // Only the columns the settings name are kept: a very wide sheet costs nothing.
        const int spalten = std::max({e.vorname, e.nachname, e.punkte, e.noten, 0});
        const tabelle::Zeilen zeilen = tabelle::lese(pfad, spalten);
        // The rows become lines for the text import, joined by a character that XML can't
        // carry, so no cell holds it; repeated rows share one line.
        const QChar trenner(u'\xFFFF');
        QStringList texte;
        const QStringList* vorige = nullptr;
        for (const QStringList& z : zeilen) {
            if (vorige && !z.isEmpty() && z.constData() == vorige->constData())
                texte.append(texte.constLast());
            else
                texte.append(z.join(trenner));
            vorige = &z;
        }
        return ImportAuswerten(a, texte, trenner, e);
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(zuWenigSpeicherText(pfad));
    }
}
