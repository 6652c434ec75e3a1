// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fortschritt.h"

namespace fortschritt {
namespace {
thread_local Stand* t_stand = nullptr;
// Set by a test before the work starts and cleared after it ended, so it is not raced.
Testhalt g_halt;
} // namespace

void setzeTesthalt(Testhalt halt) {
    g_halt = std::move(halt);
}

Bindung::Bindung(Stand& stand) : m_vorher(t_stand) {
    t_stand = &stand;
}

Bindung::~Bindung() {
    t_stand = m_vorher;
}

void melde(qint64 erledigt, qint64 gesamt) {
    Stand* s = t_stand;
    if (!s)
        return;
    if (g_halt)
        g_halt();
    s->erledigt.store(erledigt, std::memory_order_relaxed);
    if (gesamt > 0)
        s->gesamt.store(gesamt, std::memory_order_relaxed);
    if (s->abbrechen.load(std::memory_order_relaxed))
        throw Abgebrochen{};
}

void pruefe() {
    Stand* s = t_stand;
    if (!s)
        return;
    if (g_halt)
        g_halt();
    if (s->abbrechen.load(std::memory_order_relaxed))
        throw Abgebrochen{};
}

bool gebunden() {
    return t_stand != nullptr;
}

} // namespace fortschritt
