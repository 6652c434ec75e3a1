// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first sheet of an Excel workbook (.xlsx): found through the package's relationships,
// its cells as Excel shows them, with the shared texts the cells point to.

#include "Tabelle.h"
#include "Zip.h"

namespace tabelle::xlsx {

// Cells right of column `spalten` are left out. A broken or hostile workbook raises Fehler.
Zeilen erstesBlatt(const Archiv& archiv, qsizetype spalten);

} // namespace tabelle::xlsx
