// SPDX-License-Identifier: GPL-3.0-or-later
#include "Statistik.h"

#include "Fehler.h"
#include "Fortschritt.h"

#include <cmath>
#include <limits>
#include <utility>

static_assert(std::numeric_limits<long double>::digits == 64, "statistics need the x87 extended format");

namespace {
// Progress every few thousand entries; a cancel throws out of it.
void melde(qint64 erledigt, qint64 gesamt) {
    if (erledigt % 4096 == 0)
        fortschritt::melde(erledigt, gesamt);
}
} // namespace

void StatistikBerechnen(Auswertung& a) {
    // Both sums are formed in extended and rounded to double at every step: S + g, and the
    // square sum after an extended product and sum. Rounding twice is not the same as adding in
    // double: 1 + (2^-53 + 2^-70) is 1 + 2^-53 in extended, a tie that goes to 1, where a double
    // sum gives 1 + 2^-52. This loop cannot fail, so the new sum of squares stays even when the
    // rest fails.
    double summe = 0;
    double quadratsumme = 0;
    qint64 i = 0;
    for (const TNotenEintrag& e : std::as_const(a.FEintraege)) {
        melde(i++, a.FEintraege.size());
        const long double g = e.note;
        summe = static_cast<double>(static_cast<long double>(summe) + g);
        quadratsumme = static_cast<double>(g * g + static_cast<long double>(quadratsumme));
    }
    a.FQuadratsumme = quadratsumme;

    const long double n = static_cast<long double>(a.FEintraege.size());
    if (n == 0) // S * S / n is 0 / 0
        fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
    const long double s = summe;
    const long double zaehler = static_cast<long double>(a.FQuadratsumme) - s * s / n;
    const long double nenner = n - 1;
    if (nenner == 0) // one entry: the numerator is zero or a rounding residue
        fehler::abbruchMitFehlerbericht(zaehler == 0 ? fehler::UngueltigeOperation
                                                     : fehler::DivisionDurchNull);
    const long double radikand = zaehler / nenner;
    if (!std::isfinite(radikand)) // infinite, NaN or absurdly large grades from a foreign record file
        fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
    // Equal grades can leave the radicand a rounding residue below zero: their spread is 0.
    a.FStandardabweichung = radikand > 0 ? static_cast<double>(std::sqrt(radikand)) : 0.0;
    a.FDurchschnitt = static_cast<double>(s / n);
}

void BestandeneZaehlen(Auswertung& a, double grenznote) {
    // Both fields at the end, so a cancel on the way leaves them as they were.
    std::int32_t bestanden = 0;
    qint64 i = 0;
    for (const TNotenEintrag& e : std::as_const(a.FEintraege)) {
        melde(i++, a.FEintraege.size());
        if (e.note <= grenznote)
            ++bestanden;
    }
    a.FGrenznote = grenznote;
    a.FBestanden = bestanden;
}
