// SPDX-License-Identifier: GPL-3.0-or-later
// "Spaltenbreite anpassen" on a million entries, against measuring every cell as the command
// did before.
#include "Benchdaten.h"
#include "ErgebnisModell.h"
#include "Messung.h"
#include "Spaltenbreite.h"
#include "Zahltext.h"

#include <QApplication>
#include <QTableView>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    messung::zahlenMitPunkt();
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    QTableView grid; // the grid's font, as the main window has it
    const QFontMetrics fm(grid.font());

    const Notenliste million = benchdaten::zufallsliste(1'000'000, 11);
    std::array<int, raster::kSpalten> breiten{};
    const double ms =
        messung::besteZeitMs(3, nullptr, [&] { breiten = spaltenbreite::fuerRaster(grid.font(), million); });
    messung::bericht("Spaltenbreite anpassen, 10^6 entries", ms, "unter 1 s", ms < 1000);

    const Notenliste roh = benchdaten::zufallsliste(1'000'000, 12, true);
    const double msRoh =
        messung::besteZeitMs(3, nullptr, [&] { spaltenbreite::fuerRaster(grid.font(), roh); });
    messung::bericht("Spaltenbreite anpassen, 10^6 distinct grades", msRoh, "unter 1 s", msRoh < 1000);

    // Every cell measured, once: the figure the command had before.
    ErgebnisModell modell;
    modell.anzeigen(million);
    std::array<int, raster::kSpalten> jedeZelle{};
    const double vorher = messung::besteZeitMs(1, nullptr, [&] {
        for (int spalte = 0; spalte < raster::kSpalten; ++spalte) {
            int breite = 0;
            for (int zeile = 0; zeile <= modell.rowCount(); ++zeile)
                breite = std::max(breite, fm.horizontalAdvance(modell.zellText(spalte, zeile)));
            jedeZelle[static_cast<std::size_t>(spalte)] = breite + 10;
        }
    });
    messung::bericht("every cell measured, 10^6 entries", vorher, "reference", true);
    messung::bericht("same widths as every cell measured", 0, "equal", breiten == jedeZelle);
    return breiten == jedeZelle ? 0 : 1;
}
