// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result list as semicolon-separated text: one line per entry in list order with name,
// points and grade, in Windows-1252, every line ended by CR LF, no title line. Only a name that
// holds ";", a quotation mark or a line break is quoted (RFC 4180: in quotation marks, inner ones
// doubled).
// Numbers take the file form of the user's locale (zahltext::kurz). Failures raise Fehler.
// A name that a spreadsheet would read as a formula gets a leading apostrophe (formelschutz).

#include "Eintrag.h"
#include "Grenzfaelle.h"

#include <QIODevice>
#include <QString>
#include <QStringView>
#include <string_view>
#include <vector>

// A spreadsheet takes a cell that begins with = + - @ TAB or CR for a formula, and a student
// can choose such a name. The export writes it with an apostrophe before it, the import takes
// that apostrophe off again. Leading apostrophes are looked past, so that a name that itself
// begins with "'=" comes back whole.
namespace formelschutz {
// True when the text, after any leading apostrophes, begins with one of those characters.
bool noetig(std::string_view text);
bool noetig(QStringView text);
// A field as the import reads it: one leading apostrophe off when noetig holds for the rest or
// the rest begins with LF (a quoted CR as the import passes it on).
std::string_view entferne(std::string_view feld);
QStringView entferne(QStringView feld);
} // namespace formelschutz

void exportiereCsv(QIODevice& ziel, const Notenliste& liste);
// Through QSaveFile: a failed export leaves an existing file as it was.
void exportiereCsv(const QString& pfad, const Notenliste& liste);

// The "Grenzfälle" rows as the list's own export writes text (Windows-1252, ";", CR LF, names as
// stored, behind an apostrophe where formelschutz asks and quoted as above), after a title line
// naming the columns.
void exportiereGrenzfaelle(const QString& pfad, const std::vector<grenzfaelle::Grenzfall>& faelle,
                           const Notenliste& liste);
