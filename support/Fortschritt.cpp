// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fortschritt.h"

namespace fortschritt {
namespace {
thread_local Stand* t_stand = nullptr;
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
    s->erledigt.store(erledigt, std::memory_order_relaxed);
    if (gesamt > 0)
        s->gesamt.store(gesamt, std::memory_order_relaxed);
    if (s->abbrechen.load(std::memory_order_relaxed))
        throw Abgebrochen{};
}

void pruefe() {
    if (Stand* s = t_stand; s && s->abbrechen.load(std::memory_order_relaxed))
        throw Abgebrochen{};
}

bool gebunden() {
    return t_stand != nullptr;
}

} // namespace fortschritt
