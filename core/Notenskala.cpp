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

// The extended values nearest to the decimal thirds .3 and .7.
constexpr long double kDrittel = 0.3L;
constexpr long double kZweiDrittel = 0.7L;

// Beyond this every double is a whole number and the steps lose their meaning; there the
// candidates are formed in extended precision without the fast integer conversions.
constexpr double kGross = 4503599627370496.0;  // 2^52
// Tenths k/10 are exact to find while 10 * r stays well inside 2^53.
constexpr double kGrossZehntel = 562949953421312.0;  // 2^49

double rohnote(double p, const TNotenskala& s) {
    long double punktabstand, breite, notenabstand, anker;
    if (p > s.bestandenpunkte) {
        punktabstand = static_cast<long double>(p) - static_cast<long double>(s.bestandenpunkte);
        breite = static_cast<long double>(s.vollepunkte) - static_cast<long double>(s.bestandenpunkte);
        notenabstand = static_cast<long double>(s.bestandennote) - static_cast<long double>(s.vollenote);
        anker = s.bestandennote;
    } else {
        punktabstand = static_cast<long double>(p) - static_cast<long double>(s.nichtbestandenpunkte);
        breite = static_cast<long double>(s.bestandenpunkte) - static_cast<long double>(s.nichtbestandenpunkte);
        notenabstand = static_cast<long double>(s.nichtbestandennote) - static_cast<long double>(s.bestandennote);
        anker = s.nichtbestandennote;
    }
    if (breite == 0)
        fehler::wirf(punktabstand == 0 ? fehler::UngueltigeOperation : fehler::DivisionDurchNull);
    const long double quotient = punktabstand / breite;
    const long double produkt = quotient * notenabstand;
    const double r = static_cast<double>(anker - produkt);
    if (!std::isfinite(r))
        fehler::wirf(fehler::UngueltigeOperation);
    return r;
}

// The double nearest to k/10: both operands are exact, and IEEE division rounds correctly.
inline double zehntel(std::int64_t k) { return static_cast<double>(k) / 10.0; }

struct Kandidaten {
    double u, t;
};

Kandidaten kandidaten(double r, int notenschluessel) {
    if (notenschluessel == 2) {
        // u is the largest tenth whose nearest double is not above r, t the next tenth; so a
        // raw grade held as the double of 3,4 (a hair below 3,4) keeps 3,4 as its lower step.
        if (std::fabs(r) >= kGrossZehntel)
            return {r, static_cast<double>(static_cast<long double>(r) + 0.1L)};
        auto k = static_cast<std::int64_t>(std::floor(r * 10.0));  // near; corrected below
        while (zehntel(k) > r)
            --k;
        while (zehntel(k + 1) <= r)
            ++k;
        return {zehntel(k), zehntel(k + 1)};
    }
    if (notenschluessel != 0 && notenschluessel != 1)
        return {r, r};

    // Integer part toward zero and the exact fraction (negative for a negative r).
    const double ganz = std::fabs(r) < kGross ? static_cast<double>(static_cast<std::int64_t>(r)) : r;
    const long double I = ganz;
    const long double f = static_cast<long double>(r) - I;
    long double u, t;
    if (notenschluessel == 0) {
        if (f >= 0.5L) {
            u = I + 0.5L;
            t = I + 1.0L;
        } else {
            u = I;
            t = I + 0.5L;
        }
    } else if (f < kDrittel) {
        u = I;
        t = I + kDrittel;
    } else if (f < kZweiDrittel) {
        u = I + kDrittel;
        t = I + kZweiDrittel;
    } else {
        u = I + kZweiDrittel;
        t = I + 1.0L;
    }
    return {static_cast<double>(u), static_cast<double>(t)};
}

} // namespace

double NoteBerechnen(double punkte, const TNotenskala& skala) {
    if (std::isnan(punkte))
        fehler::wirf(fehler::UngueltigeOperation);
    const double r = rohnote(punkte, skala);
    double note = r;
    if (skala.runden >= 0 && skala.runden <= 2) {
        const Kandidaten k = kandidaten(r, skala.notenschluessel);
        if (skala.runden == 0)
            note = k.u;
        else if (skala.runden == 1)
            note = k.t;
        else  // the nearer candidate; an exact tie goes to the better grade u
            note = std::fabs(static_cast<long double>(k.u) - r) > std::fabs(static_cast<long double>(k.t) - r)
                       ? k.t
                       : k.u;
    }
    // A truncated -0,2 leaves the candidate -0; the grid and the files show it as 0.
    return note == 0 ? 0.0 : note;
}

void AlleNotenBerechnen(Notenliste& liste, const TNotenskala& skala) {
    for (TNotenEintrag& e : liste)
        e.note = NoteBerechnen(e.punkte, skala);
}
