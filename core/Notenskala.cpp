#include "Notenskala.h"

#include "Fehler.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

// Grades must come out as they always have: the raw grade is formed with a 64-bit significand,
// and the double arithmetic below must really be double (no excess precision).
static_assert(std::numeric_limits<long double>::digits == 64, "grading needs the x87 extended format");
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must round to double");

namespace {

// The steps within one grade, from the integer part up to the next one. The thirds are the
// extended values nearest to ,3 and ,7; a fraction never reaches 1, so the last bound of the
// halves is never passed.
constexpr long double kHalbe[] = {0.0L, 0.5L, 1.0L};
constexpr long double kDrittel[] = {0.0L, 0.3L, 0.7L, 1.0L};

// Beyond 2^52 every double is whole; there the integer part is r itself.
constexpr double kGross = 4503599627370496.0;
// Tenths are found exactly while |r| < 2^49: 10 r then stays below 2^53 and a double is finer than 0,1.
constexpr double kGrossZehntel = 562949953421312.0;

// The double nearest to k/10: both operands are exact, and IEEE division rounds correctly.
inline double zehntel(std::int64_t k) { return static_cast<double>(k) / 10.0; }

// The better candidate u and the worse t, one step above it.
struct Kandidaten {
    double u, t;
};

// One piece of the line, from its lower point value on. The differences of the anchors are
// the same extended values the formula forms for every score, computed once.
struct Stueck {
    long double start;
    long double breite;
    long double notenabstand;
    long double anker;
};

// The scale prepared for many scores. Random scores choose pieces, steps and the nearer
// candidate unpredictably, so those choices are indexes rather than branches.
class Skala {
public:
    explicit Skala(const TNotenskala& s)
        : m_grenze(s.bestandenpunkte), m_schluessel(s.notenschluessel), m_runden(s.runden) {
        const long double volleP = s.vollepunkte, bestP = s.bestandenpunkte, nichtP = s.nichtbestandenpunkte;
        const long double volleN = s.vollenote, bestN = s.bestandennote, nichtN = s.nichtbestandennote;
        m_stueck[0] = {nichtP, bestP - nichtP, nichtN - bestN, nichtN};  // p <= bestandenpunkte
        m_stueck[1] = {bestP, volleP - bestP, bestN - volleN, bestN};     // p > bestandenpunkte
        m_stufen = m_schluessel == 0 ? kHalbe : kDrittel;
    }

    double note(double p) const {
        if (std::isnan(p)) [[unlikely]]
            fehler::wirf(fehler::UngueltigeOperation);
        const double r = rohnote(p);
        if (m_runden < 0 || m_runden > 2)
            return ohneMinusNull(r);
        Kandidaten k;
        if (m_schluessel == 2)
            k = zehntelKandidaten(r);
        else if (m_schluessel == 0 || m_schluessel == 1)
            k = stufenKandidaten(r);
        else
            k = {r, r};
        if (m_runden == 0)
            return ohneMinusNull(k.u);
        if (m_runden == 1)
            return ohneMinusNull(k.t);
        // The nearer candidate; an exact tie goes to the better grade u.
        const bool schlechter = std::fabs(static_cast<long double>(k.u) - r) > std::fabs(static_cast<long double>(k.t) - r);
        return ohneMinusNull(schlechter ? k.t : k.u);
    }

private:
    // Differences, quotient, product and subtraction in the order written, r rounded to double.
    double rohnote(double p) const {
        const Stueck& s = m_stueck[p > m_grenze];
        const long double punktabstand = static_cast<long double>(p) - s.start;
        if (s.breite == 0) [[unlikely]]
            fehler::wirf(punktabstand == 0 ? fehler::UngueltigeOperation : fehler::DivisionDurchNull);
        const long double quotient = punktabstand / s.breite;
        const long double produkt = quotient * s.notenabstand;
        const double r = static_cast<double>(s.anker - produkt);
        if (!std::isfinite(r)) [[unlikely]]
            fehler::wirf(fehler::UngueltigeOperation);
        return r;
    }

    // Halves and thirds: the integer part toward zero and the exact fraction (negative for a
    // negative r) pick the interval; the sums are extended, then rounded to double.
    Kandidaten stufenKandidaten(double r) const {
        const double ganz = std::fabs(r) < kGross ? static_cast<double>(static_cast<std::int64_t>(r)) : r;
        const long double I = ganz;
        const long double f = static_cast<long double>(r) - I;
        const int j = int(f >= m_stufen[1]) + int(f >= m_stufen[2]);
        return {static_cast<double>(I + m_stufen[j]), static_cast<double>(I + m_stufen[j + 1])};
    }

    // Tenths: u is the largest tenth whose nearest double is not above r, t the next tenth, both
    // as their nearest doubles; so a raw grade held as the double of 3,4 (a hair below 3,4) keeps
    // 3,4 as its lower step, and tenths that print alike are one double.
    static Kandidaten zehntelKandidaten(double r) {
        if (!(std::fabs(r) < kGrossZehntel)) [[unlikely]]
            return {r, static_cast<double>(static_cast<long double>(r) + 0.1L)};
        // m is within one of floor(10 r) (two for negative r), so the answer lies in m-2..m+2:
        // the tenth m-2 is never above r and the tenth m+3 always is.
        const auto m = static_cast<std::int64_t>(r * 10.0);
        double z[6];
        for (int j = 0; j < 6; ++j)
            z[j] = zehntel(m - 2 + j);
        int k = 0;
        for (int j = 1; j < 5; ++j)
            k += int(z[j] <= r);
        return {z[k], z[k + 1]};
    }

    // A truncated -0,2 can leave the candidate -0; the grid and the files show it as 0.
    static double ohneMinusNull(double note) { return note == 0 ? 0.0 : note; }

    double m_grenze;
    int m_schluessel;
    int m_runden;
    Stueck m_stueck[2];
    const long double* m_stufen;
};

} // namespace

double NoteBerechnen(double punkte, const TNotenskala& skala) { return Skala(skala).note(punkte); }

void AlleNotenBerechnen(Notenliste& liste, const TNotenskala& skala) {
    const Skala s(skala);
    for (TNotenEintrag& e : liste)
        e.note = s.note(e.punkte);
}
