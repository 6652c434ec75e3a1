// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Spaltenbreite anpassen": every grid column as wide as its widest text, header included, in
// the grid's font, plus 10 pixels. The widths are those of measuring every cell, found without
// measuring a million texts: each distinct text is measured once, and of the names only those
// that an estimate from the characters and their neighbour pairs puts near the top.

#include "Ergebnisraster.h"

#include <QFont>
#include <array>

namespace spaltenbreite {

inline constexpr int kZugabe = 10;

// The five widths for the grid showing `liste` in `font`. An empty list gives the header texts'
// widths, as the grid's empty rows before the first listing do.
std::array<int, raster::kSpalten> fuerRaster(const QFont& font, const Notenliste& liste);

} // namespace spaltenbreite
