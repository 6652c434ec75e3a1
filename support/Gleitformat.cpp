// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gleitformat.h"

#include "Zahltext.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// |wert| = 0.ziffern × 10^exponent; no leading or trailing zeros, empty for zero.
struct Dezimal {
    std::string ziffern;
    int exponent = 0;
    bool null() const { return ziffern.empty(); }
};

// The exact decimal expansion: a long double f·2^e with a 64-bit f has at most 64 - e
// fractional digits, so the fixed form with that many decimals loses nothing.
Dezimal exakt(long double betrag) {
    Dezimal d;
    if (betrag == 0)
        return d;
    int e = 0;
    std::frexp(betrag, &e);
    const int nachkomma = std::max(0, 64 - e);
    const int vorkomma = e > 0 ? e * 30103 / 100000 + 2 : 1;
    std::string puffer(static_cast<std::size_t>(vorkomma + nachkomma + 8), '\0');
    const auto r = std::to_chars(puffer.data(), puffer.data() + puffer.size(), betrag,
                                 std::chars_format::fixed, nachkomma);
    puffer.resize(r.ptr - puffer.data());
    const auto punkt = puffer.find('.');
    const std::string ganzteil = puffer.substr(0, punkt);
    d.ziffern = ganzteil + (punkt == std::string::npos ? std::string() : puffer.substr(punkt + 1));
    d.exponent = static_cast<int>(ganzteil.size());
    const auto erste = d.ziffern.find_first_not_of('0');
    d.ziffern.erase(0, erste);
    d.exponent -= static_cast<int>(erste);
    d.ziffern.erase(d.ziffern.find_last_not_of('0') + 1);
    if (d.ziffern.empty())
        d.exponent = 0;
    return d;
}

// Keeps n significant digits; a dropped part of at least half a unit rounds the magnitude up.
void runde(Dezimal& d, int n) {
    if (n < 0 || d.null()) {
        d = Dezimal{};
        return;
    }
    if (n >= static_cast<int>(d.ziffern.size()))
        return;
    const bool auf = d.ziffern[n] >= '5';
    d.ziffern.resize(n);
    if (auf) {
        int i = n - 1;
        while (i >= 0 && d.ziffern[i] == '9')
            d.ziffern[i--] = '0';
        if (i < 0) {
            d.ziffern.insert(0, 1, '1');
            ++d.exponent;
        } else {
            ++d.ziffern[i];
        }
    }
    d.ziffern.erase(d.ziffern.find_last_not_of('0') + 1);
    if (d.ziffern.empty())
        d.exponent = 0;
}

char ziffer(const Dezimal& d, int index) {
    return index >= 0 && index < static_cast<int>(d.ziffern.size()) ? d.ziffern[index] : '0';
}

QString exponentText(int exponent, bool plusZeichen, int mindestStellen) {
    QString text(u'E');
    if (exponent < 0)
        text += u'-';
    else if (plusZeichen)
        text += u'+';
    const QString zahl = QString::number(std::abs(exponent));
    text += QString(std::max<qsizetype>(0, mindestStellen - zahl.size()), u'0') + zahl;
    return text;
}

QString mitVorzeichen(bool negativ, const Dezimal& d, QString text) {
    if (negativ && !d.null())
        text.prepend(u'-');
    return text;
}

QString allgemein(long double betrag, bool negativ, int precision, int digits) {
    Dezimal d = exakt(betrag);
    runde(d, precision);
    if (d.null())
        return QStringLiteral("0");
    const QChar sep = zahltext::trennzeichen().dezimal;
    QString text;
    if (d.exponent > precision || d.exponent < -3) {
        text += QLatin1Char(d.ziffern[0]);
        if (d.ziffern.size() > 1)
            text += sep + QString::fromLatin1(d.ziffern.substr(1));
        text += exponentText(d.exponent - 1, false, std::clamp(digits, 0, 4));
    } else if (d.exponent <= 0) {
        text += u'0';
        text += sep;
        text += QString(-d.exponent, u'0') + QString::fromLatin1(d.ziffern);
    } else {
        for (int i = 0; i < d.exponent; ++i)
            text += QLatin1Char(ziffer(d, i));
        if (static_cast<int>(d.ziffern.size()) > d.exponent)
            text += sep + QString::fromLatin1(d.ziffern.substr(d.exponent));
    }
    return mitVorzeichen(negativ, d, text);
}

QString wissenschaftlich(long double betrag, bool negativ, int precision, int digits) {
    Dezimal d = exakt(betrag);
    runde(d, precision);
    QString text(QLatin1Char(ziffer(d, 0)));
    if (precision > 1) {
        text += zahltext::trennzeichen().dezimal;
        for (int i = 1; i < precision; ++i)
            text += QLatin1Char(ziffer(d, i));
    }
    text += exponentText(d.null() ? 0 : d.exponent - 1, true, std::clamp(digits, 0, 4));
    return mitVorzeichen(negativ, d, text);
}

void gruppiere(QString& ganzteil) {
    const QChar tausender = zahltext::trennzeichen().tausender;
    if (tausender.isNull())
        return;
    for (qsizetype i = ganzteil.size() - 3; i > 0; i -= 3)
        ganzteil.insert(i, tausender);
}

// Text before and after the number in the locale's currency form, e.g. "" and " €", or "$" and "".
void waehrung(QString& vorne, QString& hinten) {
    QString muster = QLocale().toCurrencyString(1.0);
    muster.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
    const auto erste = muster.indexOf(u'1');
    qsizetype letzte = erste;
    for (qsizetype i = erste; i < muster.size(); ++i)
        if (muster[i].isDigit())
            letzte = i;
    vorne = muster.left(erste);
    hinten = muster.mid(letzte + 1);
}

QString festkomma(long double betrag, bool negativ, TFloatFormat format, int precision, int digits) {
    digits = std::clamp(digits, 0, 18);
    Dezimal d = exakt(betrag);
    runde(d, std::min(precision, d.exponent + digits));
    if (d.exponent > precision)
        return allgemein(betrag, negativ, precision, 0);
    QString ganzteil;
    for (int i = 0; i < d.exponent; ++i)
        ganzteil += QLatin1Char(ziffer(d, i));
    if (ganzteil.isEmpty())
        ganzteil = QStringLiteral("0");
    if (format != TFloatFormat::ffFixed)
        gruppiere(ganzteil);
    QString text = ganzteil;
    if (digits > 0) {
        text += zahltext::trennzeichen().dezimal;
        for (int k = 0; k < digits; ++k)
            text += QLatin1Char(ziffer(d, d.exponent + k));
    }
    if (format == TFloatFormat::ffCurrency) {
        QString vorne, hinten;
        waehrung(vorne, hinten);
        text = vorne + text + hinten;
    }
    return mitVorzeichen(negativ, d, text);
}

} // namespace

QString formatiereGleitkomma(long double wert, TFloatFormat format, int precision, int digits) {
    if (std::isnan(wert))
        return QStringLiteral("NAN");
    if (std::isinf(wert))
        return wert < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    precision = std::clamp(precision, 1, 18);
    const bool negativ = std::signbit(wert);
    const long double betrag = std::fabs(wert);
    switch (format) {
    case TFloatFormat::ffGeneral:
        return allgemein(betrag, negativ, precision, digits);
    case TFloatFormat::ffExponent:
        return wissenschaftlich(betrag, negativ, precision, digits);
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency:
        break;
    }
    return festkomma(betrag, negativ, format, precision, digits);
}
