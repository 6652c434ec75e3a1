// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sorting the result list. Both sorts leave exactly the order of the program's classic
// exchange sort (for i < j: swap when entry j is less than entry i), equal keys included
// (B1, B2, A gives A, B2, B1), but in O(N log N).

#include "Eintrag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sortierung {

// A list position; a list holds fewer than 2^31 entries (listengrenze).
using Stelle = std::uint32_t;

// rang[i] >= 0: the key of position i as a dense rank (equal keys, equal ranks);
// rang[i] < 0: an entry no comparison holds for (a NaN grade), which never moves.
// Returns the final order: result position k takes the entry from position ergebnis[k].
std::vector<Stelle> austauschReihenfolge(const std::vector<int>& rang);

// A name as four big-endian words that compare as its bytes do (unsigned, a name before its
// continuation): the 30 name bytes padded with zeros, then the length.
std::array<std::uint64_t, 4> namensSchluessel(QByteArrayView name);

// Name bytes compared as unsigned bytes; a name is less than its own continuation.
void nachName(Notenliste& liste);
// Grades compared numerically and exactly; NaN grades stay where they are.
void nachNote(Notenliste& liste);

namespace detail {
// For tests only: which way a group of equal keys is ordered. Both give the same order, so the
// program chooses by cost; a test forces one to check it on lists the cost would not send there.
enum class Gruppenweg { nachAufwand, immerSchlange, immerBaum };
extern Gruppenweg gruppenweg;
} // namespace detail

} // namespace sortierung
