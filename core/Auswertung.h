// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The evaluation state the main window owns: the result list, its copy as brought in, and the
// results derived from them.

#include "Eintrag.h"

#include <array>
#include <cstdint>
#include <vector>

// The window owns one and calls its operations from its command handlers; the grid shows
// FEintraege through ErgebnisModell. The exam's students and tasks, when they come, are held
// beside these lists; FEintraege stays the list the computations run on.
class Auswertung {
public:
    Notenliste FEintraege; // the current list, display order
    Notenliste FOriginal;  // as last brought in, or as left by the last deletion
    std::vector<TNotenklasse> FKlassen;
    std::array<std::int32_t, 6> FEctsAnzahl{};
    double FDurchschnitt = 0;
    double FStandardabweichung = 0;
    double FQuadratsumme = 0;
    double FGrenznote = 0;
    std::int32_t FBestanden = 0;
    bool FErsetzen = false;

    // Carries grade and letter of every entry into the first entry of FOriginal with the
    // same name bytes; the last of several equal names in FEintraege wins.
    void NotenUebernehmen();

    // A list was brought in: FOriginal becomes a copy of FEintraege.
    void OriginalMerken() { FOriginal = FEintraege; }

    void SortierenNachName();
    void SortierenNachNote();
    void UrspruenglicheReihenfolge() { FEintraege = FOriginal; }

    // Removes the entries shown in grid rows oben..unten (row 1 is the first entry).
    // Rows outside the list are ignored; an empty list raises the range error.
    void ZeilenLoeschen(int oben, int unten);
};
