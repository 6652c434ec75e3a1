// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reportzeilen.h"

#include "Zahltext.h"

#include <algorithm>
#include <stdexcept>

namespace report {

QString einzelzeile(const TNotenEintrag& e) {
    QString t = zahltext::linksbuendig(e.nameText(), 30);
    t += u": ";
    t += zahltext::fest(e.punkte, 1);
    t += u"  ";
    t += zahltext::fest(e.note, 1);
    return t;
}

QString einzelzeileEcts(const TNotenEintrag& e, char16_t ects) {
    QString t = zahltext::linksbuendig(e.nameText(), 30);
    t += u' ';
    t += zahltext::fest(e.punkte, 1);
    t += u"P   ";
    t += zahltext::fest(e.note, 1);
    t += u":  ";
    if (ects)
        t += QChar(ects);
    return t;
}

} // namespace report

namespace {
constexpr quint64 kBreit = 4;
}

std::size_t Reportzeilen::Abschnitt::size() const {
    if (!einzeln)
        return static_cast<std::size_t>(enden.size());
    return mitEcts ? ects.size() : static_cast<std::size_t>(liste.size());
}

Reportzeilen::Reportzeilen(std::initializer_list<Reportzeile> zeilen) {
    for (const Reportzeile& z : zeilen)
        push_back(z);
}

void Reportzeilen::neuerAbschnitt(Abschnitt a) {
    const std::size_t n = a.size();
    m_abschnitte.push_back(std::move(a));
    m_enden.push_back(size() + n);
}

void Reportzeilen::push_back(const Reportzeile& zeile) {
    if (m_abschnitte.empty() || m_abschnitte.back().einzeln)
        neuerAbschnitt({});
    Abschnitt& a = m_abschnitte.back();
    const QString& t = zeile.text;
    const bool breit = std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c.unicode() > 0xFF; });
    if (breit && a.texte.size() % 2 != 0)
        a.texte.append('\0'); // UTF-16 starts on an even byte
    if (breit)
        a.texte.append(reinterpret_cast<const char*>(t.constData()), t.size() * 2);
    else
        a.texte.append(t.toLatin1());
    a.enden.push_back(static_cast<quint64>(a.texte.size()) << 3 | (breit ? kBreit : 0) |
                      static_cast<quint64>(zeile.stil));
    ++m_enden.back();
}

void Reportzeilen::einzelzeilen(const Notenliste& liste) {
    Abschnitt a;
    a.einzeln = true;
    a.liste = liste;
    neuerAbschnitt(std::move(a));
}

void Reportzeilen::einzelzeilenEcts(const Notenliste& liste, std::vector<qsizetype> eintraege,
                                    std::vector<char16_t> ects) {
    Abschnitt a;
    a.einzeln = true;
    a.mitEcts = true;
    a.liste = liste;
    a.eintraege = std::move(eintraege);
    a.ects = std::move(ects);
    neuerAbschnitt(std::move(a));
}

const Reportzeilen::Abschnitt& Reportzeilen::finde(std::size_t& i) const {
    std::size_t k = 0;
    while (m_enden[k] <= i)
        ++k;
    if (k > 0)
        i -= m_enden[k - 1];
    return m_abschnitte[k];
}

Stil Reportzeilen::stil(std::size_t i) const {
    const Abschnitt& a = finde(i);
    if (a.einzeln)
        return Stil::Normal;
    return static_cast<Stil>(a.enden[static_cast<qsizetype>(i)] & 3);
}

QString Reportzeilen::text(std::size_t i) const {
    const Abschnitt& a = finde(i);
    if (a.einzeln) {
        if (!a.mitEcts)
            return report::einzelzeile(a.liste[static_cast<qsizetype>(i)]);
        const qsizetype eintrag = a.eintraege.empty() ? static_cast<qsizetype>(i) : a.eintraege[i];
        return report::einzelzeileEcts(a.liste[eintrag], a.ects[i]);
    }
    const quint64 ende = a.enden[static_cast<qsizetype>(i)];
    qsizetype von = i == 0 ? 0 : static_cast<qsizetype>(a.enden[static_cast<qsizetype>(i) - 1] >> 3);
    const qsizetype bis = static_cast<qsizetype>(ende >> 3);
    if ((ende & kBreit) && von % 2 != 0)
        ++von; // the fill byte before UTF-16
    const char* p = a.texte.constData() + von;
    if (ende & kBreit)
        return QString(reinterpret_cast<const QChar*>(p), (bis - von) / 2);
    return QString::fromLatin1(p, bis - von);
}

Reportzeile Reportzeilen::at(std::size_t i) const {
    if (i >= size())
        throw std::out_of_range("Reportzeilen::at");
    return (*this)[i];
}

bool operator==(const Reportzeilen& a, const Reportzeilen& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a.stil(i) != b.stil(i) || a.text(i) != b.text(i))
            return false;
    return true;
}
