// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spreadsheet files (.xlsx and .ods) read without a detour through CSV: one sheet as rows of
// cell texts, as the spreadsheet shows them. Numbers become the file form of the user's locale
// (zahltext::kurz), so the import's number reader takes them back; booleans "WAHR" and
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
// Cells kept in all (repeated rows of the same content share their cells and count once):
// every row of a full sheet with the four columns an import can choose, so a workbook the
// export wrote (three columns) always comes back.
inline constexpr qsizetype kZellenHoechstens = 4 * kZeilenHoechstens;
// Characters of one cell, as in the spreadsheet programs.
inline constexpr qsizetype kZellTextHoechstens = 32'767;
// Uncompressed size of one entry of the ZIP container that is read.
inline constexpr qint64 kEintragHoechstens = 200LL * 1024 * 1024;

using Zeilen = QList<QStringList>;

// What of a file is read.
struct Auswahl {
    // Cells right of this many columns are left out.
    qsizetype spalten = kSpaltenHoechstens;
    // When not empty: only these columns (from 0) are kept, and each row holds them side by
    // side in ascending order; `spalten` is then not used.
    QList<qsizetype> nur;
    // The sheet by its place in the file (from 0); -1: the first sheet that holds a cell with
    // content (the first sheet when none does).
    int blatt = -1;
};

// A sheet as read.
struct Blattinhalt {
    Zeilen zeilen;
    QString name;         // the sheet's name as the file gives it
    int nummer = 0;       // its place in the file, from 0
    qsizetype breite = 0; // columns up to the last with content, kept or not
};

// True for the extensions .xlsx and .ods (any case).
bool istTabelle(const QString& pfad);

// The names of the sheets of an .xlsx or .ods file, in the file's order.
QStringList blaetter(const QString& pfad);

// One sheet of an .xlsx or .ods file (by its extension). Trailing empty cells of a row and
// trailing empty rows are dropped. A sheet number beyond the file's raises Fehler.
Blattinhalt leseBlatt(const QString& pfad, const Auswahl& auswahl);

// The rows of the first sheet that holds data, cells right of column `spalten` left out.
Zeilen lese(const QString& pfad, qsizetype spalten = kSpaltenHoechstens);
Zeilen leseXlsx(const QString& pfad, qsizetype spalten = kSpaltenHoechstens);
Zeilen leseOds(const QString& pfad, qsizetype spalten = kSpaltenHoechstens);

} // namespace tabelle

// What a spreadsheet import brought in, and from which sheet.
struct TabellenZusammenfassung : ImportZusammenfassung {
    QString blatt;       // the name of the sheet read
    int blattNummer = 0; // its place in the file, from 0
    int leereDavor = 0;  // empty sheets before it that were passed over
    // "Eingelesen wurde das Blatt „Noten“." and, when empty sheets were passed over, why.
    QString blattText() const;
};

// The import of a spreadsheet file: the rows of the sheet `blatt` (-1: the first that holds
// data), then the import settings' columns and title lines as for delimited text
// (ImportAuswerten); rows count as lines. An empty cell counts as an empty field, as in the
// CSV that spreadsheets write: an empty points cell gives no entry, its line is skipped.
TabellenZusammenfassung importiereTabelle(Auswertung& a, const QString& pfad, const ImportEinstellungen& e,
                                          int blatt = -1);
