// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a failed file operation into the program's error with its German text and the file's
// path on a second line, and writes files so that a failure never leaves half a file behind.

#include <QFileDevice>
#include <QSaveFile>

namespace fehler {
// Call right after `datei` failed; `errnoDanach` is errno read at that moment. The error
// names the file (for a QSaveFile the target, not its temporary file).
[[noreturn]] void wirfDateifehler(const QFileDevice& datei, int errnoDanach);

// The whole content of a file; a failure raises the file error.
QByteArray leseDatei(const QString& pfad);

// Writes all of `bytes`; a short write raises the file error (a device that is no file: "E/A-Fehler 101").
void schreibeAlles(QIODevice& ziel, QByteArrayView bytes);

// Opens a QSaveFile for writing; a failure raises the file error.
//
// A save that is killed can leave QSaveFile's temporary file beside the target: always with a
// temporary file that has a name of its own (file systems without unnamed temporary files),
// and on Linux for the moment between naming the finished file and renaming it over the
// target. So every temporary file opened here is marked as ours (the extended attribute
// kZwischenstandMarke) and holds a lock while it is written; after each successful save,
// schliesseAb removes the files beside the target that QSaveFile would name
// ("<target>.XXXXXX"), carry the mark, and are locked by no one. A file without the mark (a
// file system without extended attributes, or the user's own "liste.csv.backup") is never touched.
void oeffneZumSchreiben(QSaveFile& datei);
// Flushes and commits. Qt's commit() does not report a write that fails while its buffer is
// flushed (a full disk), so the flush is checked first. On failure the old file stays whole.
// After a successful commit, stale temporary files of earlier saves of this target are removed.
void schliesseAb(QSaveFile& datei);

inline constexpr const char* kZwischenstandMarke = "user.skalora.zwischenstand";

// The stale temporary files of `ziel` as described above, removed; failures are ignored.
void entferneVerwaisteZwischenstaende(const QString& ziel);
} // namespace fehler
