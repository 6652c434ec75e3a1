// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zahleingabe.h"

#include "Zahltext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zahleingabe {

QString gefiltert(QStringView eingabe, int digits) {
    const auto& t = zahltext::trennzeichen();
    QString s = eingabe.toString();
    const qsizetype p = s.lastIndexOf(t.dezimal);
    if (p >= 0 && digits > 0 && s.size() - p - 1 > digits)
        s.truncate(p + 1 + digits);
    // One pass from the end, as removing shifts only what lies behind.
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        const QChar c = s[i];
        if (c == t.dezimal) {
            if (i < p)
                s.remove(i, 1);
        } else if (!(c >= u'0' && c <= u'9') && c != u'-' && (t.tausender.isNull() || c != t.tausender)) {
            s.remove(i, 1);
        }
    }
    return s;
}

Lesung lies(QStringView text) {
    Lesung l;
    if (text.isEmpty())
        return l;
    QString s = text.toString();
    const QChar tausender = zahltext::trennzeichen().tausender;
    if (!tausender.isNull())
        s.remove(tausender);
    const auto wert = zahltext::lese(s);
    // Truncation beyond 64 bits fails: both stay 0. Between 32 and 64 bits ValueInt is clamped.
    constexpr long double grenze = 9223372036854775808.0L;
    if (!wert || !(*wert < grenze && *wert >= -grenze)) {
        l.lesbar = false;
        return l;
    }
    l.wert = *wert;
    l.ganz = static_cast<qint32>(std::clamp<long double>(
        std::trunc(*wert), std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    return l;
}

Ergebnis auswerten(QStringView text, bool acceptChars, int digits) {
    Ergebnis e;
    e.text = acceptChars || text.isEmpty() ? text.toString() : gefiltert(text, digits);
    e.lesung = lies(e.text);
    return e;
}

} // namespace zahleingabe
