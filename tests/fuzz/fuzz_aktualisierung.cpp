// SPDX-License-Identifier: GPL-3.0-or-later
// The update check's version body: only the leading digits and commas count, read as the
// program's own number reader reads them with a decimal comma, as far as they are a version
// "a,bc"; equal versions ask nothing.
#include "Pruefung.h"

#include "Aktualisierung.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("en_US"))); // the body ignores the locale
    const QByteArray koerper(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
    const auto version = aktualisierung::serverVersion(koerper);

    qsizetype k = 0;
    while (k < koerper.size() && ((koerper[k] >= '0' && koerper[k] <= '9') || koerper[k] == ','))
        ++k;
    const QByteArray anfang = koerper.left(k);

    // What follows the beginning never matters.
    const auto nurAnfang = aktualisierung::serverVersion(anfang);
    PRUEFE(nurAnfang == version);
    PRUEFE(aktualisierung::serverVersion(anfang + "x1,5") == version);

    // The same as the number reader with a decimal comma (which also takes a lone comma after
    // digits, "1," and ",5"), where the beginning has the form of a version "a,bc": a major
    // number within 16 bits and at most two decimals; no value otherwise.
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    const auto referenz = zahltext::leseDouble(QString::fromLatin1(anfang));
    const qsizetype komma = anfang.indexOf(',');
    const bool versionsform =
        (komma < 0 || anfang.size() - komma - 1 <= 2) && referenz && std::floor(*referenz) <= 65535;
    PRUEFE(version.has_value() == versionsform);
    if (version) {
        PRUEFE(*version == *referenz);
        PRUEFE(std::isfinite(*version) && *version >= 0);
        PRUEFE(!std::signbit(*version));
    }

    const double eigene = 1.0;
    const auto folge = aktualisierung::entscheide(version, eigene);
    PRUEFE(version || folge == aktualisierung::Folge::Verbindungsproblem);
    PRUEFE(!version || (folge == aktualisierung::Folge::KeineNeuere) == (*version == eigene));
    PRUEFE(aktualisierung::entscheide(version, std::nullopt) ==
           (version ? aktualisierung::Folge::Ende : aktualisierung::Folge::Verbindungsproblem));

    if (version) {
        const QString frage = aktualisierung::frage(eigene, *version);
        PRUEFE(frage.contains(zahltext::fest(*version, 2)));
        PRUEFE(!frage.contains(u'%'));
    }

    // The version file's name: the archive's with ".ver"; applying it twice changes nothing.
    const QString archiv = QString::fromUtf8(koerper);
    const QString ver = aktualisierung::mitEndung(archiv, QStringLiteral(".ver"));
    PRUEFE(ver.endsWith(QStringLiteral(".ver")));
    PRUEFE(aktualisierung::mitEndung(ver, QStringLiteral(".ver")) == ver);
    return 0;
}
