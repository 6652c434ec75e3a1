// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rich text as RTF, for saving the report and for the clipboard. Written from a QTextDocument:
// font and colour tables, paragraphs, character formats and pictures (PNG). Every character
// outside ASCII is escaped, so the file is plain 7-bit text.
// Pixel sizes count at 96 per inch, as in Qt's text layout: 15 px become 11 pt.

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QTextDocument;

class QImage;
class QTextImageFormat;

namespace rtf {

// The picture an image format of the document shows, or a null image when it has none.
QImage bild(const QTextDocument& dokument, const QTextImageFormat& format);

// The whole document as RTF.
QByteArray ausDokument(const QTextDocument& dokument);

// Writes the document to the device as it goes, in pieces, so a long report is never held
// twice; failures raise Fehler. Reports progress in paragraphs (fortschritt::melde); a cancel
// throws out of it.
void schreibe(QIODevice& ziel, const QTextDocument& dokument);
// Through QSaveFile: a failed or cancelled save leaves an existing file as it was.
void schreibe(const QString& pfad, const QTextDocument& dokument);

} // namespace rtf
