#include "Sortierung.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numeric>

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
void ordneGruppe(const std::vector<std::size_t>& glieder, const std::vector<int>& kleinereDavor,
                 int kleinereGesamt, std::vector<std::size_t>& ausgabe) {
    const std::size_t k = glieder.size();
    std::vector<int> einfuegeStelle(k);
    std::size_t start = 0;
    for (std::size_t t = 0; t < k; ++t) {
        if (t > 0) {
            const auto drehungen = static_cast<std::size_t>(kleinereDavor[glieder[t]] - kleinereDavor[glieder[t - 1]]);
            start = (start + drehungen) % t;
            einfuegeStelle[t] = static_cast<int>(start);
            ++start;
        } else {
            einfuegeStelle[t] = 0;
            start = 0;
        }
    }
    start = (start + static_cast<std::size_t>(kleinereGesamt - kleinereDavor[glieder[k - 1]])) % k;

    std::vector<std::size_t> kreis(k);
    Fenwick frei(k);
    frei.alleEins();
    for (std::size_t t = k; t-- > 0;) {
        const std::size_t platz = frei.finde(einfuegeStelle[t]);
        kreis[platz] = glieder[t];
        frei.addiere(platz, -1);
    }
    for (std::size_t i = 0; i < k; ++i)
        ausgabe.push_back(kreis[(start + i) % k]);
}

template <typename Schluessel, typename Kleiner>
std::vector<int> dichteRaenge(const std::vector<Schluessel>& schluessel, const std::vector<bool>& fest,
                              Kleiner kleiner) {
    std::vector<std::size_t> index;
    index.reserve(schluessel.size());
    for (std::size_t i = 0; i < schluessel.size(); ++i)
        if (!fest[i])
            index.push_back(i);
    std::sort(index.begin(), index.end(),
              [&](std::size_t a, std::size_t b) { return kleiner(schluessel[a], schluessel[b]); });
    std::vector<int> rang(schluessel.size(), -1);
    int r = -1;
    for (std::size_t n = 0; n < index.size(); ++n) {
        if (n == 0 || kleiner(schluessel[index[n - 1]], schluessel[index[n]]))
            ++r;
        rang[index[n]] = r;
    }
    return rang;
}

void wendeAn(Notenliste& liste, const std::vector<std::size_t>& reihenfolge) {
    Notenliste neu;
    neu.reserve(liste.size());
    for (std::size_t i : reihenfolge)
        neu.push_back(liste[i]);
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
    std::vector<std::vector<std::size_t>> gruppen(jeRang.size());
    for (std::size_t r = 0; r < jeRang.size(); ++r)
        gruppen[r].reserve(static_cast<std::size_t>(jeRang[r]));
    for (std::size_t i = 0; i < n; ++i)
        if (rang[i] >= 0)
            gruppen[static_cast<std::size_t>(rang[i])].push_back(i);

    std::vector<std::size_t> sortiert;
    sortiert.reserve(n);
    int kleinereGesamt = 0;
    for (std::size_t r = 0; r < gruppen.size(); ++r) {
        if (!gruppen[r].empty())
            ordneGruppe(gruppen[r], kleinereDavor, kleinereGesamt, sortiert);
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
    std::vector<QByteArrayView> namen;
    namen.reserve(liste.size());
    for (const auto& e : liste)
        namen.push_back(e.nameBytes());
    const std::vector<bool> fest(liste.size(), false);
    const auto rang = dichteRaenge(namen, fest, [](QByteArrayView a, QByteArrayView b) {
        const auto n = std::min(a.size(), b.size());
        const int c = std::memcmp(a.data(), b.data(), static_cast<std::size_t>(n));
        return c != 0 ? c < 0 : a.size() < b.size();
    });
    wendeAn(liste, austauschReihenfolge(rang));
}

void nachNote(Notenliste& liste) {
    std::vector<double> noten;
    std::vector<bool> fest;
    noten.reserve(liste.size());
    fest.reserve(liste.size());
    for (const auto& e : liste) {
        noten.push_back(e.note);
        fest.push_back(std::isnan(e.note));
    }
    const auto rang = dichteRaenge(noten, fest, [](double a, double b) { return a < b; });
    wendeAn(liste, austauschReihenfolge(rang));
}

} // namespace sortierung
