// SPDX-License-Identifier: GPL-3.0-or-later
#include "Eintrag.h"

#include "Ansi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <unistd.h>

QString TNotenEintrag::nameText() const {
    return ansi::zuText(nameBytes());
}

void TNotenEintrag::setzeName(QByteArrayView bytes) {
    const auto n = std::min<qsizetype>(bytes.size(), kNamenLaenge);
    if (n > 0) // an empty view may have no data at all
        std::memcpy(name, bytes.data(), static_cast<std::size_t>(n));
    laenge = static_cast<std::uint8_t>(n);
}

namespace listengrenze {
namespace {
qsizetype& testgrenze() {
    static qsizetype grenze = 0;
    return grenze;
}

qsizetype ausSpeicher() {
    static const qsizetype n = [] {
        qsizetype g = std::numeric_limits<int>::max() - 1; // grid rows are ints, and one is the header
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
        const long seiten = sysconf(_SC_PHYS_PAGES), seite = sysconf(_SC_PAGESIZE);
        if (seiten > 0 && seite > 0)
            g = std::min<qsizetype>(g, static_cast<qsizetype>(seiten) /
                                           static_cast<qsizetype>(sizeof(TNotenEintrag)) *
                                           static_cast<qsizetype>(seite));
#endif
        return g;
    }();
    return n;
}
} // namespace

qsizetype hoechstens() {
    const qsizetype t = testgrenze();
    return t > 0 ? std::min(t, ausSpeicher()) : ausSpeicher();
}

void pruefe(qsizetype eintraege) {
    if (eintraege < 0 || eintraege > hoechstens())
        throw std::bad_alloc();
}

Notenliste mitPlatz(qsizetype eintraege) {
    pruefe(eintraege);
    Notenliste liste;
    // On an empty list a failed reserve leaves no room instead of copying into nothing.
    liste.reserve(eintraege);
    if (liste.capacity() < eintraege)
        throw std::bad_alloc();
    return liste;
}

void setzeTestgrenze(qsizetype eintraege) {
    testgrenze() = std::max<qsizetype>(eintraege, 0);
}

} // namespace listengrenze

ErsteKlasse::ErsteKlasse(const std::vector<TNotenklasse>& klassen) {
    // Equal grades stand in two classes only when a NaN entry stayed between their entries; the
    // stable sort keeps the earlier class first.
    m_erste.reserve(klassen.size());
    for (const TNotenklasse& k : klassen)
        if (!std::isnan(k.note))
            m_erste.emplace_back(k.note, &k);
    const auto kleiner = [](const auto& x, const auto& y) { return x.first < y.first; };
    if (!std::is_sorted(m_erste.begin(), m_erste.end(), kleiner))
        std::stable_sort(m_erste.begin(), m_erste.end(), kleiner);
}

const TNotenklasse* ErsteKlasse::zu(double note) {
    // The grade found last, or the next one, usually holds; otherwise a search. Either way
    // m_zuletzt stays the first of its run of equal grades.
    if (!passt(m_zuletzt, note)) {
        if (passt(m_zuletzt + 1, note))
            ++m_zuletzt;
        else
            m_zuletzt = static_cast<std::size_t>(
                std::lower_bound(m_erste.begin(), m_erste.end(), note,
                                 [](const auto& k, double n) { return k.first < n; }) -
                m_erste.begin());
    }
    return passt(m_zuletzt, note) ? m_erste[m_zuletzt].second : nullptr;
}
