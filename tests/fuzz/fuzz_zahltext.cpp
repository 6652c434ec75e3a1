// SPDX-License-Identifier: GPL-3.0-or-later
// The number reader and the number texts. Reading: the fast and the general reader agree, the
// byte and the text reader agree, blanks around and a minus in front do what they should.
// Writing: every text of a finite double reads back within its rounding, the file form to
// 15 significant digits and to itself.
#include "Pruefung.h"

#include <QRegularExpression>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>
#include <string_view>

namespace {

bool gleich(std::optional<long double> a, std::optional<long double> b) {
    if (a.has_value() != b.has_value())
        return false;
    return !a || (*a == *b && std::signbit(*a) == std::signbit(*b));
}

QString ohneBlanks(QString s) {
    return s.remove(u' ');
}

// d within `abstand` of the text's number; the text must read.
void liestZurueck(const QString& text, double d, long double abstand) {
    const auto zurueck = zahltext::lese(ohneBlanks(text));
    PRUEFE(zurueck.has_value());
    PRUEFE(std::fabs(*zurueck - static_cast<long double>(d)) <= abstand);
}

void lesen(const QByteArray& bytes) {
    const QString text = QString::fromLatin1(bytes);
    const auto wert = zahltext::lese(text);
    PRUEFE(gleich(wert, zahltext::leseAllgemein(text)));
    if (wert)
        PRUEFE(std::isfinite(*wert));

    const auto d = zahltext::leseDouble(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    const auto dText = zahltext::leseDouble(QStringView(text));
    PRUEFE(d.has_value() == dText.has_value());
    PRUEFE(!d || std::memcmp(&*d, &*dText, sizeof(double)) == 0);
    // As a double: the same number where it is one; beyond, at most the largest double.
    if (wert && std::isfinite(static_cast<double>(*wert)))
        PRUEFE(d && *d == static_cast<double>(*wert));
    else if (d)
        PRUEFE(wert && std::fabs(*d) == std::numeric_limits<double>::max());

    PRUEFE(gleich(zahltext::lese(QStringLiteral("  ") + text + QStringLiteral(" ")), wert));
    if (!text.isEmpty() && text[0].isDigit()) {
        const auto negativ = zahltext::lese(u'-' + text);
        PRUEFE(negativ.has_value() == wert.has_value());
        PRUEFE(!wert || *negativ == -*wert);
    }
}

void schreiben(double d, int stellen, qint64 n) {
    const long double betrag = std::fabs(static_cast<long double>(d));
    const long double ulp = betrag * 0x1p-52L;

    // File form: no thousands separator, 15 significant digits at most, reads back as itself.
    const QString kurz = zahltext::kurz(d);
    const QChar sep = zahltext::trennzeichen().dezimal;
    static const QRegularExpression form(QStringLiteral("^-?[0-9]+(%1[0-9]+)?(E-?[0-9]+)?$"));
    PRUEFE(QRegularExpression(form.pattern().arg(QRegularExpression::escape(QString(sep))))
               .match(kurz)
               .hasMatch());
    const auto zurueck = zahltext::leseDouble(QStringView(kurz));
    PRUEFE(zurueck.has_value());
    PRUEFE(std::fabs(static_cast<long double>(*zurueck) - d) <= betrag * 5.2e-15L);
    PRUEFE(zahltext::kurz(*zurueck) == kurz);
    char ascii[zahltext::kKurzPlatz];
    const int laenge = zahltext::kurzAscii(d, ascii);
    PRUEFE(laenge > 0 && laenge <= zahltext::kKurzPlatz);
    QString mitSep = QString::fromLatin1(ascii, laenge);
    mitSep.replace(u'.', sep);
    PRUEFE(mitSep == kurz);

    // "%.1f" and friends: exactly `stellen` decimals, within half a unit of the last one.
    QString fest;
    try {
        fest = zahltext::fest(d, stellen, stellen + 3);
    } catch (const std::exception&) {
        PRUEFE(!"fest throws for a precision it accepts");
    }
    PRUEFE(fest.size() >= stellen + 3);
    const QString kern = fest.trimmed();
    PRUEFE(stellen == 0 ? !kern.contains(sep)
                        : kern.size() > stellen && kern[kern.size() - stellen - 1] == sep);
    liestZurueck(kern, d, 0.5L * std::pow(10.0L, -stellen) + ulp);

    // "##.#": one decimal, no integer 0, no decimal 0, nothing at all for what rounds to 0.
    const QString muster = zahltext::muster(d);
    if (muster.isEmpty()) {
        PRUEFE(betrag <= 0.05L);
    } else {
        PRUEFE(!muster.startsWith(u'0') && !muster.startsWith(QStringLiteral("-0")));
        PRUEFE(!muster.endsWith(QString(sep) + u'0'));
        liestZurueck(muster, d, 0.05L + ulp);
    }
    PRUEFE(zahltext::musterProzent(d) == muster + u'%');

    const QString ganz = zahltext::ganz(n, stellen + 1);
    PRUEFE(zahltext::leseGanz(ganz.trimmed()) == n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    fuzz::waehleGebietsschema(l.byte());
    const int stellen = l.byte() % 4;
    const QByteArray rest = l.rest();
    lesen(rest);

    double d = 0;
    qint64 n = 0;
    std::memcpy(&d, rest.constData(), std::min<std::size_t>(sizeof d, std::size_t(rest.size())));
    if (rest.size() > 8)
        std::memcpy(&n, rest.constData() + 8, std::min<std::size_t>(sizeof n, std::size_t(rest.size() - 8)));
    if (std::isfinite(d))
        schreiben(d, stellen, n);
    // The same for the number the text reads as, which is mostly short and decimal.
    if (const auto gelesen = zahltext::leseDouble(QStringView(QString::fromLatin1(rest))))
        schreiben(*gelesen, stellen, n);
    return 0;
}
