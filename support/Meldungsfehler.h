// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message the program words itself, as opposed to an error of the run-time or the system:
// it is shown as the program's own error box, captioned "Fehler".

#include "Fehler.h"

class Meldungsfehler : public Fehler {
public:
    using Fehler::Fehler;
};

namespace fehler {
[[noreturn]] inline void melde(const QString& text) {
    throw Meldungsfehler(text);
}
} // namespace fehler
