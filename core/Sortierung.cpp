// SPDX-License-Identifier: GPL-3.0-or-later
#include "Sortierung.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <utility>

// The model (docs/sortierung.md has the argument): the exchange sort orders a group of equal
// keys as a walk over the list before the sort would, in which a member of the group is
// appended to the group's list and an entry with a smaller key moves the list's first member to
// its end; larger keys play no part. So each group turns once per smaller key after its first
// member. The groups then follow in the order of their keys; entries without a key stay put.
// A group is ordered by playing the walk through as a queue while its turns are few, else in a
// Fenwick tree; both give the same order, the guard between them only decides the cost.

namespace sortierung {
namespace {

// Fenwick tree over counts.
class Fenwick {
public:
    explicit Fenwick(std::size_t n) : m_baum(n + 1, 0) {}
    void addiere(std::size_t i, int d) {
        for (++i; i < m_baum.size(); i += i & (~i + 1))
            m_baum[i] += d;
    }
    // Sum of positions 0..i-1.
    int summeVor(std::size_t i) const {
        int s = 0;
        for (; i > 0; i -= i & (~i + 1))
            s += m_baum[i];
        return s;
    }
    // Position of the k-th (from 0) counted slot; all counts are 0 or 1.
    std::size_t finde(int k) const {
        std::size_t pos = 0;
        std::size_t schritt = std::bit_floor(m_baum.size() - 1);
        for (; schritt > 0; schritt >>= 1) {
            if (pos + schritt < m_baum.size() && m_baum[pos + schritt] <= k) {
                pos += schritt;
                k -= m_baum[pos];
            }
        }
        return pos;
    }
    void alleEins() {
        for (std::size_t i = 1; i < m_baum.size(); ++i)
            m_baum[i] = static_cast<int>(i & (~i + 1));
    }

private:
    std::vector<int> m_baum;
};

// Order of one group of equal keys. Walking the list before the sort, an entry of the group
// is appended to the group's list, and an entry with a smaller key moves the group's first
// entry to its end. The list is kept as a circle with a moving start: an append is an
// insertion just before the start. The insertion places are recorded and resolved backwards.
struct Arbeitsplatz {
    std::vector<int> einfuegeStelle;
    std::vector<Stelle> kreis;
    std::vector<Stelle> schlange;
};

// One group of equal keys: its members in list order, and for each the count of smaller keys
// before it, so that the turns of the walk can be read off.
struct Gruppe {
    const Stelle* glieder;
    std::size_t k;
    const std::vector<int>& kleinereDavor;
    int kleinereGesamt;

    // Smaller entries between member t - 1 and member t, and after the last member.
    std::size_t zwischen(std::size_t t) const {
        return static_cast<std::size_t>(kleinereDavor[glieder[t]] - kleinereDavor[glieder[t - 1]]);
    }
    std::size_t danach() const {
        return static_cast<std::size_t>(kleinereGesamt - kleinereDavor[glieder[k - 1]]);
    }
};

// The same order by playing the walk through: the group's list as a queue, every smaller entry
// moving its front to its back (a full turn changes nothing, so only the rest counts), every
// member appended. Each turn is one sequential copy, so this beats the tree unless the turns
// are many more than the members. The queue lives in a buffer of twice the group's size and is
// moved back to its start when it reaches the end.
void spieleGruppe(const Gruppe& g, Arbeitsplatz& platz, std::vector<Stelle>& ausgabe) {
    const std::size_t k = g.k;
    auto& q = platz.schlange;
    q.resize(2 * k);
    Stelle* b = q.data();
    std::size_t kopf = 0, ende = 0;
    auto drehe = [&](std::size_t r) {
        while (r > 0) {
            if (ende == q.size()) {
                std::copy(b + kopf, b + ende, b);
                ende -= kopf;
                kopf = 0;
            }
            // As many as fit before the buffer's end, in one run.
            const std::size_t schritt = std::min(r, q.size() - ende);
            for (std::size_t j = 0; j < schritt; ++j)
                b[ende + j] = b[kopf + j];
            kopf += schritt;
            ende += schritt;
            r -= schritt;
        }
    };
    auto haengeAn = [&](Stelle glied) {
        if (ende == q.size()) {
            std::copy(b + kopf, b + ende, b);
            ende -= kopf;
            kopf = 0;
        }
        b[ende++] = glied;
    };
    for (std::size_t t = 0; t < k; ++t) {
        if (t > 0)
            drehe(g.zwischen(t) % t);
        haengeAn(g.glieder[t]);
    }
    drehe(g.danach() % k);
    ausgabe.insert(ausgabe.end(), b + kopf, b + ende);
}

void ordneGruppe(const Gruppe& g, Arbeitsplatz& platz, std::vector<Stelle>& ausgabe) {
    const std::size_t k = g.k;
    const Stelle* glieder = g.glieder;
    if (k == 1) {
        ausgabe.push_back(glieder[0]);
        return;
    }
    // The turns the walk would make; while they cost less than the tree's steps, play it through.
    // At most k(k - 1)/2 turns, so a group of fewer than 50 members always plays.
    bool spielen = detail::gruppenweg == detail::Gruppenweg::immerSchlange;
    if (detail::gruppenweg == detail::Gruppenweg::nachAufwand) {
        const std::size_t grenze = 4 * k * static_cast<std::size_t>(std::bit_width(k));
        std::size_t drehungen = g.danach() % k;
        for (std::size_t t = 1; t < k && drehungen <= grenze; ++t)
            drehungen += g.zwischen(t) % t;
        spielen = drehungen <= grenze;
    }
    if (spielen) {
        spieleGruppe(g, platz, ausgabe);
        return;
    }
    auto& einfuegeStelle = platz.einfuegeStelle;
    einfuegeStelle.assign(k, 0);
    std::size_t start = 0;
    for (std::size_t t = 1; t < k; ++t) {
        // Mostly fewer turns than members: a division only where needed.
        start += g.zwischen(t);
        if (start >= t)
            start %= t;
        einfuegeStelle[t] = static_cast<int>(start);
        ++start;
    }
    start = (start + g.danach()) % k;

    auto& kreis = platz.kreis;
    kreis.assign(k, 0);
    Fenwick frei(k);
    frei.alleEins();
    for (std::size_t t = k; t-- > 0;) {
        const std::size_t p = frei.finde(einfuegeStelle[t]);
        kreis[p] = glieder[t];
        frei.addiere(p, -1);
    }
    ausgabe.insert(ausgabe.end(), kreis.begin() + static_cast<std::ptrdiff_t>(start), kreis.end());
    ausgabe.insert(ausgabe.end(), kreis.begin(), kreis.begin() + static_cast<std::ptrdiff_t>(start));
}

// A grade as an unsigned key in the same order (0 and -0 are one key).
std::uint64_t notenSchluessel(double note) {
    const std::uint64_t bits = note == 0 ? 0 : std::bit_cast<std::uint64_t>(note);
    return (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
}

// Dense ranks where the list holds few distinct grades, as a graded list does: the keys are
// gathered in a small hash table and only they are sorted. False when there are more.
bool wenigeNotenRaenge(const Notenliste& liste, std::vector<int>& rang) {
    constexpr int kHoechstens = 512, kBits = 10;
    constexpr std::size_t kPlaetze = std::size_t(1) << kBits;
    std::uint64_t platzSchluessel[kPlaetze];
    int platzNummer[kPlaetze];
    std::fill(std::begin(platzNummer), std::end(platzNummer), -1);
    std::uint64_t schluessel[kHoechstens];
    int anzahl = 0;
    const std::size_t n = static_cast<std::size_t>(liste.size());
    const TNotenEintrag* e = liste.constData();
    rang.assign(n, -1);
    std::uint64_t letzter = 0;
    int letzteNummer = -1;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(e[i].note))
            continue;
        const std::uint64_t k = notenSchluessel(e[i].note);
        // Equal neighbours are common: a sorted or partly sorted list.
        if (letzteNummer >= 0 && k == letzter) {
            rang[i] = letzteNummer;
            continue;
        }
        std::size_t p = static_cast<std::size_t>((k * 0x9E3779B97F4A7C15ULL) >> (64 - kBits));
        while (platzNummer[p] >= 0 && platzSchluessel[p] != k)
            p = (p + 1) & (kPlaetze - 1);
        if (platzNummer[p] < 0) {
            if (anzahl == kHoechstens)
                return false;
            platzSchluessel[p] = k;
            platzNummer[p] = anzahl;
            schluessel[anzahl++] = k;
        }
        letzter = k;
        letzteNummer = platzNummer[p];
        rang[i] = letzteNummer;
    }
    // Numbers in order of appearance become ranks in order of the keys.
    int reihe[kHoechstens];
    std::iota(reihe, reihe + anzahl, 0);
    std::sort(reihe, reihe + anzahl, [&](int a, int b) { return schluessel[a] < schluessel[b]; });
    int zuRang[kHoechstens];
    for (int r = 0; r < anzahl; ++r)
        zuRang[reihe[r]] = r;
    for (int& r : rang)
        if (r >= 0)
            r = zuRang[r];
    return true;
}

// Dense ranks of grades by a radix sort of order-preserving keys: much faster than a
// comparison sort, and exact (0 and -0 are one key; NaN has no rank).
std::vector<int> notenRaenge(const Notenliste& liste) {
    const std::size_t n = static_cast<std::size_t>(liste.size());
    std::vector<int> wenige;
    if (wenigeNotenRaenge(liste, wenige))
        return wenige;
    wenige = {};
    struct Paar {
        std::uint64_t schluessel;
        std::uint32_t index;
    };
    std::vector<Paar> paare;
    paare.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double note = liste[static_cast<qsizetype>(i)].note;
        if (std::isnan(note))
            continue;
        paare.push_back({notenSchluessel(note), static_cast<std::uint32_t>(i)});
    }
    constexpr int kBits = 11, kStellen = 6;
    constexpr std::size_t kFaecher = std::size_t(1) << kBits;
    std::vector<std::uint32_t> zaehler(kFaecher * kStellen, 0);
    for (const Paar& p : paare)
        for (int d = 0; d < kStellen; ++d)
            ++zaehler[static_cast<std::size_t>(d) * kFaecher +
                      ((p.schluessel >> (d * kBits)) & (kFaecher - 1))];
    std::vector<Paar> hilf(paare.size());
    for (int d = 0; d < kStellen; ++d) {
        std::uint32_t* z = &zaehler[static_cast<std::size_t>(d) * kFaecher];
        // A digit that all keys share leaves the order as it is.
        if (std::any_of(z, z + kFaecher, [&](std::uint32_t c) { return c == paare.size(); }))
            continue;
        std::uint32_t summe = 0;
        for (std::size_t f = 0; f < kFaecher; ++f)
            summe += std::exchange(z[f], summe);
        for (const Paar& p : paare)
            hilf[z[(p.schluessel >> (d * kBits)) & (kFaecher - 1)]++] = p;
        paare.swap(hilf);
    }
    std::vector<int> rang(n, -1);
    int r = -1;
    for (std::size_t k = 0; k < paare.size(); ++k) {
        if (k == 0 || paare[k].schluessel != paare[k - 1].schluessel)
            ++r;
        rang[paare[k].index] = r;
    }
    return rang;
}

// Dense ranks of names. Each name becomes 32 bytes compared as four big-endian words: the 30
// name bytes padded with zeros, then the length. Padding with zeros keeps the byte order, and
// where two padded names agree the length puts a name before its continuation. The keys sit
// side by side, so the sort compares without touching the records.
std::vector<int> namensRaenge(const Notenliste& liste) {
    const std::size_t n = static_cast<std::size_t>(liste.size());
    struct Schluessel {
        std::uint64_t w[4];
        std::uint32_t index;
    };
    std::vector<Schluessel> schluessel(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto w = namensSchluessel(liste[static_cast<qsizetype>(i)].nameBytes());
        std::copy(w.begin(), w.end(), schluessel[i].w);
        schluessel[i].index = static_cast<std::uint32_t>(i);
    }
    auto gleich = [](const Schluessel& a, const Schluessel& b) {
        return a.w[0] == b.w[0] && a.w[1] == b.w[1] && a.w[2] == b.w[2] && a.w[3] == b.w[3];
    };
    std::sort(schluessel.begin(), schluessel.end(), [](const Schluessel& a, const Schluessel& b) {
        if (a.w[0] != b.w[0])
            return a.w[0] < b.w[0];
        if (a.w[1] != b.w[1])
            return a.w[1] < b.w[1];
        if (a.w[2] != b.w[2])
            return a.w[2] < b.w[2];
        return a.w[3] < b.w[3];
    });
    std::vector<int> rang(n, -1);
    int r = -1;
    for (std::size_t k = 0; k < n; ++k) {
        if (k == 0 || !gleich(schluessel[k - 1], schluessel[k]))
            ++r;
        rang[schluessel[k].index] = r;
    }
    return rang;
}

void wendeAn(Notenliste& liste, const std::vector<Stelle>& reihenfolge) {
    // Every record moves once, straight to its place.
    Notenliste neu;
    neu.resize(liste.size());
    const TNotenEintrag* alt = liste.constData();
    TNotenEintrag* ziel = neu.data();
    // The reads jump about the old list: asking for records a few steps ahead keeps several
    // on the way at once.
    constexpr std::size_t kVoraus = 16;
    const std::size_t n = reihenfolge.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (k + kVoraus < n) {
            const char* vorn = reinterpret_cast<const char*>(alt + reihenfolge[k + kVoraus]);
            __builtin_prefetch(vorn);
            __builtin_prefetch(vorn + sizeof(TNotenEintrag) - 1);
        }
        ziel[k] = alt[reihenfolge[k]];
    }
    liste.swap(neu);
}

// For every entry of a rank held by two or more, the number of entries with a smaller key
// before it; an entry alone in its rank needs none, its place is its rank's. Where such entries
// are few among many ranks (names, mostly distinct) they are counted from block sums and the
// counts of the ranks in their own block; else every entry goes through a Fenwick tree.
std::vector<int> kleinereDavorZaehlen(const std::vector<int>& rang, const std::vector<int>& jeRang) {
    const std::size_t n = rang.size(), raenge = jeRang.size();
    std::vector<int> kleinereDavor(n, 0);
    std::size_t gefragt = 0;
    for (const int r : rang)
        gefragt += r >= 0 && jeRang[static_cast<std::size_t>(r)] > 1;
    if (gefragt == 0)
        return kleinereDavor;
    const std::size_t block = std::max<std::size_t>(
        64, std::bit_ceil(static_cast<std::size_t>(std::sqrt(static_cast<double>(raenge)))));
    const std::size_t bloecke = (raenge + block - 1) / block;
    const std::size_t tiefe = static_cast<std::size_t>(std::bit_width(raenge));
    if (gefragt * (bloecke + block) >= 4 * n * tiefe) {
        Fenwick zaehler(raenge);
        for (std::size_t i = 0; i < n; ++i) {
            if (rang[i] < 0)
                continue;
            kleinereDavor[i] = zaehler.summeVor(static_cast<std::size_t>(rang[i]));
            zaehler.addiere(static_cast<std::size_t>(rang[i]), 1);
        }
        return kleinereDavor;
    }
    std::vector<int> jeBlock(bloecke, 0), gesehen(raenge, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (rang[i] < 0)
            continue;
        const auto r = static_cast<std::size_t>(rang[i]);
        const std::size_t b = r / block;
        if (jeRang[r] > 1) {
            // The whole blocks below r's, then the ranks below r in its own block.
            kleinereDavor[i] =
                std::accumulate(jeBlock.begin(), jeBlock.begin() + static_cast<std::ptrdiff_t>(b), 0) +
                std::accumulate(gesehen.begin() + static_cast<std::ptrdiff_t>(b * block),
                                gesehen.begin() + static_cast<std::ptrdiff_t>(r), 0);
        }
        ++jeBlock[b];
        ++gesehen[r];
    }
    return kleinereDavor;
}

} // namespace

detail::Gruppenweg detail::gruppenweg = detail::Gruppenweg::nachAufwand;

std::array<std::uint64_t, 4> namensSchluessel(QByteArrayView name) {
    unsigned char bytes[32] = {};
    const auto laenge = std::min<qsizetype>(name.size(), TNotenEintrag::kNamenLaenge);
    std::memcpy(bytes, name.data(), static_cast<std::size_t>(laenge));
    bytes[30] = static_cast<unsigned char>(laenge);
    std::array<std::uint64_t, 4> w;
    for (std::size_t i = 0; i < w.size(); ++i) {
        std::uint64_t wort;
        std::memcpy(&wort, bytes + 8 * i, sizeof wort);
        w[i] = __builtin_bswap64(wort);
    }
    return w;
}

std::vector<Stelle> austauschReihenfolge(const std::vector<int>& rang) {
    const std::size_t n = rang.size();
    const int raenge = rang.empty() ? 0 : *std::max_element(rang.begin(), rang.end()) + 1;

    std::vector<int> jeRang(static_cast<std::size_t>(std::max(raenge, 0)), 0);
    for (const int r : rang)
        if (r >= 0)
            ++jeRang[static_cast<std::size_t>(r)];
    const std::vector<int> kleinereDavor = kleinereDavorZaehlen(rang, jeRang);
    // The members of every rank in list order, one flat array.
    std::vector<std::size_t> anfang(jeRang.size() + 1, 0);
    for (std::size_t r = 0; r < jeRang.size(); ++r)
        anfang[r + 1] = anfang[r] + static_cast<std::size_t>(jeRang[r]);
    std::vector<Stelle> glieder(anfang.back());
    {
        std::vector<std::size_t> naechste(anfang.begin(), anfang.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            if (rang[i] >= 0)
                glieder[naechste[static_cast<std::size_t>(rang[i])]++] = static_cast<Stelle>(i);
    }

    std::vector<Stelle> sortiert;
    sortiert.reserve(glieder.size());
    Arbeitsplatz platz;
    int kleinereGesamt = 0;
    for (std::size_t r = 0; r < jeRang.size(); ++r) {
        if (jeRang[r] > 0)
            ordneGruppe({glieder.data() + anfang[r], static_cast<std::size_t>(jeRang[r]), kleinereDavor,
                         kleinereGesamt},
                        platz, sortiert);
        kleinereGesamt += jeRang[r];
    }

    // Entries without a key keep their places; the others fill the remaining places in order.
    std::vector<Stelle> ergebnis(n);
    std::size_t naechstes = 0;
    for (std::size_t i = 0; i < n; ++i)
        ergebnis[i] = rang[i] < 0 ? static_cast<Stelle>(i) : sortiert[naechstes++];
    return ergebnis;
}

void nachName(Notenliste& liste) {
    wendeAn(liste, austauschReihenfolge(namensRaenge(liste)));
}

void nachNote(Notenliste& liste) {
    // Grades already in order (NaN grades aside) are the exchange sort's own result: it swaps
    // only where a later grade is smaller. KlassenBilden sorts a list that is mostly sorted.
    const TNotenEintrag* e = liste.constData();
    const qsizetype n = liste.size();
    const double* vorige = nullptr;
    qsizetype i = 0;
    for (; i < n; ++i) {
        if (std::isnan(e[i].note))
            continue;
        if (vorige && e[i].note < *vorige)
            break;
        vorige = &e[i].note;
    }
    if (i == n)
        return;
    wendeAn(liste, austauschReihenfolge(notenRaenge(liste)));
}

} // namespace sortierung
