#include "Zahltext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

// |wert| rounded to `stellen` decimals as integer digits and decimal digits.
// Below 2^52 the product with 10^stellen is exact in the 64-bit significand, so llroundl
// sees the true value and rounds an exact tie away from zero. From 2^52 on every double is whole.
void runde(double betrag, int stellen, std::string& ganzteil, std::string& bruchteil) {
    if (betrag < 4503599627370496.0) {
        const long double y = static_cast<long double>(betrag) * kZehnerpotenz[stellen];
        const long long n = std::llroundl(y);
        ganzteil = std::to_string(n / kZehnerpotenz[stellen]);
        bruchteil = std::to_string(n % kZehnerpotenz[stellen]);
        bruchteil.insert(0, stellen - bruchteil.size(), '0');
        if (stellen == 0)
            bruchteil.clear();
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

const Trennzeichen& trennzeichen() { return aktuelle(); }

QString ganz(qint64 wert, int breite) { return rechtsbuendig(QString::number(wert), breite); }

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

QString musterProzent(double wert) { return muster(wert) + u'%'; }

QString kurz(double wert) {
    if (!std::isfinite(wert))
        return nichtEndlich(wert);
    if (wert == 0)
        return QStringLiteral("0");
    // d.dddddddddddddde±x, correctly rounded to 15 significant digits.
    char puffer[64];
    const auto r = std::to_chars(puffer, puffer + sizeof puffer, std::fabs(wert), std::chars_format::scientific, 14);
    const std::string s(puffer, r.ptr);
    const auto ePos = s.find('e');
    std::string ziffern = s.substr(0, 1) + s.substr(2, ePos - 2);
    const int exponent = std::stoi(s.substr(ePos + 1));
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

std::optional<long double> lese(QStringView text) {
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
    const auto wert = lese(text);
    if (!wert)
        return std::nullopt;
    const double d = static_cast<double>(*wert);
    if (!std::isfinite(d))
        return std::nullopt;
    return d;
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
