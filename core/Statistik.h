// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Summary statistics of the current list's grades (FEintraege, display order): mean, sample
// standard deviation in the one-pass form (sum and sum of squares) and the number who passed.
// Neither touches the grid; the window lists after them.

#include "Auswertung.h"

// Sets FQuadratsumme, FStandardabweichung and FDurchschnitt. The sums run in list order; each
// step of both sums is formed in extended precision and rounded to double, and so are the
// radicand, the root and the mean. A radicand that rounding leaves a hair
// below zero (all grades equal) gives the deviation 0. Throws Fehler for fewer than two entries
// (n = 0 and the residue 0 / 0: fehler::UngueltigeOperation; otherwise fehler::DivisionDurchNull);
// FQuadratsumme then holds the new sum, FDurchschnitt and FStandardabweichung keep their values.
void StatistikBerechnen(Auswertung& a);

// FGrenznote := grenznote (the settings dialog's value at this moment); FBestanden := the
// entries whose grade is at most it. Never fails.
void BestandeneZaehlen(Auswertung& a, double grenznote);
