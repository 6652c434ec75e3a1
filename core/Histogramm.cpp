// SPDX-License-Identifier: GPL-3.0-or-later
#include "Histogramm.h"

#include "Zahltext.h"

#include <algorithm>

namespace histogramm {

double breite(int gruppe) {
    switch (gruppe) {
    case 0:
        return 0.1;
    case 2:
        return 0.5;
    case 3:
        return 1.0;
    default:
        return 1.0 / 3.0;
    }
}

std::vector<THistogrammBalken> bereiche(const std::vector<TNotenklasse>& klassen, double breite) {
    std::vector<THistogrammBalken> b;
    // Accumulated, so each upper bound is bit for bit the next lower bound.
    for (double unten = 1.0; unten <= 6.0; unten = unten + breite)
        b.push_back({unten, unten + breite, 0});
    for (const TNotenklasse& k : klassen) {
        // The last range whose lower bound is at most the grade is the only candidate.
        const auto it =
            std::upper_bound(b.begin(), b.end(), k.note,
                             [](double note, const THistogrammBalken& x) { return note < x.unten; });
        if (it == b.begin())
            continue; // below 1.0, or NaN
        THistogrammBalken& bereich = *(it - 1);
        if (bereich.unten <= k.note && k.note < bereich.oben)
            bereich.anzahl += k.anzahl;
    }
    return b;
}

std::vector<Balken> balken(const std::vector<THistogrammBalken>& bereiche) {
    std::vector<Balken> ergebnis;
    for (const THistogrammBalken& b : bereiche)
        if (b.anzahl > 0)
            ergebnis.push_back({zahltext::fest(b.unten, 1) + u'-' + zahltext::fest(b.oben, 1), b.anzahl});
    return ergebnis;
}

} // namespace histogramm
