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

namespace {

enum class Tausender { Keine, Gruppierung, Dezimal, Unlesbar };

// How the thousands separators of `s` are to be taken (see lies).
Tausender deuteTausender(QStringView s, QChar tausender, QChar dezimal) {
    if (tausender.isNull() || !s.contains(tausender))
        return Tausender::Keine;
    qsizetype i = 0, ende = s.size();
    while (i < ende && s[i] == u' ')
        ++i;
    if (i < ende && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    // The integer part: up to the decimal separator, an exponent or the end.
    qsizetype bis = i;
    while (bis < ende && s[bis] != dezimal && s[bis] != u'e' && s[bis] != u'E' && s[bis] != u' ')
        ++bis;
    const QStringView ganzteil = s.sliced(i, bis - i);
    const bool nurImGanzteil = s.count(tausender) == ganzteil.count(tausender);
    bool gruppiert = nurImGanzteil;
    qsizetype gruppe = 0;
    bool erste = true;
    for (const QChar c : ganzteil) {
        if (c == tausender) {
            gruppiert = gruppiert && (erste ? gruppe >= 1 && gruppe <= 3 : gruppe == 3);
            erste = false;
            gruppe = 0;
        } else if (c >= u'0' && c <= u'9') {
            ++gruppe;
        } else {
            gruppiert = false;
        }
    }
    if (gruppiert && gruppe == 3)
        return Tausender::Gruppierung;
    if (s.count(tausender) == 1 && !s.contains(dezimal))
        return Tausender::Dezimal;
    return Tausender::Unlesbar;
}

} // namespace

Lesung lies(QStringView text) {
    Lesung l;
    if (text.isEmpty())
        return l;
    QString s = text.toString();
    const auto& t = zahltext::trennzeichen();
    switch (deuteTausender(s, t.tausender, t.dezimal)) {
    case Tausender::Keine:
        break;
    case Tausender::Gruppierung:
        l.mehrdeutig = s.count(t.tausender) == 1 && !s.contains(t.dezimal);
        s.remove(t.tausender);
        break;
    case Tausender::Dezimal:
        s.replace(t.tausender, t.dezimal);
        break;
    case Tausender::Unlesbar:
        l.lesbar = false;
        return l;
    }
    const auto wert = zahltext::lese(s);
    // Truncation beyond 64 bits fails: both stay 0. Between 32 and 64 bits ValueInt is clamped.
    constexpr long double grenze = 9223372036854775808.0L;
    if (!wert || !(*wert < grenze && *wert >= -grenze)) {
        l.lesbar = false;
        l.mehrdeutig = false;
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
