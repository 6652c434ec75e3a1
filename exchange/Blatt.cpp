// SPDX-License-Identifier: GPL-3.0-or-later
#include "Blatt.h"

#include "Zahltext.h"
#include "Zip.h"

#include <algorithm>

namespace tabelle {

std::optional<QString> zahlAusDatei(QStringView wert) {
    QString text = wert.trimmed().toString();
    if (text.contains(zahltext::trennzeichen().dezimal) && zahltext::trennzeichen().dezimal != u'.')
        return std::nullopt;
    text.replace(u'.', zahltext::trennzeichen().dezimal);
    const auto zahl = zahltext::leseDouble(text);
    if (!zahl)
        return std::nullopt;
    return zahltext::kurz(*zahl);
}

QString wahrheit(bool wert) {
    return wert ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
}

Blatt::Blatt(const QString& pfad, qsizetype spalten)
    : m_pfad(pfad), m_spalten(std::clamp<qsizetype>(spalten, 0, kSpaltenHoechstens)) {}

void Blatt::setze(qsizetype zeile, qsizetype spalte, const QString& text) {
    if (text.isEmpty() || spalte >= m_spalten)
        return;
    pruefeZeile(zeile);
    while (m_zeilen.size() <= zeile)
        m_zeilen.append(QStringList());
    QStringList& z = m_zeilen[zeile];
    if (z.size() <= spalte) {
        zaehle(spalte + 1 - z.size());
        z.resize(spalte + 1);
    }
    z[spalte] = text;
}

void Blatt::haengeAn(const QStringList& zeile, qsizetype leerDavor, qsizetype anzahl) {
    if (zeile.isEmpty())
        return;
    pruefeZeile(m_zeilen.size() + leerDavor + anzahl - 1);
    zaehle(zeile.size());
    m_zeilen.resize(m_zeilen.size() + leerDavor);
    for (qsizetype i = 0; i < anzahl; ++i)
        m_zeilen.append(zeile);
}

void Blatt::zaehle(qsizetype zellen) {
    m_zellen += zellen;
    if (m_zellen > kZellenHoechstens)
        kaputt(m_pfad,
               QStringLiteral("Die Tabelle hat mehr als %1 Zellen").arg(zahltext::ganz(kZellenHoechstens)));
}

void Blatt::pruefeZeile(qsizetype zeile) const {
    if (zeile >= kZeilenHoechstens)
        kaputt(m_pfad,
               QStringLiteral("Die Tabelle hat mehr als %1 Zeilen").arg(zahltext::ganz(kZeilenHoechstens)));
}

} // namespace tabelle
