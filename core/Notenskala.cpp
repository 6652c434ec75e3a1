// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notenskala.h"

#include "Fehler.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

// Grades must come out as they always have: the raw grade is formed with a 64-bit significand,
// and the double arithmetic below must really be double (no excess precision).
static_assert(std::numeric_limits<long double>::digits == 64, "grading needs the x87 extended format");
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must round to double");

namespace {

// Beyond 2^52 every double is whole; there the integer part is r itself.
constexpr double kGross = 4503599627370496.0;
// Tenths are found exactly while |r| < 2^49: 10 r then stays below 2^53 and a double is finer than 0,1.
constexpr double kGrossZehntel = 562949953421312.0;

// The better candidate u and the worse t, one step above it.
struct Kandidaten {
    double u, t;
};

// Halves or thirds: the bounds within one grade, from the integer part I up to the next one,
// as extended values (the thirds are the extended values nearest to ,3 and ,7). The step values
// I + bound are summed in extended and rounded to double; for the integer parts grades have in
// practice they are computed once. x87 work after the raw grade costs more than all the rest.
class Stufung {
public:
    static constexpr std::int64_t kErstesI = -64;
    static constexpr std::int64_t kTabelle = 128;

    Stufung(long double mitte1, long double mitte2) : m_grenze{0.0L, mitte1, mitte2, 1.0L} {
        // The fraction f is an exact double, so f >= bound holds exactly when f reaches the
        // smallest double not below the bound.
        for (int j = 0; j < 2; ++j) {
            double d = static_cast<double>(m_grenze[j + 1]);
            if (static_cast<long double>(d) < m_grenze[j + 1])
                d = std::nextafter(d, std::numeric_limits<double>::infinity());
            m_schwelle[j] = d;
        }
        for (std::int64_t i = 0; i < kTabelle; ++i)
            for (int j = 0; j < 4; ++j)
                m_wert[i][j] = summe(static_cast<double>(kErstesI + i), j);
    }

    // The interval of r by its integer part toward zero and the exact fraction (negative for a
    // negative r, which then lies in the lowest interval).
    Kandidaten kandidaten(double r) const {
        if (!(std::fabs(r) < kGross)) [[unlikely]]
            return {summe(r, 0), summe(r, 1)};
        const auto I = static_cast<std::int64_t>(r);
        const double f = r - static_cast<double>(I);
        const int j = int(f >= m_schwelle[0]) + int(f >= m_schwelle[1]);
        const auto zeile = static_cast<std::uint64_t>(I - kErstesI);
        if (zeile < static_cast<std::uint64_t>(kTabelle)) [[likely]]
            return {m_wert[zeile][j], m_wert[zeile][j + 1]};
        return {summe(static_cast<double>(I), j), summe(static_cast<double>(I), j + 1)};
    }

private:
    double summe(double ganz, int j) const {
        return static_cast<double>(static_cast<long double>(ganz) + m_grenze[j]);
    }

    long double m_grenze[4];
    double m_schwelle[2];
    double m_wert[kTabelle][4];
};

const Stufung& halbe() {
    static const Stufung s(0.5L, 1.0L); // a fraction never reaches 1: two intervals
    return s;
}

const Stufung& drittel() {
    static const Stufung s(0.3L, 0.7L);
    return s;
}

// The double nearest to k/10: both operands are exact, and IEEE division rounds correctly.
inline double zehntel(std::int64_t k) {
    return static_cast<double>(k) / 10.0;
}

// The double nearest to k/10 (ties to the even one) where doubles lie at least 1/16 apart and
// |k| < 10 * 2^53: 10 d, k and their difference are exact in the 64-bit significand, so the
// nearest of the three doubles around the extended quotient is found without rounding.
double naechsterZehntel(long double k) {
    const double naeherung = static_cast<double>(k / 10.0L);
    const double kandidat[3] = {std::nextafter(naeherung, -HUGE_VAL), naeherung,
                                std::nextafter(naeherung, HUGE_VAL)};
    double beste = kandidat[0];
    long double abstand = std::fabs(10.0L * beste - k);
    for (int i = 1; i < 3; ++i) {
        const long double a = std::fabs(10.0L * kandidat[i] - k);
        if (a < abstand || (a == abstand && (std::bit_cast<std::uint64_t>(kandidat[i]) & 1) == 0)) {
            beste = kandidat[i];
            abstand = a;
        }
    }
    return beste;
}

// Tenths from 2^49 on, where doubles are coarser than tenths: the same rule as below, exactly.
// Up to 2^53 the tenths whose double is r lie within half a double's gap of r, at most five
// tenths above 10 r; from 2^53 on r is whole, the tenths up to half a gap above r round to r,
// and the next tenth's double is the next double above r.
// Above the largest double there is no next tenth: only the worse rule, which would choose
// it, fails; the others choose r.
[[gnu::noinline, gnu::cold]] Kandidaten grosseZehntel(double r, int runden) {
    if (std::fabs(r) >= 9007199254740992.0) {
        const double t = std::nextafter(r, HUGE_VAL);
        if (std::isinf(t)) {
            if (runden == 1)
                fehler::abbruchMitFehlerbericht(fehler::Ueberlauf);
            return {r, r};
        }
        return {r, t};
    }
    long double k = std::floor(10.0L * r) + 6; // 10 r is exact
    while (naechsterZehntel(k) > r)
        --k;
    return {naechsterZehntel(k), naechsterZehntel(k + 1)};
}

// Tenths: u is the largest tenth whose nearest double is not above r, t the next tenth, both as
// their nearest doubles; so a raw grade held as the double of 3,4 (a hair below 3,4) keeps 3,4
// as its lower step, tenths that print alike are one double, and t is always above r.
Kandidaten zehntelKandidaten(double r, int runden) {
    if (!(std::fabs(r) < kGrossZehntel)) [[unlikely]]
        return grosseZehntel(r, runden);
    // m = floor(10 r) as a double computes it is at most one away from the answer K: below 2^49
    // the product's error and the gap from a tenth to its nearest double stay under one tenth.
    // So the tenth m-1 is never above r and the tenth m+2 always is.
    const double y = r * 10.0;
    auto m = static_cast<std::int64_t>(y);
    m -= static_cast<std::int64_t>(static_cast<double>(m) > y);
    double z[4];
    for (int j = 0; j < 4; ++j)
        z[j] = zehntel(m - 1 + j);
    const int k = int(z[1] <= r) + int(z[2] <= r);
    return {z[k], z[k + 1]};
}

// One piece of the line, from its lower point value on. The differences of the anchors are
// the same extended values the formula forms for every score, computed once.
struct Stueck {
    long double start;
    long double breite;
    long double notenabstand;
    long double anker;
};

// The scale prepared for many scores. Random scores choose pieces, intervals and the nearer
// candidate unpredictably, so those choices are indexes rather than branches.
class Skala {
public:
    explicit Skala(const TNotenskala& s)
        : m_grenze(s.bestandenpunkte), m_schluessel(s.notenschluessel), m_runden(s.runden) {
        const long double volleP = s.vollepunkte, bestP = s.bestandenpunkte, nichtP = s.nichtbestandenpunkte;
        const long double volleN = s.vollenote, bestN = s.bestandennote, nichtN = s.nichtbestandennote;
        m_stueck[0] = {nichtP, bestP - nichtP, nichtN - bestN, nichtN}; // p <= bestandenpunkte
        m_stueck[1] = {bestP, volleP - bestP, bestN - volleN, bestN};   // p > bestandenpunkte
        if (m_schluessel == 0)
            m_stufung = &halbe();
        else if (m_schluessel == 1)
            m_stufung = &drittel();
    }

    double note(double p) const { return gerundet(rohnote(p)); }

    // Differences, quotient, product and subtraction in the order written, r rounded to double.
    double rohnote(double p) const {
        if (std::isnan(p)) [[unlikely]]
            fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
        const Stueck& s = m_stueck[p > m_grenze];
        const long double punktabstand = static_cast<long double>(p) - s.start;
        if (s.breite == 0) [[unlikely]]
            fehler::abbruchMitFehlerbericht(punktabstand == 0 ? fehler::UngueltigeOperation
                                                              : fehler::DivisionDurchNull);
        const long double quotient = punktabstand / s.breite;
        const long double produkt = quotient * s.notenabstand;
        const double r = static_cast<double>(s.anker - produkt);
        if (!std::isfinite(r)) [[unlikely]]
            fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
        return r;
    }

    // The step and the rounding rule applied to the raw grade r.
    double gerundet(double r) const {
        if (m_runden < 0 || m_runden > 2)
            return ohneMinusNull(r);
        double k[2] = {r, r}; // u, t; no step chosen: both are r
        if (m_stufung) {
            const Kandidaten c = m_stufung->kandidaten(r);
            k[0] = c.u;
            k[1] = c.t;
        } else if (m_schluessel == 2) {
            const Kandidaten c = zehntelKandidaten(r, m_runden);
            k[0] = c.u;
            k[1] = c.t;
        }
        if (m_runden != 2)
            return ohneMinusNull(k[m_runden]);
        return ohneMinusNull(k[naeherAmSchlechteren(k[0], k[1], r)]);
    }

private:
    // "kaufmännisch": whether r is strictly nearer to t than to u (an exact tie goes to the better
    // grade u). With u <= t that is r > (u + t) / 2, decided exactly: the halves are exact, and
    // their sum is s plus the rounding error e (Knuth's two-sum), so no extended step is needed.
    static bool naeherAmSchlechteren(double u, double t, double r) {
        const double a = u * 0.5, b = t * 0.5;
        const double s = a + b;
        const double bs = s - a;
        const double e = (a - (s - bs)) + (b - bs);
        return (r > s) | ((r == s) & (e < 0));
    }

    // A truncated -0,2 can leave the candidate -0; the grid and the files show it as 0.
    static double ohneMinusNull(double note) { return note == 0 ? 0.0 : note; }

    double m_grenze;
    int m_schluessel;
    int m_runden;
    Stueck m_stueck[2];
    const Stufung* m_stufung = nullptr;
};

} // namespace

double NoteBerechnen(double punkte, const TNotenskala& skala) {
    return Skala(skala).note(punkte);
}

void AlleNotenBerechnen(Notenliste& liste, const TNotenskala& skala) {
    const Skala s(skala);
    // In blocks: first the raw grades (x87), then the steps (SSE). Apart, the two long chains
    // overlap far better than interleaved per entry.
    constexpr qsizetype kBlock = 256;
    double roh[kBlock];
    TNotenEintrag* const e = liste.data();
    const qsizetype n = liste.size();
    for (qsizetype a = 0; a < n; a += kBlock) {
        const qsizetype b = std::min(n, a + kBlock);
        qsizetype i = a;
        try {
            for (; i < b; ++i)
                roh[i - a] = s.rohnote(e[i].punkte);
        } catch (...) {
            // The entries before the failing one get their grades, the rest keep theirs.
            for (qsizetype j = a; j < i; ++j)
                e[j].note = s.gerundet(roh[j - a]);
            throw;
        }
        for (qsizetype j = a; j < b; ++j)
            e[j].note = s.gerundet(roh[j - a]);
    }
}
