// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes writes fail as on a full disk, even for root: a file size limit for this process,
// with the signal it raises ignored, so write() fails with EFBIG. Undone on destruction.

#include <csignal>
#include <sys/resource.h>

class Dateigrenze {
public:
    explicit Dateigrenze(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit grenze = m_vorher;
        grenze.rlim_cur = bytes;
        m_aktiv = setrlimit(RLIMIT_FSIZE, &grenze) == 0;
    }
    ~Dateigrenze() {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signal);
    }
    Dateigrenze(const Dateigrenze&) = delete;
    Dateigrenze& operator=(const Dateigrenze&) = delete;
    bool aktiv() const { return m_aktiv; }

private:
    rlimit m_vorher{};
    void (*m_signal)(int) = SIG_DFL;
    bool m_aktiv = false;
};
