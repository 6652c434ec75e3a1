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
// Ends the command; the program's own error box, captioned "Fehler", shows `text`.
[[noreturn]] inline void abbruchMitFehlerbox(const QString& text) {
    throw Meldungsfehler(text);
}
} // namespace fehler
