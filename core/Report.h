#pragma once
// The report as lines of text, each with one of four styles. Built in full from the current
// state before the report window is touched, so a run that fails leaves the window as it was.

#include "Fehler.h"
#include "Notenskala.h"
#include "results.h"

#include <QString>
#include <vector>

enum class Stil { Normal, Fett, Unterstrichen, FettUnterstrichen };

struct Reportzeile {
    Stil stil = Stil::Normal;
    QString text;
    friend bool operator==(const Reportzeile&, const Reportzeile&) = default;
};

using Reportzeilen = std::vector<Reportzeile>;

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

// StatistikBerechnen and BestandeneZaehlen (with the settings dialog's threshold), then the key
// figures, the per-student lines (with ECTS groups when FKlassen is not empty) and the table of
// scores from which each grade is reached, with the scale of the grade assignment dialog.
// Throws KeineAuswertung when the statistics fail; a scale that NoteBerechnen rejects raises
// its Fehler. The picture is not part of the lines: the caller pastes it after them.
Reportzeilen reportZeilen(Auswertung& a, const TNotenskala& skala, double grenznote);

// The pieces, appended to `zeilen`.
void ReportEinzelergebnisse(const Auswertung& a, Reportzeilen& zeilen);
void ReportEinzelergebnisseEcts(const Auswertung& a, Reportzeilen& zeilen);
void ReportNotenspiegel(const TNotenskala& skala, Reportzeilen& zeilen);
