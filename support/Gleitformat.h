// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Float to text in the five classic float formats (general, exponent, fixed, number, currency).
// Shown digits are rounded half away from zero on the exact binary value. Decimal and thousands
// separators are the user's (zahltext::trennzeichen()); the currency symbol and its place come
// from the default QLocale.

#include <QString>

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// precision: significant digits, 1 to 18. digits: decimals for ffFixed, ffNumber and ffCurrency
// (0 to 18); minimum exponent digits for ffGeneral and ffExponent (0 to 4). Values outside are
// clamped.
//   ffGeneral   shortest form; exponent form ("1,5E20", "1E-5") below 0.0001 or with more
//               integer digits than precision
//   ffExponent  "1,2345000E+003": precision digits, signed exponent
//   ffFixed     exactly `digits` decimals; exponent form when the integer digits exceed precision
//   ffNumber    ffFixed with thousands separators
//   ffCurrency  ffNumber with the currency symbol ("1.234,50 €")
// NaN and infinities give "NAN", "INF", "-INF".
QString formatiereGleitkomma(long double wert, TFloatFormat format, int precision, int digits);
