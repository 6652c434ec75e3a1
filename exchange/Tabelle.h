// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spreadsheet files (.xlsx and .ods) read without a detour through CSV: the first sheet as rows
// of cell texts, as the spreadsheet shows them. Numbers become the file form of the user's
// locale (zahltext::kurz), so the import's number reader takes them back; booleans "WAHR" and
// "FALSCH"; empty cells keep their place, so columns stay where they are. A broken or hostile
// file raises Fehler with a German text naming the file; nothing is changed then.

#include "Auswertung.h"
#include "Import.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tabelle {

// What a sheet may hold, as in the spreadsheet programs; a file beyond it is refused.
inline constexpr qsizetype kZeilenHoechstens = 1'048'576;
inline constexpr qsizetype kSpaltenHoechstens = 16'384;
// Cells kept in all (repeated rows of the same content share their cells and count once).
inline constexpr qsizetype kZellenHoechstens = 2'000'000;
// Characters of one cell, as in the spreadsheet programs.
inline constexpr qsizetype kZellTextHoechstens = 32'767;
// Uncompressed size of one entry of the ZIP container that is read.
inline constexpr qint64 kEintragHoechstens = 200LL * 1024 * 1024;

using Zeilen = QList<QStringList>;

// True for the extensions .xlsx and .ods (any case).
bool istTabelle(const QString& pfad);

// The first sheet of an .xlsx or .ods file (by its extension). Cells right of column
// `spalten` are left out. Trailing empty cells of a row and trailing empty rows are dropped.
Zeilen lese(const QString& pfad, qsizetype spalten = kSpaltenHoechstens);
Zeilen leseXlsx(const QString& pfad, qsizetype spalten = kSpaltenHoechstens);
Zeilen leseOds(const QString& pfad, qsizetype spalten = kSpaltenHoechstens);

} // namespace tabelle

// The import of a spreadsheet file: its first sheet's rows, then the import settings' columns
// and title lines as for delimited text (ImportAuswerten); rows count as lines.
ImportZusammenfassung importiereTabelle(Auswertung& a, const QString& pfad, const ImportEinstellungen& e);
