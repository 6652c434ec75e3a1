// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report handed on: on the clipboard, on paper and as PDF. On paper the text keeps its
// fonts at the size the screen shows them, pictures are scaled to the width between the margins.

#include <QString>

class QMimeData;
class QPagedPaintDevice;
class QTextDocument;

namespace reportdruck {

// A range of the document for the clipboard: RTF ("text/rtf" and "application/rtf"), HTML with
// its pictures inline, plain text, and the first picture in the range. Owned by the caller.
QMimeData* zwischenablage(const QTextDocument& dokument, int von, int bis);

// Lays a copy of the document out on the device's pages and draws them; the document
// itself is not changed.
void drucke(const QTextDocument& dokument, QPagedPaintDevice& geraet);

// The document as RTF (rtf::schreibe), written on a worker from a copy (progress dialog and
// "Abbrechen"); a failure or a cancel leaves an existing file as it was.
void speichereAlsRtf(const QString& pfad, const QTextDocument& dokument);

// A4 with 20 mm margins, written on a worker (with progress dialog and "Abbrechen") through
// QSaveFile; a failure or a cancel (fortschritt::Abgebrochen) leaves an existing file as it was.
void speichereAlsPdf(const QString& pfad, const QTextDocument& dokument);

} // namespace reportdruck
