// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the result grid shows: five columns, row 0 the header, entry i in row i + 1.

#include "Eintrag.h"

#include <QString>

namespace raster {
inline constexpr int kSpalten = 5;
QString kopf(int spalte);
// "%3d:" row number, name, points and grade with one decimal, the letter (empty for none).
QString zelle(int spalte, int zeile, const TNotenEintrag& e);
} // namespace raster
