// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number text as the program shows, writes and reads it. The separators are the user's,
// taken once at start (uebernehmeGebietsschema); nothing here follows LC_NUMERIC.

#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <optional>
#include <string_view>

namespace zahltext {

struct Trennzeichen {
    QChar dezimal = u',';
    QChar tausender = u'.';
};

void uebernehmeGebietsschema(const QLocale& locale);
const Trennzeichen& trennzeichen();

// "%d", and "%3d" with breite 3 (right-aligned, never cut).
QString ganz(qint64 wert, int breite = 0);

// "%.1f" (stellen 1), "%f" (stellen 2), "%4.1f" (breite 4): the exact binary value rounded to
// `stellen` decimals (0 to 3), an exact tie away from zero. No minus sign when the text is all zeros.
QString fest(double wert, int stellen = 1, int breite = 0);

// "%-30s": left-aligned, filled with blanks to breite, never cut.
QString linksbuendig(const QString& text, int breite);

// "##.#" and "##.#%": one decimal (ties away from zero); no integer 0, no decimal 0.
// 2.3 -> "2,3", 1.0 -> "1", 0.5 -> ",5", 0 -> "".
QString muster(double wert);
QString musterProzent(double wert);

// File form: shortest text with at most 15 significant digits, no thousands separators;
// exponent form ("1,5E-7", "1E20") below 0.00001 and from 16 integer digits on.
QString kurz(double wert);
// kurz for a finite value as ASCII with '.' standing for the decimal separator, written to
// `ziel` (room for kKurzPlatz chars); returns the length. For writers of many numbers.
inline constexpr int kKurzPlatz = 32;
int kurzAscii(double wert, char* ziel);

// The number reader for imported text and the settings file: optional blanks around an
// optional sign, digits with at most one decimal separator of the locale, optional exponent.
// Anything else, or a number out of range, gives no value.
std::optional<long double> lese(QStringView text);
// As a double: a number beyond the largest double whose 15-digit rounding is the file form
// of the largest double ("1,79769313486232E308") reads as the largest double, so every file
// form reads back; beyond that, out of range.
std::optional<double> leseDouble(QStringView text);
// The same for bytes of a single-byte text whose codes 0-255 are their characters' codes
// below 128 (ASCII, Windows-1252 digits); bytes above 127 are taken as Latin-1.
std::optional<double> leseDouble(std::string_view bytes);
// The reader without its shortcut for short plain numbers; `lese` gives the same results.
std::optional<long double> leseAllgemein(QStringView text);

// A whole number: an optional sign and decimal digits, nothing else, within 64 bits.
std::optional<qint64> leseGanz(QStringView text);

} // namespace zahltext
