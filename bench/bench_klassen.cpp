// SPDX-License-Identifier: GPL-3.0-or-later
// Classification (without the modal window) and histogram ranges of a million graded entries.
#include "Benchdaten.h"
#include "Histogramm.h"
#include "Klassen.h"
#include "Messung.h"

namespace {
Auswertung graded(std::size_t n, bool roh, unsigned saat) {
    Auswertung a;
    a.FEintraege = benchdaten::zufallsliste(n, saat, roh);
    a.OriginalMerken();
    a.FGrenznote = 4.0;
    return a;
}

// What the classification does besides showing the window: classes, grid texts, letters back.
void klassifiziere(Auswertung& a, Klassenraster& r) {
    KlassenBilden(a);
    klassen::rasterFuellen(r, a);
    klassen::buchstabenLesen(r, a);
    klassen::ectsZaehlen(a);
    klassen::buchstabenVerteilen(a);
    a.NotenUebernehmen();
}
} // namespace

int main() {
    for (bool roh : {false, true}) {
        const Auswertung basis = graded(1'000'000, roh, 11);
        const std::string art = roh ? "10^6 distinct raw grades" : "17 distinct grades";
        Auswertung a;
        Klassenraster r;
        const double klassifikation = messung::besteZeitMs(
            3,
            [&] {
                a = basis;
                // In the program no one outside holds the lists; a copy shared with `basis` would
                // time a copy of FOriginal that the program never makes.
                a.FOriginal.detach();
                a.FEintraege.detach();
                a.FBestanden = 500'000;
            },
            [&] { klassifiziere(a, r); });
        messung::bericht("classification, " + art, klassifikation, "< 300 ms", klassifikation < 300);
        // One keystroke in the class window recomputes the group shares of every row.
        const double taste = messung::besteZeitMs(
            3, nullptr, [&] { klassen::gruppenanteileSetzen(r, a.FKlassen, a.FBestanden); });
        messung::bericht("group shares per keystroke, " + art, taste, "< 100 ms", taste < 100);
        const double histo = messung::besteZeitMs(
            3, [&] { a = basis; },
            [&] {
                KlassenBilden(a);
                const auto b = histogramm::balken(histogramm::bereiche(a.FKlassen, histogramm::breite(1)));
                if (b.empty())
                    std::abort();
            });
        messung::bericht("histogram, " + art, histo, "< 300 ms", histo < 300);
    }
    return 0;
}
