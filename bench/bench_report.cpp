// SPDX-License-Identifier: GPL-3.0-or-later
// The report of 10^5 graded students: its lines, and those lines as the report window's document.
#include "Benchdaten.h"
#include "Klassen.h"
#include "Messung.h"
#include "Report.h"
#include "Reportdokument.h"
#include "Zahltext.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>
#include <cmath>

namespace {
Auswertung graded(std::size_t n, bool roh, unsigned saat) {
    Auswertung a;
    a.FEintraege = benchdaten::zufallsliste(n, saat, roh);
    return a;
}
} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    messung::zahlenMitPunkt();
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    const TNotenskala skala;
    // The report window's font: 15 pixels at 120 dpi, scaled to the screen.
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    const QFont schrift = reportdokument::grundschrift(static_cast<int>(std::lround(15 * dpi / 120.0)));
    QImage seite(800, 600, QImage::Format_ARGB32_Premultiplied);
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

        // What the window does with the lines: a new document, filled and then dropped for the
        // next report. The layout of the whole text, which the field would otherwise finish in
        // steps after showing the first page, and its first screen painted count too.
        const double anzeige = messung::besteZeitMs(3, nullptr, [&] {
            QTextDocument dokument;
            reportdokument::fuellen(dokument, zeilen, schrift);
            dokument.documentLayout()->documentSize();
            QPainter maler(&seite);
            dokument.drawContents(&maler, QRectF(0, 0, seite.width(), seite.height()));
        });
        messung::bericht("render the report document, " + art, anzeige, "< 1 s", anzeige < 1000);
    }
    return 0;
}
