// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Trimming, as the settings file's lines, imported names and the class window's group cells
// are read: blanks and control characters, every code up to 32, come off both ends.

#include <QStringView>

constexpr bool istRandzeichen(char32_t c) {
    return c <= 32;
}

inline QStringView getrimmt(QStringView text) {
    qsizetype von = 0, bis = text.size();
    while (von < bis && istRandzeichen(text[von].unicode()))
        ++von;
    while (bis > von && istRandzeichen(text[bis - 1].unicode()))
        --bis;
    return text.sliced(von, bis - von);
}
