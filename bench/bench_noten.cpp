// SPDX-License-Identifier: GPL-3.0-or-later
// Grading and summary statistics over a million entries.
#include "Messung.h"
#include "Notenskala.h"
#include "Statistik.h"

#include <random>
#include <string>

namespace {

Notenliste zufallsliste(qsizetype n, unsigned saat) {
    std::mt19937 zufall(saat);
    std::uniform_int_distribution<int> halbePunkte(0, 100); // 0 to 50 points in halves
    Notenliste l(n, leererEintrag());
    for (auto& e : l)
        e.punkte = halbePunkte(zufall) / 2.0;
    return l;
}

std::string nsJeEintrag(double ms, qsizetype n) {
    return std::to_string(ms * 1e6 / static_cast<double>(n)) + " ns/entry";
}

} // namespace

int main() {
    constexpr qsizetype n = 1'000'000;
    const Notenliste basis = zufallsliste(n, 42);
    Notenliste liste;

    const struct {
        const char* name;
        int notenschluessel, runden;
    } varianten[] = {
        {"halves, nearer", 0, 2},
        {"thirds, worse (dialog default)", 1, 1},
        {"tenths, nearer", 2, 2},
    };
    for (const auto& v : varianten) {
        TNotenskala skala;
        skala.notenschluessel = v.notenschluessel;
        skala.runden = v.runden;
        const double ms = messung::besteZeitMs(
            5,
            [&] {
                liste = basis;
                liste.detach(); // the copy is not part of the grading
            },
            [&] { AlleNotenBerechnen(liste, skala); });
        const double ns = ms * 1e6 / static_cast<double>(n);
        messung::bericht(std::string("AlleNotenBerechnen ") + v.name + ", " + nsJeEintrag(ms, n), ms,
                         "< 20 ns/entry", ns < 20);
    }

    Auswertung a;
    a.FEintraege = liste;
    const double ms = messung::besteZeitMs(5, nullptr, [&] { StatistikBerechnen(a); });
    messung::bericht("StatistikBerechnen, " + nsJeEintrag(ms, n), ms, "-", true);
    const double msZaehlen = messung::besteZeitMs(5, nullptr, [&] { BestandeneZaehlen(a, 4.0); });
    messung::bericht("BestandeneZaehlen, " + nsJeEintrag(msZaehlen, n), msZaehlen, "-", true);
    return 0;
}
