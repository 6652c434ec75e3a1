// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report as a rich-text document: the lines with their styles, and the restyling the
// report window's font command applies. No window needed, so the document is tested and timed
// on its own.

#include "Report.h"

#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <optional>

class QTextDocument;

namespace reportdokument {

// Lucida Console where the system has it, otherwise its fixed-width font, so the padded
// columns line up; `pixel` high.
QFont grundschrift(int pixel);

// The format of a report line in `grundschrift`, black; every flag is set, so plain means
// none of them whatever the text around it has.
QTextCharFormat zeilenformat(const QFont& grundschrift, Stil stil);

// Replaces the text of `dokument` by the lines, one paragraph each in its style, with
// `grundschrift` as the default font. The filling is no step to undo.
void fuellen(QTextDocument& dokument, const Reportzeilen& zeilen, const QFont& grundschrift);

// What the user changed in the report window's font dialog: only these properties are given to the text.
struct Schriftaenderung {
    std::optional<QString> familie;
    std::optional<qreal> punkte;
    std::optional<int> gewicht;
    std::optional<bool> kursiv, unterstrichen, durchgestrichen;
    std::optional<QColor> farbe;

    // The difference between the dialog's font and colour as it opened and as it was confirmed.
    static Schriftaenderung zwischen(const QFont& vorher, const QColor& farbeVorher, const QFont& nachher,
                                     const QColor& farbeNachher);
    bool leer() const;
    QTextCharFormat angewandt(QTextCharFormat format) const;
    // Every character from `von` to `bis` (and the paragraph marks inside) gets the changes;
    // the rest of its format (and pictures) stays.
    void anwenden(QTextDocument& dokument, int von, int bis) const;
};

// Gives the characters from `von` to `bis` the font's name, size in points, weight, italic,
// underline and strike-out, and `farbe`; the paragraph marks inside the range as well, so empty
// lines take the new height. Pictures keep their format.
void schriftSetzen(QTextDocument& dokument, int von, int bis, const QFont& schrift, const QColor& farbe);

} // namespace reportdokument
