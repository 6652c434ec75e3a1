// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report as lines of text, each with one of four styles. Built in full from the current
// state before the report window is touched, so a run that fails leaves the window as it was.

#include "Auswertung.h"
#include "Fehler.h"
#include "Notenskala.h"
#include "Reportzeilen.h"

#include <QString>
#include <vector>

// The statistics cannot be computed (too few grades): the caller shows its text in an error box.
class KeineAuswertung : public Fehler {
public:
    KeineAuswertung();
};

namespace report {
inline const QString kKeineAuswertung =
    QStringLiteral("Bitte legen sie erst noch die Noten fest. Sonst ist keine Auswrtung möglich!");
// Half-point steps from the minimum to the maximum score the table walks at most.
inline constexpr long double kHoechstSchritte = 1'000'000;
} // namespace report

// What the settings dialog adds to the report; both off gives the report without additions.
struct Reportoptionen {
    bool weitereKennzahlen = false;       // the section "Weitere Kennzahlen" after the table
    bool kleineGruppenAusblenden = false; // in that section, counts below 3 as "< 3"
};

// StatistikBerechnen and BestandeneZaehlen (with the settings dialog's threshold), then the key
// figures, the per-student lines (with ECTS groups when FKlassen is not empty) and the table of
// scores from which each grade is reached, with the scale of the grade assignment dialog.
// Throws KeineAuswertung when the statistics fail; a scale that NoteBerechnen rejects raises
// its Fehler. The picture is not part of the lines: the caller pastes it after them.
// With optionen.weitereKennzahlen the section of ReportWeitereKennzahlen follows the table.
Reportzeilen reportZeilen(Auswertung& a, const TNotenskala& skala, double grenznote,
                          Reportoptionen optionen = {});

// The pieces, appended to `zeilen`.
void ReportEinzelergebnisse(const Auswertung& a, Reportzeilen& zeilen);
void ReportEinzelergebnisseEcts(const Auswertung& a, Reportzeilen& zeilen);
void ReportNotenspiegel(const TNotenskala& skala, Reportzeilen& zeilen);

// "Weitere Kennzahlen": lower quartile, median and upper quartile of the points and of the grades,
// the pass rate (FBestanden of all entries), and per grade (exactly equal grades, best first) the
// number of students; for the grades at most FGrenznote also their share of those who passed and
// the cumulative share (the ECTS grading table). Hiding small groups writes a count of 1 or 2 as
// "< 3" and leaves its share out. Needs FBestanden and FGrenznote of BestandeneZaehlen.
// An empty list or a NaN among the values raises fehler::UngueltigeOperation.
void ReportWeitereKennzahlen(const Auswertung& a, bool kleineGruppenAusblenden, Reportzeilen& zeilen);

namespace kennzahlen {
// Quartile q (1 lower, 2 median, 3 upper) of ascending values by linear interpolation between
// neighbouring order statistics, as the spreadsheets' QUARTILE: with h = (n - 1) * q / 4, the
// value at index floor(h) plus the fraction of h times the step to the next one; formed in
// extended precision. An empty list raises fehler::UngueltigeOperation.
double quartil(const std::vector<double>& aufsteigend, int q);
// count * 100 / nenner in percent with one decimal ("26,3%"), rounded from the exact fraction,
// ties away from zero; the empty text without a denominator.
QString prozent(qint64 anzahl, qint64 nenner);
inline const QString kKleineGruppe = QStringLiteral("< 3");
} // namespace kennzahlen
