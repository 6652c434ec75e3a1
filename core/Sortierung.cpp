#include "Sortierung.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>
#include <utility>

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
    std::vector<std::size_t> kreis;
    std::vector<std::size_t> schlange;
};

// The same order by playing the walk through: the group's list as a queue, every smaller entry
// moving its front to its back (a full turn changes nothing, so only the rest counts), every
// member appended. Cheap when the turns are few, as when few grades are interleaved.
void spieleGruppe(const std::size_t* glieder, std::size_t k, const std::vector<int>& kleinereDavor,
                  int kleinereGesamt, std::size_t drehungen, Arbeitsplatz& platz,
                  std::vector<std::size_t>& ausgabe) {
    auto& q = platz.schlange;
    q.resize(k + drehungen);
    std::size_t kopf = 0, ende = 0;
    auto drehe = [&](std::size_t r) {
        for (; r > 0; --r)
            q[ende++] = q[kopf++];
    };
    for (std::size_t t = 0; t < k; ++t) {
        if (t > 0)
            drehe(static_cast<std::size_t>(kleinereDavor[glieder[t]] - kleinereDavor[glieder[t - 1]]) % t);
        q[ende++] = glieder[t];
    }
    drehe(static_cast<std::size_t>(kleinereGesamt - kleinereDavor[glieder[k - 1]]) % k);
    ausgabe.insert(ausgabe.end(), q.begin() + static_cast<std::ptrdiff_t>(kopf),
                   q.begin() + static_cast<std::ptrdiff_t>(ende));
}

void ordneGruppe(const std::size_t* glieder, std::size_t k, const std::vector<int>& kleinereDavor,
                 int kleinereGesamt, Arbeitsplatz& platz, std::vector<std::size_t>& ausgabe) {
    if (k == 1) {
        ausgabe.push_back(glieder[0]);
        return;
    }
    // The turns the walk would make; when they are few, playing it through beats the tree.
    std::size_t drehungen = static_cast<std::size_t>(kleinereGesamt - kleinereDavor[glieder[k - 1]]) % k;
    for (std::size_t t = 1; t < k && drehungen <= 8 * k; ++t)
        drehungen += static_cast<std::size_t>(kleinereDavor[glieder[t]] - kleinereDavor[glieder[t - 1]]) % t;
    if (drehungen <= 8 * k) {
        spieleGruppe(glieder, k, kleinereDavor, kleinereGesamt, drehungen, platz, ausgabe);
        return;
    }
    auto& einfuegeStelle = platz.einfuegeStelle;
    einfuegeStelle.assign(k, 0);
    std::size_t start = 0;
    for (std::size_t t = 1; t < k; ++t) {
        const auto drehungen =
            static_cast<std::size_t>(kleinereDavor[glieder[t]] - kleinereDavor[glieder[t - 1]]);
        // Mostly fewer turns than members: a division only where needed.
        start += drehungen;
        if (start >= t)
            start %= t;
        einfuegeStelle[t] = static_cast<int>(start);
        ++start;
    }
    start = (start + static_cast<std::size_t>(kleinereGesamt - kleinereDavor[glieder[k - 1]])) % k;

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

// Dense ranks of grades by a radix sort of order-preserving keys: much faster than a
// comparison sort, and exact (0 and -0 are one key; NaN has no rank).
std::vector<int> notenRaenge(const Notenliste& liste) {
    const std::size_t n = static_cast<std::size_t>(liste.size());
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
        const std::uint64_t bits = note == 0 ? 0 : std::bit_cast<std::uint64_t>(note);
        const std::uint64_t schluessel = (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
        paare.push_back({schluessel, static_cast<std::uint32_t>(i)});
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
        const QByteArrayView name = liste[static_cast<qsizetype>(i)].nameBytes();
        unsigned char bytes[32] = {};
        std::memcpy(bytes, name.data(), static_cast<std::size_t>(name.size()));
        bytes[30] = static_cast<unsigned char>(name.size());
        Schluessel& s = schluessel[i];
        for (int w = 0; w < 4; ++w) {
            std::uint64_t wort;
            std::memcpy(&wort, bytes + 8 * w, 8);
            s.w[w] = __builtin_bswap64(wort);
        }
        s.index = static_cast<std::uint32_t>(i);
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

void wendeAn(Notenliste& liste, const std::vector<std::size_t>& reihenfolge) {
    // Every record moves once, straight to its place.
    Notenliste neu;
    neu.resize(liste.size());
    const TNotenEintrag* alt = liste.constData();
    TNotenEintrag* ziel = neu.data();
    for (std::size_t k = 0; k < reihenfolge.size(); ++k)
        ziel[k] = alt[reihenfolge[k]];
    liste.swap(neu);
}

} // namespace

std::vector<std::size_t> austauschReihenfolge(const std::vector<int>& rang) {
    const std::size_t n = rang.size();
    const int raenge = rang.empty() ? 0 : *std::max_element(rang.begin(), rang.end()) + 1;

    // For every entry, the number of entries with a smaller key before it.
    std::vector<int> kleinereDavor(n, 0);
    std::vector<int> jeRang(static_cast<std::size_t>(std::max(raenge, 0)), 0);
    {
        Fenwick zaehler(jeRang.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (rang[i] < 0)
                continue;
            kleinereDavor[i] = zaehler.summeVor(static_cast<std::size_t>(rang[i]));
            zaehler.addiere(static_cast<std::size_t>(rang[i]), 1);
            ++jeRang[static_cast<std::size_t>(rang[i])];
        }
    }
    // The members of every rank in list order, one flat array.
    std::vector<std::size_t> anfang(jeRang.size() + 1, 0);
    for (std::size_t r = 0; r < jeRang.size(); ++r)
        anfang[r + 1] = anfang[r] + static_cast<std::size_t>(jeRang[r]);
    std::vector<std::size_t> glieder(anfang.back());
    {
        std::vector<std::size_t> naechste(anfang.begin(), anfang.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            if (rang[i] >= 0)
                glieder[naechste[static_cast<std::size_t>(rang[i])]++] = i;
    }

    std::vector<std::size_t> sortiert;
    sortiert.reserve(glieder.size());
    Arbeitsplatz platz;
    int kleinereGesamt = 0;
    for (std::size_t r = 0; r < jeRang.size(); ++r) {
        if (jeRang[r] > 0)
            ordneGruppe(glieder.data() + anfang[r], static_cast<std::size_t>(jeRang[r]), kleinereDavor,
                        kleinereGesamt, platz, sortiert);
        kleinereGesamt += jeRang[r];
    }

    // Entries without a key keep their places; the others fill the remaining places in order.
    std::vector<std::size_t> ergebnis(n);
    std::size_t naechstes = 0;
    for (std::size_t i = 0; i < n; ++i)
        ergebnis[i] = rang[i] < 0 ? i : sortiert[naechstes++];
    return ergebnis;
}

void nachName(Notenliste& liste) {
    wendeAn(liste, austauschReihenfolge(namensRaenge(liste)));
}

void nachNote(Notenliste& liste) {
    wendeAn(liste, austauschReihenfolge(notenRaenge(liste)));
}

} // namespace sortierung
