// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sheets of an Excel workbook (.xlsx): found through the package's relationships, their
// cells as Excel shows them, with the shared texts the cells point to.

#include "Tabelle.h"
#include "Zip.h"

namespace tabelle::xlsx {

// The names of the sheets, in the workbook's order.
QStringList blaetter(const Archiv& archiv);

// The sheet the Auswahl names. A broken or hostile workbook raises Fehler.
Blattinhalt lies(const Archiv& archiv, const Auswahl& auswahl);

} // namespace tabelle::xlsx
