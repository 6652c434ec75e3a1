// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The histogram of the grade distribution: ranges of equal width from 1.0 and the students of
// the grade classes counted into them.

#include "Eintrag.h"

#include <QString>
#include <cstdint>
#include <vector>

// One grade range of the histogram: lower bound included, upper bound not.
struct THistogrammBalken {
    double unten = 0;
    double oben = 0;
    std::int32_t anzahl = 0;
};

namespace histogramm {

// The range width for the settings dialog's grouping index (0 tenths, 1 thirds, 2 halves,
// 3 whole grades; anything else thirds).
double breite(int gruppe);

// The ranges from 1.0 while the lower bound is at most 6.0, with bounds accumulated in double,
// and the students of every class counted into the range that holds its grade.
std::vector<THistogrammBalken> bereiche(const std::vector<TNotenklasse>& klassen, double breite);

struct Balken {
    QString beschriftung; // "%.1f-%.1f"
    std::int32_t wert = 0;
};
// One bar per non-empty range, in ascending order.
std::vector<Balken> balken(const std::vector<THistogrammBalken>& bereiche);

} // namespace histogramm
