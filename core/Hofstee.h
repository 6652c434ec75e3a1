// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pass mark by the Hofstee method. Four judgements span a rectangle: the lowest and highest
// acceptable pass points (kMin, kMax) and the lowest and highest acceptable failure rate in
// percent (fMin, fMax). The pass points are where the rectangle's diagonal from (kMin, fMax) to
// (kMax, fMin) meets the list's failure curve F(k), the share of students with points < k
// (a student with exactly the pass points passes). F is a step function; its vertical steps
// belong to the curve, so the diagonal may meet it on a step: the pass points are then that
// step's score. All arithmetic in extended precision.

#include "Eintrag.h"

#include <vector>

struct HofsteeUrteile {
    long double minPunkte = 0; // kMin
    long double maxPunkte = 0; // kMax
    long double minQuote = 0;  // fMin, percent
    long double maxQuote = 0;  // fMax, percent
};

// One vertical step of the curve: at `punkte` the failure rate rises from `vorher` (points
// below) to `nachher` (points up to and including), both in percent.
struct HofsteeStufe {
    double punkte;
    long double vorher;
    long double nachher;
};

class Durchfallkurve {
public:
    // Throws Fehler (fehler::UngueltigeOperation) for a score that is not a finite number.
    explicit Durchfallkurve(std::vector<double> punkte);
    static Durchfallkurve ausListe(const Notenliste& liste);

    qsizetype anzahl() const { return static_cast<qsizetype>(m_punkte.size()); }
    // Students with points < k, as a count and in percent of all (0 for an empty list).
    qsizetype durchgefallen(long double k) const;
    long double quote(long double k) const;
    // One step per distinct score, ascending.
    const std::vector<HofsteeStufe>& stufen() const { return m_stufen; }

private:
    long double prozent(qsizetype anzahl) const;

    std::vector<double> m_punkte; // ascending
    std::vector<HofsteeStufe> m_stufen;
};

struct HofsteeErgebnis {
    long double punkte = 0;      // where the diagonal meets the curve
    long double hoehe = 0;       // the diagonal's height there, percent
    bool aufStufe = false;       // on a vertical step: punkte is a student's score
    qsizetype durchgefallen = 0; // with these pass points
    long double quote = 0;       // the same in percent
};

// The diagonal's height at k.
long double hofsteeDiagonale(const HofsteeUrteile& u, long double k);

// Throws Meldungsfehler with a German text for an empty list, judgements that span no
// rectangle (kMin >= kMax, fMin >= fMax, rates outside 0..100) and a diagonal that meets the
// curve outside the rectangle; fehler::Ueberlauf when the judgements' span is out of range.
HofsteeErgebnis hofsteeGrenze(const Durchfallkurve& kurve, const HofsteeUrteile& u);

// The pass points to write into the scale: the intersection rounded to two decimals, or to
// more (up to six) where fewer would change who fails; the exact value if none keeps it.
long double hofsteeUebernahmewert(const Durchfallkurve& kurve, const HofsteeErgebnis& e);
