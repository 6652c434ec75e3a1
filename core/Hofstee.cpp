// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hofstee.h"

#include "Fehler.h"
#include "Meldungsfehler.h"
#include "Zahltext.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
QString punkteText(long double k) {
    return zahltext::kurz(static_cast<double>(k));
}
QString prozentText(long double q) {
    return zahltext::fest(static_cast<double>(q), 1) + QStringLiteral(" %");
}
} // namespace

Durchfallkurve::Durchfallkurve(std::vector<double> punkte) : m_punkte(std::move(punkte)) {
    for (double p : m_punkte)
        if (!std::isfinite(p))
            fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
    std::sort(m_punkte.begin(), m_punkte.end());
    for (std::size_t i = 0; i < m_punkte.size();) {
        std::size_t j = i;
        while (j < m_punkte.size() && m_punkte[j] == m_punkte[i])
            ++j;
        m_stufen.push_back(
            {m_punkte[i], prozent(static_cast<qsizetype>(i)), prozent(static_cast<qsizetype>(j))});
        i = j;
    }
}

Durchfallkurve Durchfallkurve::ausListe(const Notenliste& liste) {
    std::vector<double> punkte;
    punkte.reserve(static_cast<std::size_t>(liste.size()));
    for (const TNotenEintrag& e : liste)
        punkte.push_back(e.punkte);
    return Durchfallkurve(std::move(punkte));
}

long double Durchfallkurve::prozent(qsizetype anzahl) const {
    if (m_punkte.empty())
        return 0;
    return 100.0L * static_cast<long double>(anzahl) / static_cast<long double>(m_punkte.size());
}

qsizetype Durchfallkurve::durchgefallen(long double k) const {
    const auto ende = std::lower_bound(m_punkte.begin(), m_punkte.end(), k, [](double p, long double grenze) {
        return static_cast<long double>(p) < grenze;
    });
    return static_cast<qsizetype>(ende - m_punkte.begin());
}

long double Durchfallkurve::quote(long double k) const {
    return prozent(durchgefallen(k));
}

long double hofsteeDiagonale(const HofsteeUrteile& u, long double k) {
    // Multiplied before divided: whole judgements and scores then give exact heights.
    return u.maxQuote - (u.maxQuote - u.minQuote) * (k - u.minPunkte) / (u.maxPunkte - u.minPunkte);
}

HofsteeErgebnis hofsteeGrenze(const Durchfallkurve& kurve, const HofsteeUrteile& u) {
    if (kurve.anzahl() == 0)
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Die Liste enthält keine Ergebnisse, es gibt also keine Durchfallkurve."));
    if (!(u.minPunkte < u.maxPunkte))
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Die niedrigste annehmbare Bestehensgrenze muss unter der höchsten liegen."));
    if (!(u.minQuote < u.maxQuote))
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Die niedrigste annehmbare Durchfallquote muss unter der höchsten liegen."));
    if (u.minQuote < 0 || u.maxQuote > 100)
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Die Durchfallquoten müssen zwischen 0 und 100 % liegen."));
    const long double spanneK = u.maxPunkte - u.minPunkte;
    if (!std::isfinite(spanneK))
        fehler::abbruchMitFehlerbericht(fehler::Ueberlauf);
    const long double spanneF = u.maxQuote - u.minQuote;
    // Where the diagonal stands at height `hoehe`.
    auto aufHoehe = [&](long double hoehe) { return u.minPunkte + (u.maxQuote - hoehe) * spanneK / spanneF; };

    // The curve minus the diagonal only grows, so the first step whose top reaches the diagonal
    // holds the intersection, either on that step or on the flat part before it.
    const auto& stufen = kurve.stufen();
    const auto stufe = std::find_if(stufen.begin(), stufen.end(), [&](const HofsteeStufe& s) {
        return s.nachher >= hofsteeDiagonale(u, s.punkte);
    });
    HofsteeErgebnis e;
    if (stufe != stufen.end() && hofsteeDiagonale(u, stufe->punkte) >= stufe->vorher) {
        e.punkte = stufe->punkte;
        e.hoehe = hofsteeDiagonale(u, stufe->punkte);
        e.aufStufe = true;
    } else {
        // Flat part: the level left of the step found, or everyone failed beyond the last score.
        e.hoehe = stufe != stufen.end() ? stufe->vorher : 100.0L;
        // Inside the rectangle or not is decided on the heights, which are exact: a flat part at
        // fMin meets the diagonal at kMax itself, one at fMax at kMin, and rounding in aufHoehe
        // must not carry a point whose height lies within fMin..fMax past kMin or kMax.
        if (e.hoehe == u.minQuote)
            e.punkte = u.maxPunkte;
        else if (e.hoehe == u.maxQuote)
            e.punkte = u.minPunkte;
        else
            e.punkte = aufHoehe(e.hoehe);
        if (e.hoehe >= u.minQuote)
            e.punkte = std::min(e.punkte, u.maxPunkte);
        if (e.hoehe <= u.maxQuote)
            e.punkte = std::max(e.punkte, u.minPunkte);
        // Nor off its flat part.
        if (stufe != stufen.end())
            e.punkte = std::min<long double>(e.punkte, stufe->punkte);
        if (stufe != stufen.begin())
            e.punkte = std::max<long double>(e.punkte, std::prev(stufe)->punkte);
    }
    if (!std::isfinite(e.punkte))
        fehler::abbruchMitFehlerbericht(fehler::Ueberlauf);

    if (e.punkte < u.minPunkte)
        fehler::abbruchMitFehlerbox(
            QStringLiteral(
                "Bei der niedrigsten annehmbaren Bestehensgrenze von %1 Punkten fallen schon %2 "
                "durch, mehr als die höchste annehmbare Durchfallquote von %3. Die Diagonale trifft "
                "die Durchfallkurve nicht innerhalb des Rechtecks.")
                .arg(punkteText(u.minPunkte), prozentText(kurve.quote(u.minPunkte)),
                     prozentText(u.maxQuote)));
    if (e.punkte > u.maxPunkte)
        fehler::abbruchMitFehlerbox(
            QStringLiteral(
                "Auch bei der höchsten annehmbaren Bestehensgrenze von %1 Punkten fallen nur %2 "
                "durch, weniger als die niedrigste annehmbare Durchfallquote von %3. Die Diagonale "
                "trifft die Durchfallkurve nicht innerhalb des Rechtecks.")
                .arg(punkteText(u.maxPunkte), prozentText(kurve.quote(u.maxPunkte)),
                     prozentText(u.minQuote)));
    e.durchgefallen = kurve.durchgefallen(e.punkte);
    e.quote = kurve.quote(e.punkte);
    return e;
}

long double hofsteeUebernahmewert(const Durchfallkurve& kurve, const HofsteeErgebnis& e) {
    long double faktor = 100;
    for (int stellen = 2; stellen <= 6; ++stellen, faktor *= 10) {
        const long double gerundet = std::round(e.punkte * faktor) / faktor;
        // The scale takes its anchors as doubles.
        if (std::isfinite(gerundet) && kurve.durchgefallen(static_cast<double>(gerundet)) == e.durchgefallen)
            return gerundet;
    }
    return e.punkte;
}
