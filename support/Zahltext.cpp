// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zahltext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace zahltext {
namespace {

Trennzeichen& aktuelle() {
    static Trennzeichen t = [] {
        Trennzeichen s;
        const QLocale l = QLocale::system();
        s.dezimal = l.decimalPoint().at(0);
        s.tausender = l.groupSeparator().isEmpty() ? QChar() : l.groupSeparator().at(0);
        return s;
    }();
    return t;
}

QString nichtEndlich(double wert) {
    if (std::isnan(wert))
        return QStringLiteral("NAN");
    return wert < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString rechtsbuendig(QString text, int breite) {
    if (text.size() < breite)
        text.prepend(QString(breite - text.size(), u' '));
    return text;
}

constexpr long long kZehnerpotenz[] = {1, 10, 100, 1000};

// Digits through to_chars and from_chars only: nothing here may follow the C library's LC_NUMERIC.
std::string dezimal(long long n) {
    char puffer[24];
    return std::string(puffer, std::to_chars(puffer, puffer + sizeof puffer, n).ptr);
}

// |wert| rounded to `stellen` decimals as integer digits and decimal digits.
// Below 2^52 the product with 10^stellen is exact in the 64-bit significand, so llroundl
// sees the true value and rounds an exact tie away from zero. From 2^52 on every double is whole.
void runde(double betrag, int stellen, std::string& ganzteil, std::string& bruchteil) {
    if (betrag < 4503599627370496.0) {
        const long double y = static_cast<long double>(betrag) * kZehnerpotenz[stellen];
        const long long n = std::llroundl(y);
        ganzteil = dezimal(n / kZehnerpotenz[stellen]);
        bruchteil.clear();
        if (stellen > 0) {
            bruchteil = dezimal(n % kZehnerpotenz[stellen]);
            bruchteil.insert(0, static_cast<std::size_t>(stellen) - bruchteil.size(), '0');
        }
    } else {
        char puffer[400];
        const auto r = std::to_chars(puffer, puffer + sizeof puffer, betrag, std::chars_format::fixed, 0);
        ganzteil.assign(puffer, r.ptr);
        bruchteil.assign(stellen, '0');
    }
}

bool nurNullen(const std::string& a, const std::string& b) {
    return a.find_first_not_of('0') == std::string::npos && b.find_first_not_of('0') == std::string::npos;
}

} // namespace

void uebernehmeGebietsschema(const QLocale& locale) {
    Trennzeichen& t = aktuelle();
    t.dezimal = locale.decimalPoint().at(0);
    t.tausender = locale.groupSeparator().isEmpty() ? QChar() : locale.groupSeparator().at(0);
}

const Trennzeichen& trennzeichen() {
    return aktuelle();
}

QString ganz(qint64 wert, int breite) {
    return rechtsbuendig(QString::number(wert), breite);
}

QString fest(double wert, int stellen, int breite) {
    if (!std::isfinite(wert))
        return rechtsbuendig(nichtEndlich(wert), breite);
    stellen = std::clamp(stellen, 0, 3);
    std::string ganzteil, bruchteil;
    runde(std::fabs(wert), stellen, ganzteil, bruchteil);
    QString text;
    if (std::signbit(wert) && !nurNullen(ganzteil, bruchteil))
        text += u'-';
    text += QString::fromLatin1(ganzteil);
    if (stellen > 0) {
        text += trennzeichen().dezimal;
        text += QString::fromLatin1(bruchteil);
    }
    return rechtsbuendig(text, breite);
}

QString linksbuendig(const QString& text, int breite) {
    if (text.size() >= breite)
        return text;
    return text + QString(breite - text.size(), u' ');
}

QString muster(double wert) {
    if (!std::isfinite(wert))
        return nichtEndlich(wert);
    std::string ganzteil, bruchteil;
    runde(std::fabs(wert), 1, ganzteil, bruchteil);
    QString text;
    if (ganzteil != "0")
        text += QString::fromLatin1(ganzteil);
    if (bruchteil != "0") {
        text += trennzeichen().dezimal;
        text += QString::fromLatin1(bruchteil);
    }
    if (std::signbit(wert) && !text.isEmpty())
        text.prepend(u'-');
    return text;
}

QString musterProzent(double wert) {
    return muster(wert) + u'%';
}

QString kurz(double wert) {
    if (!std::isfinite(wert))
        return nichtEndlich(wert);
    if (wert == 0)
        return QStringLiteral("0");
    // d.dddddddddddddde±x, correctly rounded to 15 significant digits.
    char puffer[64];
    const auto r =
        std::to_chars(puffer, puffer + sizeof puffer, std::fabs(wert), std::chars_format::scientific, 14);
    const std::string s(puffer, r.ptr);
    const auto ePos = s.find('e');
    std::string ziffern = s.substr(0, 1) + s.substr(2, ePos - 2);
    int exponent = 0;
    const char* expAb = s.data() + ePos + 1;
    std::from_chars(expAb + (*expAb == '+'), s.data() + s.size(), exponent);
    ziffern.erase(ziffern.find_last_not_of('0') + 1);

    const QChar sep = trennzeichen().dezimal;
    QString text;
    if (wert < 0)
        text += u'-';
    if (exponent >= 15 || exponent <= -6) {
        text += QLatin1Char(ziffern[0]);
        if (ziffern.size() > 1) {
            text += sep;
            text += QString::fromLatin1(ziffern.substr(1));
        }
        text += u'E';
        text += QString::number(exponent);
    } else if (exponent >= 0) {
        const std::size_t ganzStellen = exponent + 1;
        if (ziffern.size() <= ganzStellen) {
            text += QString::fromLatin1(ziffern);
            text += QString(ganzStellen - ziffern.size(), u'0');
        } else {
            text += QString::fromLatin1(ziffern.substr(0, ganzStellen));
            text += sep;
            text += QString::fromLatin1(ziffern.substr(ganzStellen));
        }
    } else {
        text += u'0';
        text += sep;
        text += QString(-exponent - 1, u'0');
        text += QString::fromLatin1(ziffern);
    }
    return text;
}

namespace {

constexpr long double kZehnerpotenzLang[] = {
    1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
    1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

enum class Schnell { Wert, Nichts, Allgemein };

// The common short forms ("37,5", " -2 ") without a text copy: at most 19 significant digits
// and 27 decimals, no exponent. The digits as an integer and 10^k are exact in the 64-bit
// significand (5^27 < 2^64), so one division rounds exactly as the general reader's
// from_chars does. Anything longer goes to the general reader.
template <class Zeichen>
Schnell leseSchnell(const Zeichen* p, std::size_t n, char16_t sep, long double& wert) {
    std::size_t i = 0, ende = n;
    while (i < ende && p[i] == Zeichen(' '))
        ++i;
    while (ende > i && p[ende - 1] == Zeichen(' '))
        --ende;
    bool negativ = false;
    if (i < ende && (p[i] == Zeichen('+') || p[i] == Zeichen('-')))
        negativ = p[i++] == Zeichen('-');
    unsigned long long m = 0;
    int ziffern = 0, gueltig = 0, nachkomma = 0;
    bool trenner = false;
    for (; i < ende; ++i) {
        const auto c = static_cast<char16_t>(p[i]);
        if (c >= u'0' && c <= u'9') {
            ++ziffern;
            if (m != 0 || c != u'0')
                ++gueltig;
            if (gueltig > 19)
                return Schnell::Allgemein;
            m = m * 10 + (c - u'0');
            nachkomma += trenner;
        } else if (c == sep && !trenner) {
            trenner = true;
        } else {
            break;
        }
    }
    if (ziffern == 0)
        return Schnell::Nichts;
    if (i != ende || nachkomma > 27)
        return Schnell::Allgemein;
    // Whole numbers need no division: m is exact in the significand.
    const long double betrag = nachkomma == 0 ? static_cast<long double>(m)
                                              : static_cast<long double>(m) / kZehnerpotenzLang[nachkomma];
    wert = negativ ? -betrag : betrag;
    return Schnell::Wert;
}

// The file form of the largest double has 15 digits, "1,79769313486232E308", and lies above
// it. Every number whose 15-digit rounding is that text reads as the largest double, so the
// written value comes back instead of being out of range.
constexpr long double kGroessteFileform = 1.797693134862325e308L;

std::optional<double> alsDouble(std::optional<long double> wert) {
    if (!wert)
        return std::nullopt;
    const long double betrag = std::fabs(*wert);
    if (betrag > std::numeric_limits<double>::max() && betrag < kGroessteFileform)
        return std::copysign(std::numeric_limits<double>::max(), static_cast<double>(*wert));
    const double d = static_cast<double>(*wert);
    if (!std::isfinite(d))
        return std::nullopt;
    return d;
}

} // namespace

int kurzAscii(double wert, char* ziel) {
    char* z = ziel;
    if (wert == 0) {
        *z++ = '0';
        return 1;
    }
    if (wert < 0)
        *z++ = '-';
    // The shortest text that reads back: where it has at most 15 significant digits it is
    // within half a unit of the 15th digit, so it is the 15-digit rounding without its zeros.
    // Otherwise, and for subnormals whose ulp is coarser than that, d.dddddddddddddde±x,
    // correctly rounded to 15 significant digits.
    // Points and grades are mostly m / 10^k with few decimals: where that decimal reads back as
    // the value (m and 10^k exact, the division correctly rounded) it is such a text too.
    char ziffern[40];
    int anzahl = 0, exponent = 0;
    const double betrag = std::fabs(wert);
    if (betrag >= 1e-5 && betrag < 1e15) {
        constexpr double kPotenz[] = {1, 10, 100, 1000, 10000};
        for (int k = 0; k < 5 && anzahl == 0; ++k) {
            const double m = std::nearbyint(betrag * kPotenz[k]);
            if (m >= 1 && m < 1e15 && m / kPotenz[k] == betrag) {
                anzahl = static_cast<int>(
                    std::to_chars(ziffern, ziffern + sizeof ziffern, static_cast<long long>(m)).ptr -
                    ziffern);
                exponent = anzahl - 1 - k;
            }
        }
    }
    if (anzahl == 0) {
        char puffer[40];
        const char* e =
            std::to_chars(puffer, puffer + sizeof puffer, betrag, std::chars_format::scientific).ptr;
        const char* ePos = std::find(static_cast<const char*>(puffer), e, 'e');
        if (ePos - puffer > 16 ||
            betrag < std::numeric_limits<double>::min()) { // "d." and more than 14 digits
            e = std::to_chars(puffer, puffer + sizeof puffer, betrag, std::chars_format::scientific, 14).ptr;
            ePos = std::find(static_cast<const char*>(puffer), e, 'e');
        }
        ziffern[anzahl++] = puffer[0];
        for (const char* p = puffer + 2; p < ePos; ++p)
            ziffern[anzahl++] = *p;
        const bool expNegativ = ePos[1] == '-';
        for (const char* p = ePos + 2; p < e; ++p)
            exponent = exponent * 10 + (*p - '0');
        if (expNegativ)
            exponent = -exponent;
    }
    while (anzahl > 1 && ziffern[anzahl - 1] == '0')
        --anzahl;

    if (exponent >= 15 || exponent <= -6) {
        *z++ = ziffern[0];
        if (anzahl > 1) {
            *z++ = '.';
            z = std::copy(ziffern + 1, ziffern + anzahl, z);
        }
        *z++ = 'E';
        z = std::to_chars(z, ziel + kKurzPlatz, exponent).ptr;
    } else if (exponent >= 0) {
        const int ganzStellen = exponent + 1;
        if (anzahl <= ganzStellen) {
            z = std::copy(ziffern, ziffern + anzahl, z);
            z = std::fill_n(z, ganzStellen - anzahl, '0');
        } else {
            z = std::copy(ziffern, ziffern + ganzStellen, z);
            *z++ = '.';
            z = std::copy(ziffern + ganzStellen, ziffern + anzahl, z);
        }
    } else {
        *z++ = '0';
        *z++ = '.';
        z = std::fill_n(z, -exponent - 1, '0');
        z = std::copy(ziffern, ziffern + anzahl, z);
    }
    return static_cast<int>(z - ziel);
}

std::optional<long double> lese(QStringView text) {
    long double wert = 0;
    switch (leseSchnell(text.utf16(), static_cast<std::size_t>(text.size()), trennzeichen().dezimal.unicode(),
                        wert)) {
    case Schnell::Wert:
        return wert;
    case Schnell::Nichts:
        return std::nullopt;
    case Schnell::Allgemein:
        break;
    }
    return leseAllgemein(text);
}

std::optional<double> leseDouble(std::string_view ascii) {
    const char16_t sep = trennzeichen().dezimal.unicode();
    long double wert = 0;
    if (sep < 0x80) {
        switch (leseSchnell(ascii.data(), ascii.size(), sep, wert)) {
        case Schnell::Wert:
            return alsDouble(wert);
        case Schnell::Nichts:
            return std::nullopt;
        case Schnell::Allgemein:
            break;
        }
    }
    // Bytes above 127 are no part of a number unless the separator is one; as Latin-1 they
    // keep their code, so the general reader sees the same.
    return alsDouble(leseAllgemein(QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()))));
}

std::optional<long double> leseAllgemein(QStringView text) {
    const QChar sep = trennzeichen().dezimal;
    qsizetype i = 0, ende = text.size();
    while (i < ende && text[i] == u' ')
        ++i;
    while (ende > i && text[ende - 1] == u' ')
        --ende;

    std::string ascii;
    ascii.reserve(ende - i);
    if (i < ende && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            ascii += '-';
        ++i;
    }
    int ziffern = 0;
    bool trenner = false;
    for (; i < ende; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            ascii += static_cast<char>(c.unicode());
            ++ziffern;
        } else if (c == sep && !trenner) {
            ascii += '.';
            trenner = true;
        } else {
            break;
        }
    }
    if (ziffern == 0)
        return std::nullopt;
    if (i < ende && (text[i] == u'e' || text[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < ende && (text[i] == u'+' || text[i] == u'-')) {
            ascii += static_cast<char>(text[i].unicode());
            ++i;
        }
        int expZiffern = 0;
        for (; i < ende && text[i] >= u'0' && text[i] <= u'9'; ++i, ++expZiffern)
            ascii += static_cast<char>(text[i].unicode());
        if (expZiffern == 0)
            return std::nullopt;
    }
    if (i != ende)
        return std::nullopt;

    long double wert = 0;
    const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), wert);
    if (r.ec != std::errc() || r.ptr != ascii.data() + ascii.size() || !std::isfinite(wert))
        return std::nullopt;
    return wert;
}

std::optional<double> leseDouble(QStringView text) {
    return alsDouble(lese(text));
}

std::optional<qint64> leseGanz(QStringView text) {
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()));
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        if (text[i++] == u'-')
            ascii += '-';
    const qsizetype ziffernAb = i;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        ascii += static_cast<char>(text[i].unicode());
    if (i == ziffernAb || i != text.size())
        return std::nullopt;
    qint64 wert = 0;
    const auto r = std::from_chars(ascii.data(), ascii.data() + ascii.size(), wert);
    if (r.ec != std::errc())
        return std::nullopt;
    return wert;
}

} // namespace zahltext
