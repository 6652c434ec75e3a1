// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables of an OpenDocument spreadsheet (.ods): their rows and cells from content.xml,
// with repeated rows and cells made only as far as they hold content.

#include "Tabelle.h"
#include "Zip.h"

namespace tabelle::ods {

// The names of the tables, in the file's order.
QStringList blaetter(const Archiv& archiv);

// The table the Auswahl names. A broken or hostile file raises Fehler.
Blattinhalt lies(const Archiv& archiv, const Auswahl& auswahl);

} // namespace tabelle::ods
