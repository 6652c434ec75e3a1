// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file reader: what it writes back reads as itself (read, write, read is a
// fixpoint, in every encoding), and a value written reads back as written.
#include "Pruefung.h"

#include "Ansi.h"
#include "IniDatei.h"

#include <cmath>

namespace {

// A value as the dialogs write them: no line break, no blank or control character at either end
// (the reader trims those, so they could not come back).
bool schreibbar(const QString& wert) {
    for (const QChar c : wert)
        if (c == u'\r' || c == u'\n')
            return false;
    return wert.isEmpty() || (wert.front().unicode() > 0x20 && wert.back().unicode() > 0x20);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    fuzz::waehleGebietsschema(l.byte());
    const std::uint8_t wertLaenge = l.byte() % 24;
    QByteArray wertBytes;
    for (int i = 0; i < wertLaenge; ++i)
        wertBytes += static_cast<char>(l.byte());
    const double zahl = l.roh<double>();
    const qint64 ganz = l.roh<qint64>();
    const QByteArray inhalt = l.rest();

    const IniDatei erste = IniDatei::ausBytes(inhalt);
    const QByteArray einmal = erste.alsBytes();
    const IniDatei zweite = IniDatei::ausBytes(einmal);
    // Windows-1252 bytes that would read as UTF-8 are written in UTF-8 with its mark instead.
    PRUEFE(zweite.kodierung() == erste.kodierung() ||
           (erste.kodierung() == IniDatei::Kodierung::Ansi &&
            zweite.kodierung() == IniDatei::Kodierung::Utf8 && einmal.startsWith("\xEF\xBB\xBF") &&
            ansi::istUtf8MitNichtAscii(ansi::ausText(QString::fromUtf8(einmal.mid(3))))));
    PRUEFE(zweite.alsBytes() == einmal);

    // Windows-1252 holds only its own characters; the other encodings hold any.
    IniDatei ini = zweite;
    const QString wert = ansi::zuText(wertBytes);
    const QString abschnitt = QStringLiteral("Fuzz"), schluessel = QStringLiteral("Wert");
    if (schreibbar(wert))
        ini.schreibe(abschnitt, schluessel, wert);
    ini.schreibeGanz(abschnitt, QStringLiteral("Ganz"), ganz);
    if (std::isfinite(zahl))
        ini.schreibeZahl(abschnitt, QStringLiteral("Zahl"), zahl);
    const QByteArray geschrieben = ini.alsBytes();
    const IniDatei gelesen = IniDatei::ausBytes(geschrieben);
    PRUEFE(gelesen.alsBytes() == geschrieben);
    PRUEFE(gelesen.hatAbschnitt(QStringLiteral("FUZZ")));
    if (schreibbar(wert))
        PRUEFE(gelesen.lese(abschnitt, schluessel, QStringLiteral("<fehlt>")) == wert);
    PRUEFE(gelesen.leseGanz(abschnitt, QStringLiteral("ganz"), ganz == 0 ? 1 : 0) == ganz);
    if (std::isfinite(zahl)) {
        const long double zurueck = gelesen.leseZahl(abschnitt, QStringLiteral("Zahl"), NAN);
        PRUEFE(std::isfinite(zurueck));
        PRUEFE(std::fabs(zurueck - zahl) <= std::fabs(zahl) * 5.2e-15L);
    }
    return 0;
}
