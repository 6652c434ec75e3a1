// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric field's rule. The filter keeps only what it promises and, applied to its own
// result, changes nothing (the field parses its rewrite once more); thousands separators that
// group by three never change the number; an unreadable text counts as 0; and every number the field writes
// into itself reads back as readable and within what its format shows.
#include "Pruefung.h"

#include "Gleitformat.h"
#include "Zahleingabe.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool gleich(const zahleingabe::Lesung& a, const zahleingabe::Lesung& b) {
    return a.lesbar == b.lesbar && a.wert == b.wert && a.ganz == b.ganz;
}

void pruefeText(const QString& text, bool acceptChars, int digits, std::uint8_t /* once a place */) {
    const auto& t = zahltext::trennzeichen();
    const zahleingabe::Ergebnis e = zahleingabe::auswerten(text, acceptChars, digits);
    if (acceptChars || text.isEmpty()) {
        PRUEFE(e.text == text);
    } else {
        PRUEFE(e.text == zahleingabe::gefiltert(text, digits));
        PRUEFE(zahleingabe::auswerten(e.text, false, digits).text == e.text);
        PRUEFE(e.text.size() <= text.size());
        PRUEFE(e.text.count(t.dezimal) <= 1);
        for (const QChar c : e.text)
            PRUEFE((c >= u'0' && c <= u'9') || c == u'-' || c == t.dezimal || c == t.tausender);
        const qsizetype p = e.text.indexOf(t.dezimal);
        if (p >= 0 && digits > 0)
            PRUEFE(e.text.size() - p - 1 <= digits);
    }

    const zahleingabe::Lesung& l = e.lesung;
    if (!l.lesbar) {
        PRUEFE(!e.text.isEmpty() && l.wert == 0 && l.ganz == 0);
    } else {
        PRUEFE(std::isfinite(l.wert) && std::fabs(l.wert) <= 0x1p63L);
        const long double ganz = std::trunc(l.wert);
        const long double grenze =
            ganz > 0 ? std::numeric_limits<qint32>::max() : std::numeric_limits<qint32>::min();
        PRUEFE(std::fabs(ganz) < 0x1p31L ? l.ganz == static_cast<qint32>(ganz) : l.ganz == grenze);
    }
    if (e.text.isEmpty())
        PRUEFE(l.lesbar && l.wert == 0);

    // Thousands separators where they group by three are removed before reading: a whole
    // number's digits grouped from the right read as the digits alone. (A lone separator
    // elsewhere is the decimal separator typed the other way.)
    const bool nurZiffern =
        std::all_of(e.text.cbegin(), e.text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!t.tausender.isNull() && e.text.size() >= 4 && nurZiffern) {
        QString gruppiert = e.text;
        for (qsizetype i = gruppiert.size() - 3; i > 0; i -= 3)
            gruppiert.insert(i, t.tausender);
        PRUEFE(gleich(zahleingabe::lies(gruppiert), l));
    }
}

// Writing Value: the text the field gets reads as readable and near the value.
void pruefeWert(double d, std::uint8_t formatWahl, int precision, int digits) {
    static const TFloatFormat formate[] = {TFloatFormat::ffGeneral, TFloatFormat::ffExponent,
                                           TFloatFormat::ffFixed, TFloatFormat::ffNumber};
    const TFloatFormat format = formate[formatWahl % 4];
    const QString text = formatiereGleitkomma(d, format, precision, digits);
    const zahleingabe::Lesung l = zahleingabe::lies(text);
    const long double betrag = std::fabs(static_cast<long double>(d));
    if (betrag >= 0x1p62L)
        return; // beyond what a field can take; counts as 0
    PRUEFE(l.lesbar);
    long double abstand = betrag * std::pow(10.0L, 1 - precision) + 1e-300L;
    if (format == TFloatFormat::ffFixed || format == TFloatFormat::ffNumber)
        abstand += 0.5L * std::pow(10.0L, -digits);
    PRUEFE(std::fabs(l.wert - d) <= abstand);
    if (format == TFloatFormat::ffNumber) {
        const auto fest =
            zahleingabe::lies(formatiereGleitkomma(d, TFloatFormat::ffFixed, precision, digits));
        PRUEFE(gleich(l, fest));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    fuzz::waehleGebietsschema(l.byte());
    const std::uint8_t wahl = l.byte();
    const bool acceptChars = wahl & 1;
    const int digits = (wahl >> 1) % 8 == 7 ? 255 : (wahl >> 1) % 8;
    const std::uint8_t stelle = l.byte();
    const std::uint8_t formatWahl = l.byte();
    const int precision = std::clamp<int>(l.byte() % 19, 1, 18);
    const int formatDigits = l.byte() % 19;
    const double d = l.roh<double>();
    const QByteArray rest = l.rest();

    pruefeText(wahl & 0x80 ? QString::fromLatin1(rest) : QString::fromUtf8(rest), acceptChars, digits,
               stelle);
    if (std::isfinite(d))
        pruefeWert(d, formatWahl, precision, formatDigits);
    return 0;
}
