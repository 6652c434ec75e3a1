// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numeric input field's reading rule, free of any widget: the filter of a field that takes
// only a number, and the reading of its text into Value and ValueInt. The separators are the
// user's (zahltext::trennzeichen()).

#include <QString>
#include <QStringView>

namespace zahleingabe {

// Cuts what follows the digits-th decimal after the last decimal separator (digits 0: nothing
// is cut), then keeps only digits, minus signs wherever they stand, the thousands separator and
// that last decimal separator.
QString gefiltert(QStringView text, int digits);

struct Lesung {
    long double wert = 0; // Value
    qint32 ganz = 0;      // ValueInt: wert truncated toward zero, clamped to 32 bits
    // false: a text that is not empty and holds no number the field can take (no number in the
    // user's format, one whose thousands separators are neither a grouping nor one decimal
    // separator, or one whose truncation does not fit 64 bits). Its value counts as 0.
    bool lesbar = true;
    // A single thousands separator before exactly three digits and no decimal separator
    // ("1.000" in German): read as a grouping, but the user may have meant a decimal.
    bool mehrdeutig = false;
};

// The thousands separator of the user's locale is one only where it groups: the integer part
// is 1 to 3 digits followed by groups of exactly three, each after a separator ("1.234.567",
// "1.000,5"). Then the separators are removed. Otherwise a single one in a text without a
// decimal separator is the decimal separator typed the other way ("1.0", "12.5", "1.0000");
// more of them, or one beside a decimal separator, make the text unreadable. The rest is
// zahltext::lese. An empty text reads as 0 and is readable.
Lesung lies(QStringView text);

struct Ergebnis {
    QString text; // what the field shows: the filtered text when acceptChars is false
    Lesung lesung;
};

// What one change of the field's text leads to.
Ergebnis auswerten(QStringView text, bool acceptChars, int digits);

} // namespace zahleingabe
