// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Rich text as RTF, for saving the report and for the clipboard. Written from a QTextDocument:
// font and colour tables, the paper of the user's locale, paragraphs, character formats and
// pictures (PNG). Every character outside ASCII is escaped, so the file is plain 7-bit text; a
// lone surrogate is written as U+FFFD.
// Pixel sizes count at 96 per inch, as in Qt's text layout: 15 px become 11 pt.

#include <QByteArray>
#include <QIODevice>
#include <QLocale>
#include <QString>

class QTextDocument;

class QImage;
class QTextImageFormat;

namespace rtf {

// The picture an image format of the document shows, or a null image when it has none.
QImage bild(const QTextDocument& dokument, const QTextImageFormat& format);

// The page the file asks for, in twips: US Letter with margins of one inch where `gebiet` uses
// Letter (the United States, Canada, the Philippines and the Latin American countries that keep
// it), A4 with margins of 2 cm everywhere else.
struct Papier {
    int breite = 0;
    int hoehe = 0;
    int rand = 0;
};
Papier papier(const QLocale& gebiet);

// The whole document as RTF, on the paper of `gebiet` (the user's locale unless given).
QByteArray ausDokument(const QTextDocument& dokument, const QLocale& gebiet = QLocale());

// Writes the document to the device as it goes, in pieces, so a long report is never held
// twice; failures raise Fehler. Reports progress in paragraphs (fortschritt::melde); a cancel
// throws out of it.
void schreibe(QIODevice& ziel, const QTextDocument& dokument, const QLocale& gebiet = QLocale());
// Through QSaveFile: a failed or cancelled save leaves an existing file as it was.
void schreibe(const QString& pfad, const QTextDocument& dokument, const QLocale& gebiet = QLocale());

} // namespace rtf
