// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small timing harness for the benchmarks: the best of several runs, printed with a goal.

#include <QFile>
#include <QList>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <functional>
#include <string>

namespace messung {

// The application object has set the C library's locale from the environment; under a German
// one printf would write "12,34 ms". The benchmark lines keep points in every locale, so runs
// on different machines compare and scripts read them. Called right after the application.
inline void zahlenMitPunkt() {
    std::setlocale(LC_NUMERIC, "C");
}

// Runs `vorbereiten` (not timed) and `lauf` (timed) `wiederholungen` times; returns the best
// time in milliseconds.
inline double besteZeitMs(int wiederholungen, const std::function<void()>& vorbereiten,
                          const std::function<void()>& lauf) {
    double beste = 1e300;
    for (int i = 0; i < wiederholungen; ++i) {
        if (vorbereiten)
            vorbereiten();
        const auto start = std::chrono::steady_clock::now();
        lauf();
        const auto ende = std::chrono::steady_clock::now();
        beste = std::min(beste, std::chrono::duration<double, std::milli>(ende - start).count());
    }
    return beste;
}

// Prints one result line; `ziel` is the goal as text, `erreicht` whether it was met.
inline void bericht(const std::string& was, double ms, const std::string& ziel, bool erreicht) {
    std::printf("%-52s %10.2f ms   goal: %-28s %s\n", was.c_str(), ms, ziel.c_str(),
                erreicht ? "met" : "MISSED");
    std::fflush(stdout);
}

// VmRSS and VmHWM in bytes.
struct Speicher {
    qint64 rss = 0;
    qint64 spitze = 0;
};

inline Speicher speicher() {
    Speicher s;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return s;
    for (const QByteArray& zeile : status.readAll().split('\n')) {
        auto wert = [&zeile](const char* name) {
            return zeile.mid(qstrlen(name)).trimmed().split(' ').first().toLongLong() * 1024;
        };
        if (zeile.startsWith("VmRSS:"))
            s.rss = wert("VmRSS:");
        else if (zeile.startsWith("VmHWM:"))
            s.spitze = wert("VmHWM:");
    }
    return s;
}

// Sets the peak back to the present size; false where the kernel does not allow it.
inline bool spitzeZuruecksetzen() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// How far the resident size rose above its start while `lauf` ran; -1 when not measurable.
inline qint64 spitzenZuwachs(const std::function<void()>& lauf) {
    const qint64 vorher = speicher().rss;
    if (!spitzeZuruecksetzen())
        return -1;
    lauf();
    return speicher().spitze - vorher;
}

inline std::string mbText(qint64 bytes) {
    return std::to_string(static_cast<long long>(static_cast<double>(bytes) / 1e6 + 0.5)) + " MB";
}

// One memory line, laid out like bericht.
inline void speicherBericht(const std::string& was, qint64 bytes, const std::string& ziel, bool erreicht) {
    std::printf("%-52s %10.1f MB   goal: %-28s %s\n", was.c_str(), static_cast<double>(bytes) / 1e6,
                ziel.c_str(), erreicht ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace messung
