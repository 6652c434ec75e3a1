// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record file: a bare sequence of 56-byte records, no header. Bytes after the last whole
// record are ignored. Failures raise Fehler with the German text of the file error.

#include "Eintrag.h"

#include <QIODevice>
#include <QString>

namespace notendatei {

// Reads every whole record. A length byte above 30 is cut to 30. Nothing is returned
// unless the whole file was read, so a failed read leaves the caller's list as it was.
// A size beyond what can be held (listengrenze) raises "Zu wenig Arbeitsspeicher" (with the
// file's name for the path version) before any room is taken.
Notenliste lese(QIODevice& geraet);
Notenliste lese(const QString& pfad);

// Writes the list in its order. The file version goes through QSaveFile: a failed save
// leaves an existing file whole.
void schreibe(QIODevice& geraet, const Notenliste& liste);
void schreibe(const QString& pfad, const Notenliste& liste);

} // namespace notendatei
