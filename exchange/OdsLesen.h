// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first table of an OpenDocument spreadsheet (.ods): its rows and cells from content.xml,
// with repeated rows and cells made only as far as they hold content.

#include "Tabelle.h"
#include "Zip.h"

namespace tabelle::ods {

// Cells right of column `spalten` are left out. A broken or hostile file raises Fehler.
Zeilen erstesBlatt(const Archiv& archiv, qsizetype spalten);

} // namespace tabelle::ods
