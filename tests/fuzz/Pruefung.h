// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every harness shares: reading settings from the front of the input, and a check that
// stops the run with a message, so libFuzzer keeps the input as a crash.

#include "Zahltext.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define PRUEFE(bedingung)                                                                                    \
    do {                                                                                                     \
        if (!(bedingung)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: Eigenschaft verletzt: %s\n", __FILE__, __LINE__, #bedingung);       \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

namespace fuzz {

// Takes values from the front of the input; past its end every value is 0.
class Leser {
public:
    Leser(const std::uint8_t* daten, std::size_t groesse) : m_p(daten), m_n(groesse) {}

    std::uint8_t byte() {
        if (m_n == 0)
            return 0;
        --m_n;
        return *m_p++;
    }
    template <class T> T roh() {
        T wert{};
        const std::size_t n = m_n < sizeof(T) ? m_n : sizeof(T);
        std::memcpy(&wert, m_p, n);
        m_p += n;
        m_n -= n;
        return wert;
    }
    QByteArray rest() {
        QByteArray r(reinterpret_cast<const char*>(m_p), static_cast<qsizetype>(m_n));
        m_p += m_n;
        m_n = 0;
        return r;
    }
    std::size_t uebrig() const { return m_n; }

private:
    const std::uint8_t* m_p;
    std::size_t m_n;
};

// The locales whose separators differ in kind: comma and full stop, full stop and comma,
// comma and a non-ASCII blank, full stop and an apostrophe.
inline void waehleGebietsschema(std::uint8_t wahl) {
    static const char* const namen[] = {"de_DE", "en_US", "fr_FR", "de_CH"};
    zahltext::uebernehmeGebietsschema(QLocale(QString::fromLatin1(namen[wahl % 4])));
}

} // namespace fuzz
