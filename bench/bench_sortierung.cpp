// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting by grade and by name against std::stable_sort, and listing a million entries.
#include "Benchdaten.h"
#include "ErgebnisModell.h"
#include "Messung.h"
#include "Sortierung.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    messung::zahlenMitPunkt();
    for (std::size_t n : {std::size_t(10'000), std::size_t(100'000), std::size_t(1'000'000)}) {
        const Notenliste basis = benchdaten::zufallsliste(n, 42);
        Notenliste l;
        const double referenz = messung::besteZeitMs(
            3, [&] { l = basis; },
            [&] {
                std::stable_sort(l.begin(), l.end(),
                                 [](const auto& a, const auto& b) { return a.note < b.note; });
            });
        const double note = messung::besteZeitMs(
            3, [&] { l = basis; }, [&] { sortierung::nachNote(l); });
        const double name = messung::besteZeitMs(
            3, [&] { l = basis; }, [&] { sortierung::nachName(l); });
        const std::string s = std::to_string(n);
        messung::bericht("std::stable_sort by grade, " + s, referenz, "reference", true);
        messung::bericht("sort by grade, " + s, note, "<= 2.5 x stable_sort",
                         n < 1'000'000 || note <= 2.5 * referenz);
        messung::bericht("sort by name, " + s, name, n < 1'000'000 ? "-" : "< 400 ms",
                         n < 1'000'000 || name < 400);
        if (n == 1'000'000)
            messung::bericht("sort by grade, 17 distinct grades, " + s, note, "< 150 ms", note < 150);
    }
    {
        const Notenliste basis = benchdaten::zufallsliste(1'000'000, 43, true);
        Notenliste l;
        const double note = messung::besteZeitMs(
            3, [&] { l = basis; }, [&] { sortierung::nachNote(l); });
        messung::bericht("sort by grade, 10^6 distinct grades", note, "< 400 ms", note < 400);
    }

    // Listing: the model takes the list, the grid lays out its rows.
    const Notenliste million = benchdaten::zufallsliste(1'000'000, 7);
    ErgebnisModell modell;
    QTableView grid;
    grid.verticalHeader()->hide();
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.setModel(&modell);
    grid.resize(800, 400);
    grid.show();
    const double anzeigen = messung::besteZeitMs(5, nullptr, [&] {
        modell.anzeigen(million);
        QCoreApplication::processEvents();
    });
    messung::bericht("Anzeigen of 1000000 entries", anzeigen, "< 50 ms", anzeigen < 50);
    return 0;
}
