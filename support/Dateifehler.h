#pragma once
// Turns a failed file operation into the program's error with its German text, and writes
// files so that a failure never leaves half a file behind.

#include <QFileDevice>
#include <QSaveFile>

namespace fehler {
// Call right after `datei` failed; `errnoDanach` is errno read at that moment.
[[noreturn]] void wirfDateifehler(const QFileDevice& datei, int errnoDanach);

// The whole content of a file; a failure raises the file error.
QByteArray leseDatei(const QString& pfad);

// Writes all of `bytes`; a short write raises the file error (a device that is no file: "E/A-Fehler 101").
void schreibeAlles(QIODevice& ziel, QByteArrayView bytes);

// Opens a QSaveFile for writing; a failure raises the file error.
void oeffneZumSchreiben(QSaveFile& datei);
// Flushes and commits. Qt's commit() does not report a write that fails while its buffer is
// flushed (a full disk), so the flush is checked first. On failure the old file stays whole.
void schliesseAb(QSaveFile& datei);
} // namespace fehler
