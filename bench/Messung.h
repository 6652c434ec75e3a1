#pragma once
// A small timing harness for the benchmarks: the best of several runs, printed with a goal.

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace messung {

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
    std::printf("%-52s %10.2f ms   goal: %-28s %s\n", was.c_str(), ms, ziel.c_str(), erreicht ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace messung
