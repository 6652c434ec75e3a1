// SPDX-License-Identifier: GPL-3.0-or-later
#include "Auswertung.h"

#include "Fehler.h"
#include "Sortierung.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Positions of the first record of every name, in an open-addressing table: no allocation per
// name, and a tag of the hash spares most name comparisons.
class Namensindex {
public:
    explicit Namensindex(const TNotenEintrag* eintraege, std::size_t n) : m_eintraege(eintraege) {
        std::size_t groesse = 16;
        while (groesse < 2 * n)
            groesse *= 2;
        m_maske = groesse - 1;
        m_plaetze.assign(groesse, Platz{kLeer, 0});
        fuerJedenStreuwert(eintraege, n, [this, eintraege](std::size_t i, std::uint64_t h) {
            Platz& p = m_plaetze[platz(eintraege[i].nameBytes(), h)];
            if (p.index == kLeer)
                p = Platz{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(h >> 32)};
        });
    }

    // Calls f(i, hash of the name of liste[i]) for i = 0..n-1. The names are hashed a few entries
    // ahead so that their slots are on the way while one is looked up, and halfway there the
    // records those slots name are asked for (a look-up compares their names).
    template <class F> void fuerJedenStreuwert(const TNotenEintrag* liste, std::size_t n, F&& f) const {
        constexpr std::size_t kVoraus = 16, kHalb = kVoraus / 2;
        std::uint64_t streu[kVoraus];
        for (std::size_t i = 0; i < std::min(n, kVoraus); ++i)
            vorladen(streu[i] = streuwert(liste[i].nameBytes()));
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t h = streu[i % kVoraus];
            if (i + kVoraus < n)
                vorladen(streu[i % kVoraus] = streuwert(liste[i + kVoraus].nameBytes()));
            if (i + kHalb < n)
                vorladenEintrag(streu[(i + kHalb) % kVoraus]);
            f(i, h);
        }
    }

    // The first position of `name` (whose hash is h), or -1.
    qsizetype finde(QByteArrayView name, std::uint64_t h) const {
        const Platz& p = m_plaetze[platz(name, h)];
        return p.index == kLeer ? -1 : static_cast<qsizetype>(p.index);
    }
    static std::uint64_t streuwert(QByteArrayView name) {
        // FNV-1a, then mixed so that the low bits and the tag both depend on every byte.
        std::uint64_t h = 14695981039346656037ull;
        for (char c : name)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 33;
        return h;
    }

private:
    static constexpr std::uint32_t kLeer = 0xffffffffu;
    struct Platz {
        std::uint32_t index;
        std::uint32_t marke;
    };

    void vorladen(std::uint64_t h) const { __builtin_prefetch(&m_plaetze[h & m_maske]); }
    void vorladenEintrag(std::uint64_t h) const {
        const Platz& p = m_plaetze[h & m_maske];
        if (p.index != kLeer)
            __builtin_prefetch(&m_eintraege[p.index]);
    }

    // The slot that holds `name`, or the empty one where it would go.
    std::size_t platz(QByteArrayView name, std::uint64_t h) const {
        const auto marke = static_cast<std::uint32_t>(h >> 32);
        for (std::size_t i = h & m_maske;; i = (i + 1) & m_maske) {
            const Platz& p = m_plaetze[i];
            if (p.index == kLeer || (p.marke == marke && m_eintraege[p.index].nameBytes() == name))
                return i;
        }
    }

    const TNotenEintrag* m_eintraege;
    std::size_t m_maske = 0;
    std::vector<Platz> m_plaetze;
};

} // namespace

void Auswertung::NotenUebernehmen() {
    if (FOriginal.empty())
        return;
    // Detach first: the index looks into FOriginal's records, which must not move below.
    TNotenEintrag* original = FOriginal.data();
    const Namensindex erstes(original, static_cast<std::size_t>(FOriginal.size()));
    const TNotenEintrag* eintraege = FEintraege.constData();
    erstes.fuerJedenStreuwert(eintraege, static_cast<std::size_t>(FEintraege.size()),
                              [&](std::size_t i, std::uint64_t h) {
                                  const qsizetype ziel = erstes.finde(eintraege[i].nameBytes(), h);
                                  if (ziel < 0)
                                      return;
                                  original[ziel].note = eintraege[i].note;
                                  original[ziel].ects = eintraege[i].ects;
                              });
}

void Auswertung::SortierenNachName() {
    sortierung::nachName(FEintraege);
}

void Auswertung::SortierenNachNote() {
    sortierung::nachNote(FEintraege);
}

void Auswertung::ZeilenLoeschen(int oben, int unten) {
    if (FEintraege.empty())
        fehler::abbruchMitFehlerbericht(fehler::Bereichspruefung);
    const int n = static_cast<int>(FEintraege.size());
    const int von = std::max(oben, 1);
    const int bis = std::min(unten, n);
    if (von <= bis)
        FEintraege.erase(FEintraege.begin() + (von - 1), FEintraege.begin() + bis);
    FOriginal = FEintraege;
}
