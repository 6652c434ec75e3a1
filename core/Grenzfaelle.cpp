// SPDX-License-Identifier: GPL-3.0-or-later
#include "Grenzfaelle.h"

#include "Ergebnisraster.h"
#include "Fehler.h"
#include "Sortierung.h"
#include "Zahltext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace grenzfaelle {
namespace {

// Grid indexes stay where k / teilung is exact enough to name one double each.
constexpr long double kGroessterIndex = 9007199254740992.0L; // 2^53

class Suche {
public:
    Suche(const TNotenskala& skala, Stufenfolge& folge) : m_skala(skala), m_folge(folge) {}

    double note(qint64 k) const { return NoteBerechnen(m_folge.punkt(k), m_skala); }

    void neueStufe(double note, qint64 k) {
        if (m_folge.stufen.size() >= kHoechstensStufen)
            fehler::abbruchMitFehlerbericht(
                QStringLiteral("Die Notenskala hat zu viele Notenstufen für die Suche nach Grenzfällen."));
        m_folge.stufen.push_back({note, m_folge.punkt(k), k});
    }

    // Within one piece the grade never turns back, so equal grades at both ends mean no step
    // between them; otherwise halve until the step lies between neighbours.
    void teile(qint64 a, double na, qint64 b, double nb) {
        if (na == nb)
            return;
        if (b == a + 1) {
            neueStufe(nb, b);
            return;
        }
        const qint64 m = a + (b - a) / 2;
        const double nm = note(m);
        teile(a, na, m, nm);
        teile(m, nm, b, nb);
    }

    // The grid points a..b, all on one piece, after the steps found so far.
    void abschnitt(qint64 a, qint64 b) {
        if (b < a)
            return;
        const double na = note(a);
        if (m_folge.stufen.empty() || m_folge.stufen.back().note != na)
            neueStufe(na, a);
        teile(a, na, b, note(b));
    }

private:
    const TNotenskala& m_skala;
    Stufenfolge& m_folge;
};

QString ohneSteuerzeichen(QString text) {
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    return text;
}

} // namespace

Stufenfolge stufen(const TNotenskala& skala, int teilung) {
    if (teilung < 1 || teilung > 100)
        fehler::abbruchMitFehlerbericht(fehler::Bereichspruefung);
    Stufenfolge folge;
    folge.teilung = teilung;
    const double unten = std::min(skala.nichtbestandenpunkte, skala.vollepunkte);
    const double oben = std::max(skala.nichtbestandenpunkte, skala.vollepunkte);
    // A double times at most 100 is exact in the 64-bit significand.
    const long double von = std::ceil(static_cast<long double>(unten) * teilung);
    const long double bis = std::floor(static_cast<long double>(oben) * teilung);
    if (!(std::fabs(von) <= kGroessterIndex && std::fabs(bis) <= kGroessterIndex))
        fehler::abbruchMitFehlerbericht(
            QStringLiteral("Der Punktbereich der Notenskala ist für die Suche nach Grenzfällen zu groß."));
    folge.von = static_cast<qint64>(von);
    folge.bis = static_cast<qint64>(bis);
    if (folge.bis < folge.von)
        return folge;

    // The last grid point on the lower piece (p <= bestandenpunkte), decided on the doubles
    // the grades are computed from.
    const double grenze = skala.bestandenpunkte;
    qint64 letzterUnten;
    if (std::isnan(grenze))
        letzterUnten = folge.bis; // nothing is above it
    else if (grenze < folge.punkt(folge.von))
        letzterUnten = folge.von - 1;
    else if (grenze >= folge.punkt(folge.bis))
        letzterUnten = folge.bis;
    else {
        letzterUnten = std::clamp(static_cast<qint64>(std::floor(static_cast<long double>(grenze) * teilung)),
                                  folge.von, folge.bis);
        while (folge.punkt(letzterUnten) > grenze)
            --letzterUnten;
        while (letzterUnten < folge.bis && folge.punkt(letzterUnten + 1) <= grenze)
            ++letzterUnten;
    }

    Suche suche(skala, folge);
    suche.abschnitt(folge.von, letzterUnten);
    suche.abschnitt(letzterUnten + 1, folge.bis);
    return folge;
}

std::optional<double> bestehenAb(const Stufenfolge& folge, double grenznote) {
    for (const Stufe& s : folge.stufen)
        if (s.note <= grenznote)
            return s.ab;
    return std::nullopt;
}

std::vector<Grenzfall> naechsteStufen(const Notenliste& liste, const TNotenskala& skala,
                                      const Stufenfolge& folge, double grenznote) {
    std::vector<Grenzfall> faelle;
    const auto& st = folge.stufen;
    if (st.empty())
        return faelle;
    for (qsizetype i = 0; i < liste.size(); ++i) {
        const double p = liste[i].punkte;
        double note;
        try {
            note = NoteBerechnen(p, skala);
        } catch (const Fehler&) {
            continue; // no grade, so no better one
        }
        // The first grid point above the points.
        qint64 k = folge.von;
        if (p >= folge.punkt(folge.von)) {
            if (p >= folge.punkt(folge.bis))
                continue;
            k = std::max(folge.von,
                         static_cast<qint64>(std::floor(static_cast<long double>(p) * folge.teilung)));
            while (folge.punkt(k) <= p)
                ++k;
        }
        // The step that holds k, then the first better grade from there up.
        auto s = std::upper_bound(st.begin(), st.end(), k, [](qint64 w, const Stufe& x) { return w < x.k; });
        --s;
        double ab = folge.punkt(k);
        while (s != st.end() && !(s->note < note)) {
            ++s;
            if (s != st.end())
                ab = s->ab;
        }
        if (s == st.end())
            continue;
        Grenzfall f;
        f.index = i;
        f.punkte = p;
        f.note = note;
        f.bessereNote = s->note;
        f.ab = ab;
        f.fehlend = static_cast<long double>(ab) - static_cast<long double>(p);
        f.bestehen = f.bessereNote <= grenznote && !(note <= grenznote);
        faelle.push_back(f);
    }
    return faelle;
}

std::vector<Grenzfall> knappste(const std::vector<Grenzfall>& geordnet, long double abstand) {
    const auto ende = std::partition_point(geordnet.begin(), geordnet.end(),
                                           [abstand](const Grenzfall& f) { return f.fehlend < abstand; });
    return {geordnet.begin(), ende};
}

std::vector<Grenzfall> geordnet(const Notenliste& liste, const TNotenskala& skala, const Stufenfolge& folge,
                                double grenznote) {
    const std::vector<Grenzfall> knapp = naechsteStufen(liste, skala, folge, grenznote);
    // Sorted on keys side by side rather than by looking into the records: the points missing,
    // the name as four big-endian words (its 30 bytes padded with zeros, then its length: the
    // order of comparing the bytes, a name before its continuation), then the list position.
    struct Schluessel {
        long double fehlend;
        std::array<std::uint64_t, 4> name;
        std::uint32_t stelle;
    };
    std::vector<Schluessel> schluessel(knapp.size());
    for (std::size_t i = 0; i < knapp.size(); ++i)
        schluessel[i] = {knapp[i].fehlend, sortierung::namensSchluessel(liste[knapp[i].index].nameBytes()),
                         static_cast<std::uint32_t>(i)};
    std::sort(schluessel.begin(), schluessel.end(), [](const Schluessel& a, const Schluessel& b) {
        if (a.fehlend != b.fehlend)
            return a.fehlend < b.fehlend;
        if (a.name != b.name)
            return a.name < b.name;
        return a.stelle < b.stelle;
    });
    std::vector<Grenzfall> ergebnis;
    ergebnis.reserve(knapp.size());
    for (const Schluessel& k : schluessel)
        ergebnis.push_back(knapp[k.stelle]);
    return ergebnis;
}

// For tests.
std::vector<Grenzfall> auswahl(const Notenliste& liste, const TNotenskala& skala, double grenznote,
                               long double abstand, int teilung) {
    return auswahl(liste, skala, stufen(skala, teilung), grenznote, abstand);
}

std::vector<Grenzfall> auswahl(const Notenliste& liste, const TNotenskala& skala, const Stufenfolge& folge,
                               double grenznote, long double abstand) {
    return knappste(geordnet(liste, skala, folge, grenznote), abstand);
}

QStringList kopf() {
    return {QStringLiteral("Name"),         QStringLiteral("Punkte"),          QStringLiteral("Note"),
            QStringLiteral("Bessere Note"), QStringLiteral("Fehlende Punkte"), QStringLiteral("Bestehen")};
}

QString zelle(const Grenzfall& fall, const Notenliste& liste, int spalte) {
    switch (spalte) {
    case 0:
        return liste[fall.index].nameText();
    case 1:
        return zahltext::kurz(fall.punkte);
    case 2:
        return zahltext::fest(fall.note, 1);
    case 3:
        return zahltext::fest(fall.bessereNote, 1);
    case 4:
        return zahltext::fest(static_cast<double>(fall.fehlend), 2);
    case 5:
        return fall.bestehen ? QStringLiteral("ja") : QString();
    default:
        return {};
    }
}

QString anzeige(const Grenzfall& fall, const Notenliste& liste, int spalte) {
    constexpr int kRasterPunkte = 2; // the grid's column of the points
    return spalte == 1 ? raster::zelle(kRasterPunkte, 0, liste[fall.index]) : zelle(fall, liste, spalte);
}

QStringList zeile(const Grenzfall& fall, const Notenliste& liste) {
    QStringList zellen;
    for (int spalte = 0; spalte < kSpalten; ++spalte)
        zellen << zelle(fall, liste, spalte);
    return zellen;
}

QString alsTabText(const std::vector<Grenzfall>& faelle, const Notenliste& liste) {
    const QString zeilenende = QStringLiteral("\r\n");
    QString text = kopf().join(u'\t') + zeilenende;
    for (const Grenzfall& f : faelle) {
        QStringList zellen = zeile(f, liste);
        zellen[0] = ohneSteuerzeichen(zellen[0]);
        text += zellen.join(u'\t') + zeilenende;
    }
    return text;
}

void Zwischenspeicher::stelleBereit(const Notenliste& liste, const TNotenskala& skala, double grenznote) {
    if (m_bereit && liste.isSharedWith(m_liste) && m_skala == skala && m_grenznote == grenznote)
        return;
    nurListe(liste);
    const Stufenfolge folge = stufen(skala);
    std::vector<Grenzfall> neu = geordnet(m_liste, skala, folge, grenznote);
    m_bestehenAb = bestehenAb(folge, grenznote);
    m_geordnet = std::move(neu);
    m_skala = skala;
    m_grenznote = grenznote;
    m_bereit = true;
}

void Zwischenspeicher::nurListe(const Notenliste& liste) {
    m_bereit = false;
    m_geordnet.clear();
    m_liste = liste;
}

std::vector<Grenzfall> Zwischenspeicher::knappste(long double abstand) const {
    return grenzfaelle::knappste(m_geordnet, abstand);
}

QString Zwischenspeicher::zusammenfassung(qsizetype anzahl, double abstand) const {
    const QString grenze = zahltext::fest(m_grenznote, 1);
    QString text =
        m_bestehenAb
            ? QStringLiteral("Bestanden (Note %1 oder besser) ab %2 Punkten.")
                  .arg(grenze, zahltext::kurz(*m_bestehenAb))
            : QStringLiteral("Mit dieser Notenskala besteht niemand (Note %1 oder besser).").arg(grenze);
    text +=
        QStringLiteral(" %1 %2 weniger als %3 %4 unter der nächst besseren Note.")
            .arg(zahltext::ganz(anzahl),
                 anzahl == 1 ? QStringLiteral("Prüfling liegt") : QStringLiteral("Prüflinge liegen"),
                 zahltext::kurz(abstand), abstand == 1 ? QStringLiteral("Punkt") : QStringLiteral("Punkte"));
    return text;
}

} // namespace grenzfaelle
