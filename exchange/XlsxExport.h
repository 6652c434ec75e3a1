// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result list as an Excel workbook: one sheet, one row per entry in list order with the
// name as text and points and grade as numbers shown with one decimal ("0.0"), so that no
// spreadsheet reads "1,3" as a date. No title row, as in the CSV. Failures raise Fehler; an
// existing file stays as it was then.

#include "Eintrag.h"

#include <QString>

void exportiereXlsx(const QString& pfad, const Notenliste& liste);
