// SPDX-License-Identifier: GPL-3.0-or-later
#include "Klassen.h"

#include "Trimmen.h"
#include "Zahltext.h"

#include <algorithm>
#include <cmath>
#include <optional>

void KlassenBilden(Auswertung& a) {
    a.SortierenNachNote();
    std::vector<TNotenklasse> klassen;
    const TNotenEintrag* vorher = nullptr;
    for (const TNotenEintrag& e : std::as_const(a.FEintraege)) {
        // Exact equality: grades that differ in the last bit are two classes.
        if (vorher && e.note == vorher->note) {
            TNotenklasse& k = klassen.back();
            ++k.anzahl;
            if (k.ects != e.ects)
                k.ects = 0;
        } else {
            klassen.push_back({1, e.note, e.ects});
        }
        vorher = &e;
    }
    a.FKlassen.swap(klassen);
}

// 128 bits hold anzahl * 2000 for every 64-bit anzahl; a GCC extension, named once.
__extension__ using Gross = __int128;

double anteilProzent(qint64 anzahl, qint64 nenner) {
    // 2 * anzahl * 1000 / nenner, halved, on magnitudes so that the tie goes away from zero.
    Gross zaehler = static_cast<Gross>(anzahl) * 1000;
    Gross n = nenner;
    if (n < 0) {
        n = -n;
        zaehler = -zaehler;
    }
    const bool negativ = zaehler < 0;
    const Gross betrag = negativ ? -zaehler : zaehler;
    const Gross zehntel = (2 * betrag + n) / (2 * n);
    const double wert = static_cast<double>(zehntel) / 10.0;
    return negativ ? -wert : wert;
}

QString anteilText(qint64 anzahl, qint64 nenner) {
    if (nenner == 0)
        return {};
    return zahltext::musterProzent(anteilProzent(anzahl, nenner));
}

Klassenraster::Klassenraster()
    : m_kopf{QStringLiteral("Nummer"),
             QStringLiteral("Notendurchschnitt"),
             QStringLiteral("Anzahl der Noten"),
             QStringLiteral("Prozentualer Anteil"),
             QStringLiteral("ECTS Gruppe (A-F)"),
             QStringLiteral("ECTS Gruppenteil")},
      m_gruppe(1), m_gruppenteil(1) {}

void Klassenraster::setzeZeilen(int anzahl) {
    const int alt = m_zeilen;
    m_zeilen = std::max(anzahl, 1);
    m_gruppe.resize(static_cast<std::size_t>(m_zeilen));
    m_gruppenteil.resize(static_cast<std::size_t>(m_zeilen));
    if (m_zeilen < alt)
        m_ueberschrieben.removeIf([this](const auto& it) { return it.key() / SpaltenAnzahl >= m_zeilen; });
    // Rows that come back later start empty, whatever class stands behind them.
    if (m_zeilen > alt && m_klassen.size() > static_cast<std::size_t>(alt - 1))
        m_klassen.resize(static_cast<std::size_t>(alt - 1));
}

QString Klassenraster::text(int spalte, int zeile) const {
    if (spalte < 0 || spalte >= SpaltenAnzahl || zeile < 0 || zeile >= m_zeilen)
        return {};
    if (zeile == 0)
        return m_kopf[static_cast<std::size_t>(spalte)];
    if (spalte == Gruppe)
        return m_gruppe[static_cast<std::size_t>(zeile)];
    if (spalte == Gruppenteil)
        return m_gruppenteil[static_cast<std::size_t>(zeile)];
    const auto it = m_ueberschrieben.constFind(static_cast<qint64>(zeile) * SpaltenAnzahl + spalte);
    if (it != m_ueberschrieben.cend())
        return *it;
    if (static_cast<std::size_t>(zeile) > m_klassen.size())
        return {};
    const TNotenklasse& k = m_klassen[static_cast<std::size_t>(zeile) - 1];
    switch (spalte) {
    case Nummer:
        return zahltext::ganz(zeile);
    case Note:
        return zahltext::muster(k.note);
    case Anzahl:
        return zahltext::ganz(k.anzahl);
    default:
        return anteilText(k.anzahl, m_bestanden);
    }
}

void Klassenraster::setzeText(int spalte, int zeile, const QString& text) {
    if (spalte < 0 || spalte >= SpaltenAnzahl || zeile < 0 || zeile >= m_zeilen)
        return;
    if (zeile == 0)
        m_kopf[static_cast<std::size_t>(spalte)] = text;
    else if (spalte == Gruppe)
        m_gruppe[static_cast<std::size_t>(zeile)] = text;
    else if (spalte == Gruppenteil)
        m_gruppenteil[static_cast<std::size_t>(zeile)] = text;
    else
        m_ueberschrieben.insert(static_cast<qint64>(zeile) * SpaltenAnzahl + spalte, text);
}

void Klassenraster::zeigeKlassen(const std::vector<TNotenklasse>& klassen, std::int32_t bestanden) {
    m_klassen = klassen;
    m_bestanden = bestanden;
    m_ueberschrieben.clear();
}

namespace klassen {
namespace {

char16_t gross(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool istF(const QString& zelle) {
    const QStringView t = getrimmt(zelle);
    return t.size() == 1 && gross(t[0].unicode()) == u'F';
}

} // namespace

void rasterFuellen(Klassenraster& r, const Auswertung& a) {
    const auto& k = a.FKlassen;
    r.setzeZeilen(static_cast<int>(k.size()) + 1);
    r.zeigeKlassen(k, a.FBestanden);
    const QString f = QStringLiteral("F");
    for (std::size_t i = 0; i < k.size(); ++i)
        if (k[i].note > a.FGrenznote)
            r.setzeText(Klassenraster::Gruppe, static_cast<int>(i) + 1, f);
    if (!k.empty())
        r.setzeText(Klassenraster::Gruppe, 1, QStringLiteral("A"));
}

char16_t buchstabe(const QString& zelle) {
    const QStringView t = getrimmt(zelle);
    return t.isEmpty() ? char16_t(0) : gross(t[0].unicode());
}

void buchstabenLesen(const Klassenraster& r, Auswertung& a) {
    char16_t laufend = u'A';
    for (std::size_t i = 0; i < a.FKlassen.size(); ++i) {
        if (const char16_t b = buchstabe(r.text(Klassenraster::Gruppe, static_cast<int>(i) + 1)))
            laufend = b;
        a.FKlassen[i].ects = laufend;
    }
}

void ectsZaehlen(Auswertung& a) {
    a.FEctsAnzahl.fill(0);
    for (const TNotenklasse& k : a.FKlassen)
        if (k.ects >= u'A' && k.ects <= u'F')
            a.FEctsAnzahl[static_cast<std::size_t>(k.ects - u'A')] += k.anzahl;
}

void buchstabenVerteilen(Auswertung& a) {
    ErsteKlasse erste(a.FKlassen);
    for (TNotenEintrag& e : a.FEintraege)
        if (const TNotenklasse* k = erste.zu(e.note))
            e.ects = k->ects;
}

void einteilungUebernehmen(const Klassenraster& r, Auswertung& a) {
    buchstabenLesen(r, a);
    ectsZaehlen(a);
    buchstabenVerteilen(a);
    a.NotenUebernehmen();
}

QStringList gruppenanteile(const QStringList& gruppen, const std::vector<TNotenklasse>& klassen,
                           std::int32_t bestanden) {
    QStringList anteile;
    for (qsizetype i = 0; i < gruppen.size(); ++i)
        anteile.append(QString());
    if (gruppen.isEmpty())
        return anteile;

    QString gruppe;
    qsizetype start = 0;
    qint64 summe = 0;
    const qsizetype n = std::min<qsizetype>(gruppen.size(), static_cast<qsizetype>(klassen.size()));
    for (qsizetype i = 0; i < n; ++i) {
        const QString& zelle = gruppen[i];
        const qint64 anzahl = klassen[static_cast<std::size_t>(i)].anzahl;
        // The letter is compared as typed: "b" below "B" begins a group of its own.
        if (getrimmt(zelle).isEmpty() || zelle == gruppe) {
            summe += anzahl;
        } else {
            anteile[start] = anteilText(summe, bestanden);
            gruppe = zelle;
            summe = anzahl;
            start = i;
        }
    }
    anteile[start] = anteilText(summe, bestanden);

    for (qsizetype i = 0; i < gruppen.size(); ++i) {
        if (getrimmt(gruppen[i]).isEmpty())
            anteile[i].clear();
        else if (istF(gruppen[i]))
            anteile[i] = kNichtBeruecksichtigt;
    }
    return anteile;
}

void gruppenanteileSetzen(Klassenraster& r, const std::vector<TNotenklasse>& klassen,
                          std::int32_t bestanden) {
    QStringList gruppen;
    for (int zeile = 1; zeile < r.zeilen(); ++zeile)
        gruppen.append(r.text(Klassenraster::Gruppe, zeile));
    const QStringList anteile = gruppenanteile(gruppen, klassen, bestanden);
    for (int zeile = 1; zeile < r.zeilen(); ++zeile)
        r.setzeText(Klassenraster::Gruppenteil, zeile, anteile[zeile - 1]);
}

QStringList vorschlag(const std::vector<TNotenklasse>& klassen, double grenznote) {
    // As in BestandeneZaehlen: at most the threshold; a grade that compares with nothing (NaN) failed.
    const auto bestanden = [grenznote](const TNotenklasse& k) { return k.note <= grenznote; };
    qint64 alle = 0;
    for (const TNotenklasse& k : klassen)
        if (bestanden(k))
            alle += k.anzahl;

    static constexpr std::array<qint64, 5> kGrenzen{10, 35, 65, 90, 100};
    QStringList zellen;
    zellen.reserve(static_cast<qsizetype>(klassen.size()));
    qint64 davor = 0;
    char16_t zuletzt = 0; // the letter reading back would carry into the next row
    for (const TNotenklasse& k : klassen) {
        if (!bestanden(k)) {
            zellen.append(QStringLiteral("F"));
            zuletzt = u'F';
            continue;
        }
        std::size_t g = 0;
        while (g + 1 < kGrenzen.size() && 100 * davor >= kGrenzen[g] * alle)
            ++g;
        const char16_t b = static_cast<char16_t>(u'A' + g);
        zellen.append(b == zuletzt ? QString() : QString(QChar(b)));
        zuletzt = b;
        davor += k.anzahl;
    }
    return zellen;
}

void vorschlagSetzen(Klassenraster& r, const Auswertung& a) {
    const QStringList zellen = vorschlag(a.FKlassen, a.FGrenznote);
    for (int zeile = 1; zeile < r.zeilen(); ++zeile)
        r.setzeText(Klassenraster::Gruppe, zeile, zeile - 1 < zellen.size() ? zellen[zeile - 1] : QString());
    gruppenanteileSetzen(r, a.FKlassen, a.FBestanden);
}

Notenverteilung notenverteilung(const std::vector<double>& aufsteigend, double grenznote,
                                bool kleineAusblenden) {
    Notenverteilung v;
    std::vector<Verteilungszeile> je;
    for (std::size_t i = 0; i < aufsteigend.size();) {
        std::size_t j = i;
        while (j < aufsteigend.size() && aufsteigend[j] == aufsteigend[i])
            ++j;
        je.push_back(
            {aufsteigend[i], aufsteigend[i], static_cast<qint64>(j - i), aufsteigend[i] <= grenznote});
        i = j;
    }
    if (!kleineAusblenden) {
        v.zeilen = std::move(je);
        return v;
    }
    // Each side on its own: a line across the threshold would have no share of those passed.
    for (std::size_t i = 0; i < je.size();) {
        const bool seite = je[i].bestanden;
        const std::size_t anfang = v.zeilen.size();
        std::optional<Verteilungszeile> offen;
        for (; i < je.size() && je[i].bestanden == seite; ++i) {
            if (offen) {
                offen->bis = je[i].bis;
                offen->anzahl += je[i].anzahl;
            } else {
                offen = je[i];
            }
            if (offen->anzahl >= kKleinsteGruppe) {
                v.zeilen.push_back(*offen);
                offen.reset();
            }
        }
        if (!offen)
            continue;
        if (v.zeilen.size() > anfang) {
            v.zeilen.back().bis = offen->bis;
            v.zeilen.back().anzahl += offen->anzahl;
        } else {
            offen->klein = true;
            v.zeilen.push_back(*offen);
            v.bestehensquoteZeigen = false;
        }
    }
    return v;
}

} // namespace klassen
