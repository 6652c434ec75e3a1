// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fields of one delimited line, the same few steps on Windows-1252 bytes (std::string_view,
// char) and on UTF-16 (QStringView, QChar). Quoting as spreadsheets write it (RFC 4180): a field
// that begins with a quotation mark ends at the closing one, a doubled mark inside stands for
// one, and separators and line breaks inside belong to the field; text between the closing mark
// and the next separator is kept as it stands. A mark anywhere else is an ordinary character.
// Internal to the import.

#include "Textzeilen.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace csv {

// The separator that joins spreadsheet cells into lines: a noncharacter that no cell holds.
// Lines joined with it are cells, not text, and their quotation marks are plain characters.
inline constexpr char16_t kZellentrenner = u'\xFFFF';

inline char16_t einheit(char c) {
    return static_cast<unsigned char>(c);
}
inline char16_t einheit(QChar c) {
    return c.unicode();
}
inline char16_t einheit(std::string_view z, qsizetype i) {
    return static_cast<unsigned char>(z[static_cast<std::size_t>(i)]);
}
inline char16_t einheit(QStringView z, qsizetype i) {
    return z[i].unicode();
}
inline qsizetype laenge(std::string_view z) {
    return static_cast<qsizetype>(z.size());
}
inline qsizetype laenge(QStringView z) {
    return z.size();
}

// The first `trenner` in zeile[ab..), or -1. Fields are short: eight bytes at a time in place,
// rather than a library call per field.
inline qsizetype finde(std::string_view zeile, char trenner, qsizetype ab) {
    using textzeilen::kEins;
    const char* p = zeile.data();
    const auto n = static_cast<qsizetype>(zeile.size());
    const std::uint64_t muster = kEins * static_cast<unsigned char>(trenner);
    qsizetype i = ab;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wort;
        std::memcpy(&wort, p + i, sizeof wort);
        if (const std::uint64_t t = textzeilen::nullbytes(wort ^ muster))
            return i + std::countr_zero(t) / 8;
    }
    for (; i < n; ++i)
        if (p[i] == trenner)
            return i;
    return -1;
}
inline qsizetype finde(QStringView zeile, QChar trenner, qsizetype ab) {
    return zeile.indexOf(trenner, ab);
}
inline qsizetype findeAnfuehrung(std::string_view zeile, qsizetype ab) {
    return finde(zeile, '"', ab);
}
inline qsizetype findeAnfuehrung(QStringView zeile, qsizetype ab) {
    return zeile.indexOf(QChar(u'"'), ab);
}

inline std::string_view teil(std::string_view z, qsizetype ab, qsizetype n) {
    return z.substr(static_cast<std::size_t>(ab), static_cast<std::size_t>(n));
}
inline QStringView teil(QStringView z, qsizetype ab, qsizetype n) {
    return z.sliced(ab, n);
}

// Room for a field or a line that a view can't show as it stands.
template <class Ansicht> struct PufferArt;
template <> struct PufferArt<std::string_view> { using Typ = std::string; };
template <> struct PufferArt<QStringView> { using Typ = std::u16string; };
template <class Ansicht> using Puffer = typename PufferArt<Ansicht>::Typ;

inline void haengeAn(std::string& p, std::string_view z) {
    p.append(z);
}
inline void haengeAn(std::u16string& p, QStringView z) {
    p.append(z.utf16(), static_cast<std::size_t>(z.size()));
}
inline std::string_view ansicht(const std::string& p) {
    return p;
}
inline QStringView ansicht(const std::u16string& p) {
    return QStringView(p);
}

QString alsText(std::string_view bytes);
inline QString alsText(QStringView text) {
    return text.toString();
}

// One field read from position `ab`.
struct Feldende {
    qsizetype ende = 0;   // the position of the separator after it, or the line's length
    bool zitiert = false; // it began with a quotation mark
    bool offen = false;   // and the line ended before the closing one
};

// Reads the field at `ab` into `feld`: a view into the line, or into `puffer` where quoting had
// to be undone. Without `anfuehrung` every field is taken as it stands.
template <class Ansicht, class Zeichen>
Feldende liesFeld(Ansicht zeile, Zeichen trenner, qsizetype ab, bool anfuehrung, Ansicht& feld,
                  Puffer<Ansicht>& puffer) {
    const qsizetype n = laenge(zeile);
    if (!anfuehrung || ab >= n || einheit(zeile, ab) != u'"') {
        const qsizetype pos = finde(zeile, trenner, ab);
        const qsizetype ende = pos < 0 ? n : pos;
        feld = teil(zeile, ab, ende - ab);
        return {ende, false, false};
    }
    puffer.clear();
    bool kopiert = false;
    qsizetype stueck = ab + 1;
    for (;;) {
        const qsizetype j = findeAnfuehrung(zeile, stueck);
        if (j < 0) {
            // No closing mark: the field runs to the end of the line.
            if (kopiert) {
                haengeAn(puffer, teil(zeile, stueck, n - stueck));
                feld = ansicht(puffer);
            } else {
                feld = teil(zeile, ab + 1, n - ab - 1);
            }
            return {n, true, true};
        }
        if (j + 1 < n && einheit(zeile, j + 1) == u'"') {
            haengeAn(puffer, teil(zeile, stueck, j + 1 - stueck));
            kopiert = true;
            stueck = j + 2;
            continue;
        }
        const qsizetype pos = finde(zeile, trenner, j + 1);
        const qsizetype ende = pos < 0 ? n : pos;
        if (!kopiert && ende == j + 1) {
            feld = teil(zeile, ab + 1, j - ab - 1);
        } else {
            haengeAn(puffer, teil(zeile, stueck, j - stueck));
            haengeAn(puffer, teil(zeile, j + 1, ende - j - 1));
            feld = ansicht(puffer);
        }
        return {ende, true, false};
    }
}

// Whether the text from `ab` on ends inside quotation marks, when it begins inside them
// (`offen`) or at the start of a field. Looks at quotation marks only, never copies.
template <class Ansicht, class Zeichen>
bool bleibtOffen(Ansicht zeile, Zeichen trenner, qsizetype ab, bool offen) {
    const qsizetype n = laenge(zeile);
    qsizetype i = ab;
    qsizetype naechste = findeAnfuehrung(zeile, i); // the next mark at or after i, or -1
    for (;;) {
        if (naechste >= 0 && naechste < i)
            naechste = findeAnfuehrung(zeile, i);
        if (offen) {
            if (naechste < 0)
                return true;
            const qsizetype j = naechste;
            if (j + 1 < n && einheit(zeile, j + 1) == u'"') {
                i = j + 2;
                continue;
            }
            offen = false;
            i = j + 1;
        } else {
            // At the start of a field: no mark left, no field can open.
            if (naechste < 0)
                return false;
            if (i < n && einheit(zeile, i) == u'"') {
                offen = true;
                ++i;
                continue;
            }
        }
        // The rest of the field, marks included, up to the separator.
        const qsizetype pos = finde(zeile, trenner, i);
        if (pos < 0)
            return false;
        i = pos + 1;
    }
}

// The fields of one line, all of them, for tests and callers that want them whole.
// A quotation mark that the line doesn't close is a plain character: the line as it stands.
template <class Ansicht, class Zeichen, class F> void jedesFeld(Ansicht zeile, Zeichen trenner, F&& f) {
    Puffer<Ansicht> puffer;
    qsizetype ab = 0;
    const bool anfuehrung = einheit(trenner) != u'"' && einheit(trenner) != kZellentrenner &&
                            !bleibtOffen(zeile, trenner, 0, false);
    for (;;) {
        Ansicht feld;
        const Feldende e = liesFeld(zeile, trenner, ab, anfuehrung, feld, puffer);
        f(feld);
        if (e.ende >= laenge(zeile))
            return;
        ab = e.ende + 1;
    }
}

} // namespace csv
