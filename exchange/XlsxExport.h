// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result list as an Excel workbook: one sheet, one row per entry in list order with the
// name as text and points and grade as numbers shown with one decimal ("0.0"), so that no
// spreadsheet reads "1,3" as a date. No title row, as in the CSV. Names keep characters XML
// can't carry and literal "_xHHHH_" through the escapes of the format. The workbook is the same
// under any locale of the process. Failures raise Fehler; an existing file stays as it was then.

#include "Eintrag.h"

#include <QString>

// Writes the workbook. Returns how many values (points or grades) were no finite number (NaN
// or infinite, as a record file may hold): their cells stay empty, since a spreadsheet would
// show such a number as 0. 0 when all were numbers; leereWerteText tells the user otherwise.
qsizetype exportiereXlsx(const QString& pfad, const Notenliste& liste);

// "3 Werte sind keine endlichen Zahlen; ihre Zellen in der Arbeitsmappe bleiben leer." (singular
// for 1); empty for 0.
QString leereWerteText(qsizetype anzahl);
