// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniDatei.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Trimmen.h"
#include "Zahltext.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

const QString kCheck = QStringLiteral("Check");
const QString kMarker = QStringLiteral("WroteSuccesful");
const QString kVorhanden = QStringLiteral("SektionVorhanden");

bool gleich(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray inUtf16(QStringView text, bool grossEndian) {
    QByteArray bytes(2 + 2 * text.size(), Qt::Uninitialized);
    std::memcpy(bytes.data(), grossEndian ? "\xFE\xFF" : "\xFF\xFE", 2);
    if (text.isEmpty())
        return bytes; // an empty text may have no data at all
    if (grossEndian)
        qToBigEndian<char16_t>(text.utf16(), text.size(), bytes.data() + 2);
    else
        qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data() + 2);
    return bytes;
}

// Copies the whole content; a missing source or a failed write leaves the target as it was.
// Failures go unreported.
void kopiere(const QString& von, const QString& nach) {
    QFile quelle(von);
    if (!quelle.open(QIODevice::ReadOnly))
        return;
    const QByteArray inhalt = quelle.readAll();
    if (quelle.error() != QFileDevice::NoError)
        return;
    try {
        QSaveFile ziel(nach);
        fehler::oeffneZumSchreiben(ziel);
        fehler::schreibeAlles(ziel, inhalt);
        fehler::schliesseAb(ziel);
    } catch (const Fehler&) {
    }
}

} // namespace

IniDatei IniDatei::ausBytes(QByteArrayView inhalt) {
    IniDatei ini;
    // A file read as UTF-8 without a mark is written back as UTF-8, with one.
    const QString text = ansi::textAusDatei(inhalt, &ini.m_kodierung);

    Abschnitt* aktuell = nullptr;
    qsizetype anfang = 0;
    while (anfang <= text.size()) {
        qsizetype ende = anfang;
        while (ende < text.size() && text[ende] != u'\n' && text[ende] != u'\r')
            ++ende;
        const QStringView zeile = getrimmt(QStringView(text).mid(anfang, ende - anfang));
        anfang = ende + 1;
        if (zeile.isEmpty() || zeile.startsWith(u';'))
            continue;
        if (zeile.size() >= 2 && zeile.startsWith(u'[') && zeile.endsWith(u']')) {
            ini.m_abschnitte.push_back({getrimmt(zeile.mid(1, zeile.size() - 2)).toString(), {}});
            aktuell = &ini.m_abschnitte.back();
            continue;
        }
        if (!aktuell)
            continue;
        const qsizetype gleichheit = zeile.indexOf(u'=');
        if (gleichheit < 0)
            aktuell->eintraege.push_back({zeile.toString(), {}, false});
        else
            aktuell->eintraege.push_back({getrimmt(zeile.left(gleichheit)).toString(),
                                          getrimmt(zeile.mid(gleichheit + 1)).toString(), true});
    }
    return ini;
}

QByteArray IniDatei::alsBytes() const {
    QString text;
    for (const Abschnitt& a : m_abschnitte) {
        text += u'[';
        text += a.name;
        text += QLatin1String("]\r\n");
        for (const Eintrag& e : a.eintraege) {
            text += e.schluessel;
            if (e.istPaar) {
                text += u'=';
                text += e.wert;
            }
            text += QLatin1String("\r\n");
        }
        text += QLatin1String("\r\n");
    }
    switch (m_kodierung) {
    case Kodierung::Utf8:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Kodierung::Utf16LE:
        return inUtf16(text, false);
    case Kodierung::Utf16BE:
        return inUtf16(text, true);
    case Kodierung::Ansi:
        break;
    }
    QByteArray bytes = ansi::ausText(text);
    // Windows-1252 bytes that happen to form UTF-8 would be read back as UTF-8 and change: such
    // a file is written in UTF-8 with its mark instead, holding the same characters.
    if (ansi::istUtf8MitNichtAscii(bytes))
        return QByteArray("\xEF\xBB\xBF") + ansi::zuText(bytes).toUtf8();
    return bytes;
}

IniDatei IniDatei::laden(const QString& pfad) {
    IniDatei ini;
    if (QFile::exists(pfad))
        ini = ausBytes(fehler::leseDatei(pfad));
    ini.m_pfad = pfad;
    return ini;
}

void IniDatei::speichern() const {
    const QByteArray inhalt = alsBytes();
    QSaveFile datei(m_pfad);
    fehler::oeffneZumSchreiben(datei);
    fehler::schreibeAlles(datei, inhalt);
    fehler::schliesseAb(datei);
}

const IniDatei::Abschnitt* IniDatei::finde(QStringView abschnitt) const {
    for (const Abschnitt& a : m_abschnitte)
        if (gleich(a.name, abschnitt))
            return &a;
    return nullptr;
}

const IniDatei::Eintrag* IniDatei::finde(QStringView abschnitt, QStringView schluessel) const {
    if (const Abschnitt* a = finde(abschnitt))
        for (const Eintrag& e : a->eintraege)
            if (e.istPaar && gleich(e.schluessel, schluessel))
                return &e;
    return nullptr;
}

bool IniDatei::hatAbschnitt(QStringView abschnitt) const {
    return finde(abschnitt) != nullptr;
}

QString IniDatei::lese(QStringView abschnitt, QStringView schluessel, const QString& vorgabe) const {
    const Eintrag* e = finde(abschnitt, schluessel);
    return e ? e->wert : vorgabe;
}

qint64 IniDatei::leseGanz(QStringView abschnitt, QStringView schluessel, qint64 vorgabe) const {
    const Eintrag* e = finde(abschnitt, schluessel);
    if (!e)
        return vorgabe;
    return zahltext::leseGanz(e->wert).value_or(vorgabe);
}

bool IniDatei::leseBool(QStringView abschnitt, QStringView schluessel, bool vorgabe) const {
    return leseGanz(abschnitt, schluessel, vorgabe ? 1 : 0) != 0;
}

long double IniDatei::leseZahl(QStringView abschnitt, QStringView schluessel, long double vorgabe) const {
    const Eintrag* e = finde(abschnitt, schluessel);
    if (!e)
        return vorgabe;
    // A numeric field holds an extended value: the text is read straight into one, so a value
    // saved and read back is the value the field had (through a double, 1,05 would come back
    // as 1.0500000000000000444 and show as "1,1"). Beyond the doubles, where this file holds
    // nothing but the file form of the largest double, the double reader decides.
    constexpr long double kGroesste = std::numeric_limits<double>::max();
    if (const auto wert = zahltext::lese(e->wert); wert && std::fabs(*wert) <= kGroesste)
        return *wert;
    const auto doppelt = zahltext::leseDouble(e->wert);
    return doppelt ? static_cast<long double>(*doppelt) : vorgabe;
}

void IniDatei::schreibe(QStringView abschnitt, QStringView schluessel, const QString& wert) {
    auto a = std::find_if(m_abschnitte.begin(), m_abschnitte.end(),
                          [&](const Abschnitt& x) { return gleich(x.name, abschnitt); });
    if (a == m_abschnitte.end())
        a = m_abschnitte.insert(a, {abschnitt.toString(), {}});
    for (Eintrag& e : a->eintraege) {
        if (e.istPaar && gleich(e.schluessel, schluessel)) {
            e.wert = wert;
            return;
        }
    }
    a->eintraege.push_back({schluessel.toString(), wert, true});
}

void IniDatei::schreibeGanz(QStringView abschnitt, QStringView schluessel, qint64 wert) {
    schreibe(abschnitt, schluessel, QString::number(wert));
}

void IniDatei::schreibeBool(QStringView abschnitt, QStringView schluessel, bool wert) {
    schreibe(abschnitt, schluessel, wert ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniDatei::schreibeZahl(QStringView abschnitt, QStringView schluessel, long double wert) {
    // A finite value beyond the doubles (a numeric field holds extended values) is written as
    // the largest double of its sign, not as "INF", which would read back as nothing.
    constexpr long double kGroesste = std::numeric_limits<double>::max();
    if (std::isfinite(wert))
        wert = std::clamp(wert, -kGroesste, kGroesste);
    schreibe(abschnitt, schluessel, zahltext::kurz(static_cast<double>(wert)));
}

QString sicherungsdatei(const QString& pfad) {
    const qsizetype punkt = pfad.lastIndexOf(u'.');
    const qsizetype trenner = pfad.lastIndexOf(u'/');
    const QString ohneEndung = punkt > trenner ? pfad.left(punkt) : pfad;
    return ohneEndung + QStringLiteral(".bak");
}

IniDatei ladeGesichert(const QString& pfad) {
    IniDatei ini = IniDatei::laden(pfad);
    if (ini.leseGanz(kCheck, kMarker, 0) != 0) {
        kopiere(pfad, sicherungsdatei(pfad));
        return ini;
    }
    kopiere(sicherungsdatei(pfad), pfad);
    return IniDatei::laden(pfad);
}

void markiereGeschrieben(IniDatei& ini, QStringView abschnitt) {
    ini.schreibeBool(abschnitt, kVorhanden, true);
    ini.schreibeBool(kCheck, kMarker, true);
}
