#pragma once
// Turns a failed file operation into the program's error with its German text.

#include <QFileDevice>

namespace fehler {
// Call right after `datei` failed; `errnoDanach` is errno read at that moment.
[[noreturn]] void wirfDateifehler(const QFileDevice& datei, int errnoDanach);
} // namespace fehler
