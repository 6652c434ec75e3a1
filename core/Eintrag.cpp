// SPDX-License-Identifier: GPL-3.0-or-later
#include "Eintrag.h"

#include "Ansi.h"

#include <algorithm>
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
