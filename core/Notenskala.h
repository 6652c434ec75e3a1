// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grading scale: points become a raw grade by linear interpolation on two pieces that meet
// at the pass points, the raw grade becomes a grade by a step (halves, thirds, tenths) and a
// rounding rule. Intermediate results carry a 64-bit significand (x87 extended); a build with
// plain doubles grades some scores differently. The grade assignment dialog holds the scale;
// callers read it from there at the moment of each call.

#include "Eintrag.h"

struct TNotenskala {
    double vollepunkte = 50;
    double vollenote = 1.0;
    double bestandenpunkte = 25;
    double bestandennote = 4.0;
    double nichtbestandenpunkte = 0;
    double nichtbestandennote = 6.0;
    int notenschluessel = 1; // 0 halves, 1 thirds, 2 tenths, anything else: no step
    int runden = 1;          // 0 better grade, 1 worse grade, 2 nearer grade (tie: better), else raw grade

    bool operator==(const TNotenskala&) const = default;
};

// The grades a German scale gives, from the best to the worst. An anchor grade outside them is
// a slip (such as "1.000" read as a thousand); the grade dialog marks it before anything is graded.
inline constexpr double kBesteNote = 1.0;
inline constexpr double kSchlechtesteNote = 6.0;

// The grade for one score. No clamping: scores beyond the anchors continue their piece's line.
// Never returns -0. Throws Fehler when the piece that applies has zero width
// (fehler::DivisionDurchNull, or fehler::UngueltigeOperation for 0 / 0), and
// fehler::UngueltigeOperation for a score or scale that yields no finite raw grade, and
// fehler::Ueberlauf when the grade chosen is the tenth above the largest double.
// Tenths: u is the largest tenth whose nearest double is not above r, t the next tenth's
// nearest double, for raw grades of any size (t is always above r).
double NoteBerechnen(double punkte, const TNotenskala& skala);

// Every entry's grade becomes NoteBerechnen of its points, first to last; nothing else changes.
// A Fehler stops at the entry that caused it: the entries before it keep their new grades,
// it and the ones after it their old ones.
void AlleNotenBerechnen(Notenliste& liste, const TNotenskala& skala);
