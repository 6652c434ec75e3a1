// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record file: a bare sequence of 56-byte records, no header. Bytes after the last whole
// record are ignored. Failures raise Fehler with the German text of the file error.

#include "Eintrag.h"

#include <QIODevice>
#include <QString>

namespace notendatei {

// What speaks against a file being a record file; the program's own files show none of it.
// Any file opens all the same; the window asks first.
struct Befund {
    bool restbytes = false;  // the size is no multiple of 56
    bool langerName = false; // a length byte above 30 (read as 30)
    bool textartig = false;  // a record whose bytes after the name are all text characters
    bool zahlen = false;     // points or a grade that are no number, infinite or beyond ±10^15
    bool plausibel() const { return !(restbytes || langerName || textartig || zahlen); }
};

// Reads every whole record. A length byte above 30 is cut to 30. Nothing is returned
// unless the whole file was read, so a failed read leaves the caller's list as it was.
// A size beyond what can be held (listengrenze) raises "Zu wenig Arbeitsspeicher" (with the
// file's name for the path version) before any room is taken. With `befund` the records are
// checked as they are read. Reports the bytes read (fortschritt), so it can be cancelled.
Notenliste lese(QIODevice& geraet, Befund* befund = nullptr);
Notenliste lese(const QString& pfad, Befund* befund = nullptr);

// Writes the list in its order. The file version goes through QSaveFile: a failed or
// cancelled save leaves an existing file whole.
void schreibe(QIODevice& geraet, const Notenliste& liste);
void schreibe(const QString& pfad, const Notenliste& liste);

} // namespace notendatei
