// SPDX-License-Identifier: GPL-3.0-or-later
#include "Verlauf.h"

#include "Sortierung.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace verlauf {
namespace {

constexpr qint64 kSatz = sizeof(TNotenEintrag);

qint64 listenBytes(const Notenliste& l) {
    return static_cast<qint64>(l.size()) * kSatz;
}

// Lists replaced whole, swapped in and out.
class Ersatz : public Schritt {
public:
    Ersatz(const QString& name, const Auswertung& vorher, unsigned teile) : Schritt(name), m_teile(teile) {
        if (teile & Eintraege)
            m_eintraege = vorher.FEintraege;
        if (teile & Original)
            m_original = vorher.FOriginal;
        if (teile & Klassen) {
            m_klassen = vorher.FKlassen;
            m_ects = vorher.FEctsAnzahl;
        }
    }
    qint64 bytes() const override {
        qint64 n = listenBytes(m_eintraege);
        if (!m_original.isSharedWith(m_eintraege))
            n += listenBytes(m_original);
        return n + static_cast<qint64>(m_klassen.size() * sizeof(TNotenklasse));
    }
    bool passt(const Auswertung&) const override { return true; }
    void tausche(Auswertung& a) override {
        if (m_teile & Eintraege)
            a.FEintraege.swap(m_eintraege);
        if (m_teile & Original)
            a.FOriginal.swap(m_original);
        if (m_teile & Klassen) {
            a.FKlassen.swap(m_klassen);
            std::swap(a.FEctsAnzahl, m_ects);
        }
    }

private:
    unsigned m_teile;
    Notenliste m_eintraege, m_original;
    std::vector<TNotenklasse> m_klassen;
    std::array<std::int32_t, 6> m_ects{};
};

// Grade and letter of every entry, kept apart from the records.
struct Werte {
    std::vector<double> noten;
    std::vector<char16_t> ects;

    explicit Werte(const Notenliste& l) {
        noten.reserve(static_cast<std::size_t>(l.size()));
        ects.reserve(static_cast<std::size_t>(l.size()));
        for (const TNotenEintrag& e : l) {
            noten.push_back(e.note);
            ects.push_back(e.ects);
        }
    }
    bool passt(const Notenliste& l) const { return noten.size() == static_cast<std::size_t>(l.size()); }
    void tausche(Notenliste& l) {
        if (l.isEmpty())
            return;
        TNotenEintrag* e = l.data();
        for (std::size_t i = 0; i < noten.size(); ++i) {
            std::swap(e[i].note, noten[i]);
            std::swap(e[i].ects, ects[i]);
        }
    }
    qint64 bytes() const { return static_cast<qint64>(noten.size() * (sizeof(double) + sizeof(char16_t))); }
};

class Bewertung : public Schritt {
public:
    Bewertung(const QString& name, const Auswertung& vorher, bool mitKlassen)
        : Schritt(name), m_eintraege(vorher.FEintraege), m_original(vorher.FOriginal),
          m_mitKlassen(mitKlassen) {
        if (mitKlassen) {
            m_klassen = vorher.FKlassen;
            m_ects = vorher.FEctsAnzahl;
        }
    }
    qint64 bytes() const override {
        return m_eintraege.bytes() + m_original.bytes() +
               static_cast<qint64>(m_klassen.size() * sizeof(TNotenklasse));
    }
    bool passt(const Auswertung& a) const override {
        return m_eintraege.passt(a.FEintraege) && m_original.passt(a.FOriginal);
    }
    void tausche(Auswertung& a) override {
        m_eintraege.tausche(a.FEintraege);
        m_original.tausche(a.FOriginal);
        if (m_mitKlassen) {
            a.FKlassen.swap(m_klassen);
            std::swap(a.FEctsAnzahl, m_ects);
        }
    }

private:
    Werte m_eintraege, m_original;
    bool m_mitKlassen;
    std::vector<TNotenklasse> m_klassen;
    std::array<std::int32_t, 6> m_ects{};
};

// A new order of the same records: position k after the step holds the record from position
// m_von[k] before it.
class Umordnung : public Schritt {
public:
    Umordnung(const QString& name, std::vector<std::uint32_t> von) : Schritt(name), m_von(std::move(von)) {}
    qint64 bytes() const override { return static_cast<qint64>(m_von.size() * sizeof(std::uint32_t)); }
    bool passt(const Auswertung& a) const override {
        return m_von.size() == static_cast<std::size_t>(a.FEintraege.size());
    }
    void tausche(Auswertung& a) override {
        const Notenliste alt = a.FEintraege;
        Notenliste neu = listengrenze::mitPlatz(alt.size());
        neu.resize(alt.size());
        const TNotenEintrag* q = alt.constData();
        TNotenEintrag* z = neu.data();
        if (m_getan)
            for (std::size_t k = 0; k < m_von.size(); ++k)
                z[m_von[k]] = q[k];
        else
            for (std::size_t k = 0; k < m_von.size(); ++k)
                z[k] = q[m_von[k]];
        a.FEintraege.swap(neu);
        m_getan = !m_getan;
    }

private:
    std::vector<std::uint32_t> m_von;
    bool m_getan = true;
};

// Rows taken out of FEintraege at one place; FOriginal became a copy of the rest.
class Loeschung : public Schritt {
public:
    Loeschung(const QString& name, const Auswertung& vorher, qsizetype von, qsizetype anzahl)
        : Schritt(name), m_von(von), m_anzahl(anzahl), m_zeilen(vorher.FEintraege.mid(von, anzahl)),
          m_originalGleich(vorher.FOriginal.isSharedWith(vorher.FEintraege)) {
        if (!m_originalGleich)
            m_original = vorher.FOriginal;
    }
    qint64 bytes() const override { return listenBytes(m_zeilen) + listenBytes(m_original); }
    bool passt(const Auswertung& a) const override {
        return a.FEintraege.size() >= m_von + (m_getan ? 0 : m_anzahl);
    }
    void tausche(Auswertung& a) override {
        if (m_getan) {
            a.FEintraege.insert(m_von, m_zeilen.size(), leererEintrag());
            std::copy(m_zeilen.cbegin(), m_zeilen.cend(), a.FEintraege.begin() + m_von);
            a.FOriginal = m_originalGleich ? a.FEintraege : m_original;
        } else {
            a.FEintraege.remove(m_von, m_anzahl);
            a.FOriginal = a.FEintraege;
        }
        m_getan = !m_getan;
    }

private:
    qsizetype m_von, m_anzahl;
    Notenliste m_zeilen;
    bool m_originalGleich; // FOriginal was FEintraege itself: it comes back with the rows
    Notenliste m_original;
    bool m_getan = true;
};

class Sammlung : public Schritt {
public:
    Sammlung(const QString& name, std::vector<SchrittZeiger> teile)
        : Schritt(name), m_teile(std::move(teile)) {}
    qint64 bytes() const override {
        qint64 n = 0;
        for (const auto& t : m_teile)
            n += t->bytes();
        return n;
    }
    bool passt(const Auswertung& a) const override {
        return std::ranges::all_of(m_teile, [&a](const SchrittZeiger& t) { return t->passt(a); });
    }
    void tausche(Auswertung& a) override {
        if (m_getan)
            for (auto it = m_teile.rbegin(); it != m_teile.rend(); ++it)
                (*it)->tausche(a);
        else
            for (const auto& t : m_teile)
                t->tausche(a);
        m_getan = !m_getan;
    }

private:
    std::vector<SchrittZeiger> m_teile;
    bool m_getan = true;
};

} // namespace

SchrittZeiger vorErsatz(const QString& name, const Auswertung& vorher, unsigned teile) {
    return std::make_unique<Ersatz>(name, vorher, teile);
}

SchrittZeiger vorBewertung(const QString& name, const Auswertung& vorher, bool mitKlassen) {
    return std::make_unique<Bewertung>(name, vorher, mitKlassen);
}

SchrittZeiger sortiere(const QString& name, Auswertung& a, void (*sortieren)(Notenliste&)) {
    Notenliste& l = a.FEintraege;
    const auto n = static_cast<std::size_t>(l.size());
    if (n < 2) {
        sortieren(l);
        return nullptr;
    }
    // Each record carries its position through the sort in four of its alignment bytes (the
    // sorts look at names and grades only); the bytes it had are put back afterwards.
    std::vector<std::uint32_t> fuellung(n), von(n);
    TNotenEintrag* e = l.data();
    for (std::size_t i = 0; i < n; ++i) {
        std::memcpy(&fuellung[i], e[i].fuell2, sizeof(std::uint32_t));
        const auto stelle = static_cast<std::uint32_t>(i);
        std::memcpy(e[i].fuell2, &stelle, sizeof stelle);
    }
    auto zurueck = [&l, &fuellung] {
        TNotenEintrag* r = l.data();
        for (qsizetype k = 0; k < l.size(); ++k) {
            std::uint32_t stelle;
            std::memcpy(&stelle, r[k].fuell2, sizeof stelle);
            std::memcpy(r[k].fuell2, &fuellung[stelle], sizeof stelle);
        }
    };
    try {
        sortieren(l);
    } catch (...) {
        zurueck(); // whatever order the failed sort left, every record gets its own bytes back
        throw;
    }
    e = l.data();
    bool gleich = true;
    for (std::size_t k = 0; k < n; ++k) {
        std::memcpy(&von[k], e[k].fuell2, sizeof(std::uint32_t));
        std::memcpy(e[k].fuell2, &fuellung[von[k]], sizeof(std::uint32_t));
        gleich = gleich && von[k] == k;
    }
    if (gleich)
        return nullptr;
    return std::make_unique<Umordnung>(name, std::move(von));
}

SchrittZeiger loesche(const QString& name, Auswertung& a, int oben, int unten) {
    const qsizetype n = a.FEintraege.size();
    const qsizetype von = std::max(oben, 1), bis = std::min<qsizetype>(unten, n);
    SchrittZeiger schritt;
    if (n > 0)
        schritt =
            std::make_unique<Loeschung>(name, a, std::min(von - 1, n), std::max<qsizetype>(bis - von + 1, 0));
    a.ZeilenLoeschen(oben, unten);
    return schritt;
}

SchrittZeiger sammlung(const QString& name, std::vector<SchrittZeiger> teile) {
    std::erase(teile, nullptr);
    if (teile.empty())
        return nullptr;
    return std::make_unique<Sammlung>(name, std::move(teile));
}

void Verlauf::merke(SchrittZeiger schritt) {
    if (!schritt)
        return;
    m_vor.clear();
    m_zurueck.push_back(std::move(schritt));
    kuerze();
}

void Verlauf::kuerze() {
    while (!m_zurueck.empty() &&
           (static_cast<qsizetype>(m_zurueck.size()) > m_schritteHoechstens || bytes() > m_bytesHoechstens))
        m_zurueck.pop_front();
}

QString Verlauf::rueckgaengigName() const {
    return m_zurueck.empty() ? QString() : m_zurueck.back()->name();
}

QString Verlauf::wiederholenName() const {
    return m_vor.empty() ? QString() : m_vor.back()->name();
}

bool Verlauf::bewege(std::deque<SchrittZeiger>& von, std::deque<SchrittZeiger>& nach, Auswertung& a) {
    if (von.empty())
        return false;
    if (!von.back()->passt(a)) {
        leeren();
        return false;
    }
    von.back()->tausche(a);
    nach.push_back(std::move(von.back()));
    von.pop_back();
    return true;
}

bool Verlauf::rueckgaengig(Auswertung& a) {
    return bewege(m_zurueck, m_vor, a);
}

bool Verlauf::wiederholen(Auswertung& a) {
    return bewege(m_vor, m_zurueck, a);
}

void Verlauf::leeren() {
    m_zurueck.clear();
    m_vor.clear();
}

qint64 Verlauf::bytes() const {
    qint64 n = 0;
    for (const auto& s : m_zurueck)
        n += s->bytes();
    for (const auto& s : m_vor)
        n += s->bytes();
    return n;
}

} // namespace verlauf
