// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exact models for the arithmetic tests: values are exact rationals (GMP), and every rounding
// is made explicitly, to nearest with ties to even, at a given number of bits (64 for the
// extended steps, 53 for double). No exponent limits: for grades and points none are reached.

#include <gmpxx.h>

namespace exakt {

inline mpq_class potenz(long e) {
    mpq_class p = 1;
    if (e >= 0)
        mpz_mul_2exp(p.get_num_mpz_t(), p.get_num_mpz_t(), static_cast<mp_bitcnt_t>(e));
    else
        mpz_mul_2exp(p.get_den_mpz_t(), p.get_den_mpz_t(), static_cast<mp_bitcnt_t>(-e));
    return p;
}

// 2^(bits-1) <= |x| / 2^e < 2^bits
inline long exponent(const mpq_class& betrag, int bits) {
    long e = static_cast<long>(mpz_sizeinbase(betrag.get_num_mpz_t(), 2)) -
             static_cast<long>(mpz_sizeinbase(betrag.get_den_mpz_t(), 2)) - bits;
    while (betrag / potenz(e) >= potenz(bits))
        ++e;
    while (betrag / potenz(e) < potenz(bits - 1))
        --e;
    return e;
}

inline mpq_class runde(const mpq_class& x, int bits) {
    if (x == 0)
        return 0;
    const mpq_class betrag = abs(x);
    const long e = exponent(betrag, bits);
    const mpq_class skaliert = betrag / potenz(e);
    mpz_class m;
    mpz_fdiv_q(m.get_mpz_t(), skaliert.get_num_mpz_t(), skaliert.get_den_mpz_t());
    const mpq_class rest = skaliert - mpq_class(m);
    if (rest > mpq_class(1, 2) || (rest == mpq_class(1, 2) && mpz_odd_p(m.get_mpz_t())))
        ++m;
    const mpq_class r = mpq_class(m) * potenz(e);
    return x < 0 ? mpq_class(-r) : r;
}

inline mpq_class ext(const mpq_class& x) {
    return runde(x, 64);
}
inline double dbl(const mpq_class& x) {
    return runde(x, 53).get_d();
} // exact: 53 bits

// The root of x > 0 rounded to 64 bits: m = floor(sqrt(x / 4^k)) with 64 bits, then up when
// x / 4^k >= (m + 1/2)^2 (an exact half can't occur).
inline mpq_class wurzel(const mpq_class& x) {
    long k = exponent(x, 128) / 2;
    for (;;) {
        const mpq_class y = x / potenz(2 * k);
        mpz_class ganz, m;
        mpz_fdiv_q(ganz.get_mpz_t(), y.get_num_mpz_t(), y.get_den_mpz_t());
        mpz_sqrt(m.get_mpz_t(), ganz.get_mpz_t());
        if (m >= mpz_class(1) << 64) {
            ++k;
        } else if (m < mpz_class(1) << 63) {
            --k;
        } else {
            const mpq_class mitte = mpq_class(m) + mpq_class(1, 2);
            if (y >= mitte * mitte)
                ++m;
            return mpq_class(m) * potenz(k);
        }
    }
}

} // namespace exakt
