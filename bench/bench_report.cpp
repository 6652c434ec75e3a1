// SPDX-License-Identifier: GPL-3.0-or-later
// The report of 10^5 graded students: its lines, and those lines rendered into the report window.
#include "Benchdaten.h"
#include "Ergebnisfenster.h"
#include "Klassen.h"
#include "Messung.h"
#include "Report.h"
#include "Zahltext.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>

namespace {
Auswertung graded(std::size_t n, bool roh, unsigned saat) {
    Auswertung a;
    a.FEintraege = benchdaten::zufallsliste(n, saat, roh);
    return a;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(symbole);
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    const TNotenskala skala;
    TErgebnis fenster;
    fenster.resize(800, 600);
    for (bool roh : {false, true}) {
        const std::string art = roh ? "10^5 distinct raw grades, classes" : "17 grades, classes";
        Auswertung basis = graded(100'000, roh, 7);
        KlassenBilden(basis); // the ECTS layout: a class lookup per student
        for (std::size_t i = 0; i < basis.FKlassen.size(); ++i)
            basis.FKlassen[i].ects =
                static_cast<char16_t>(u'A' + std::min<std::size_t>(i * 6 / basis.FKlassen.size(), 5));
        klassen::ectsZaehlen(basis);

        Auswertung a;
        Reportzeilen zeilen;
        const double linien = messung::besteZeitMs(
            5, [&] { a = basis; }, [&] { zeilen = reportZeilen(a, skala, 4.0); });
        messung::bericht("report lines, " + art, linien, "< 100 ms", linien < 100);

        // Rendering includes the layout of the whole text, which the field would otherwise
        // finish in steps after showing the first page.
        const double anzeige = messung::besteZeitMs(3, nullptr, [&] {
            fenster.zeigeZeilen(zeilen);
            fenster.report->document()->documentLayout()->documentSize();
            fenster.report->viewport()->repaint();
        });
        messung::bericht("render into the report window, " + art, anzeige, "< 1 s", anzeige < 1000);
    }
    return 0;
}
