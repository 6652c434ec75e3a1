#pragma once
// The result list as semicolon-separated text: one line per entry in list order with name,
// points and grade, in Windows-1252, every line ended by CR LF, no title line, nothing quoted.
// Numbers take the file form of the user's locale (zahltext::kurz). Failures raise Fehler.

#include "results.h"

#include <QIODevice>
#include <QString>

void exportiereCsv(QIODevice& ziel, const Notenliste& liste);
// Through QSaveFile: a failed export leaves an existing file as it was.
void exportiereCsv(const QString& pfad, const Notenliste& liste);
