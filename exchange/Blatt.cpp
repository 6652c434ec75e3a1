// SPDX-License-Identifier: GPL-3.0-or-later
#include "Blatt.h"

#include "Fortschritt.h"
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

Blatt::Blatt(const QString& pfad, const Auswahl& auswahl) : m_pfad(pfad) {
    for (const qsizetype s : auswahl.nur)
        if (s >= 0 && s < kSpaltenHoechstens)
            m_nur.append(s);
    std::sort(m_nur.begin(), m_nur.end());
    m_nur.erase(std::unique(m_nur.begin(), m_nur.end()), m_nur.end());
    m_spalten = m_nur.isEmpty() ? std::clamp<qsizetype>(auswahl.spalten, 0, kSpaltenHoechstens)
                                : m_nur.constLast() + 1;
}

qsizetype Blatt::platz(qsizetype spalte) const {
    if (spalte < 0 || spalte >= m_spalten)
        return -1;
    if (m_nur.isEmpty())
        return spalte;
    const auto it = std::lower_bound(m_nur.begin(), m_nur.end(), spalte);
    return it != m_nur.end() && *it == spalte ? it - m_nur.begin() : -1;
}

void Blatt::setze(qsizetype zeile, qsizetype spalte, const QString& text) {
    if (text.isEmpty())
        return;
    inhaltIn(spalte);
    const qsizetype p = platz(spalte);
    if (p < 0)
        return;
    pruefeZeile(zeile);
    while (m_zeilen.size() <= zeile)
        m_zeilen.append(QStringList());
    QStringList& z = m_zeilen[zeile];
    if (z.size() <= p) {
        zaehle(p + 1 - z.size());
        z.resize(p + 1);
    }
    z[p] = text;
}

void Blatt::haengeAn(const QStringList& zeile, qsizetype anzahl) {
    for (qsizetype s = zeile.size() - 1; s >= 0; --s)
        if (!zeile[s].isEmpty()) {
            inhaltIn(s);
            break;
        }
    QStringList behalten;
    if (m_nur.isEmpty()) {
        behalten = zeile.mid(0, std::min(zeile.size(), m_spalten));
    } else {
        for (const qsizetype s : m_nur)
            behalten.append(zeile.value(s));
    }
    while (!behalten.isEmpty() && behalten.constLast().isEmpty())
        behalten.removeLast();
    if (behalten.isEmpty()) {
        m_leer = std::min(m_leer + anzahl, kZeilenHoechstens);
        return;
    }
    pruefeZeile(m_zeilen.size() + m_leer + anzahl - 1);
    zaehle(behalten.size());
    m_zeilen.resize(m_zeilen.size() + m_leer);
    m_leer = 0;
    for (qsizetype i = 0; i < anzahl; ++i) {
        if (i % 4096 == 4095)
            fortschritt::pruefe();
        m_zeilen.append(behalten);
    }
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
