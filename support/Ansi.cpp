// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ansi.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {
// 0x80..0x9F; the five unassigned codes map to the C1 controls, as Windows does.
constexpr std::array<char16_t, 32> kObererBereich = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char ausZeichen(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kObererBereich.size(); ++i)
        if (kObererBereich[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

// An odd last byte is no code unit and is dropped. No bytes is the empty text: an empty
// QString has no buffer to convert into.
QString ausUtf16(QByteArrayView bytes, bool grossEndian) {
    const qsizetype n = bytes.size() / 2;
    if (n == 0)
        return QString();
    QString text(n, Qt::Uninitialized);
    if (grossEndian)
        qFromBigEndian<char16_t>(bytes.data(), n, text.data());
    else
        qFromLittleEndian<char16_t>(bytes.data(), n, text.data());
    return text;
}

bool folgebyte(unsigned char b) {
    return (b & 0xC0) == 0x80;
}
} // namespace

namespace ansi {

QString zuText(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* ziel = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        ziel[i] = (b >= 0x80 && b < 0xA0) ? QChar(kObererBereich[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

QByteArray ausText(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        bytes.append(ausZeichen(c));
    }
    return bytes;
}

Marke markeVon(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {Kodierung::Utf8, 3};
    if (bytes.startsWith("\xFF\xFE"))
        return {Kodierung::Utf16LE, 2};
    if (bytes.startsWith("\xFE\xFF"))
        return {Kodierung::Utf16BE, 2};
    return {};
}

namespace {

// Checks p[0..n) as UTF-8. Returns n when every sequence is whole and valid, the start of a
// last sequence that the bytes end inside of (its bytes so far valid), or -1 at an invalid one.
// A byte above 127 sets nichtAscii.
qsizetype pruefeUtf8(const unsigned char* p, qsizetype n, bool& nichtAscii) {
    qsizetype i = 0;
    while (i < n) {
        // Lists are mostly ASCII: eight bytes at a time while no high bit is set.
        if (i + 8 <= n) {
            std::uint64_t wort;
            std::memcpy(&wort, p + i, sizeof wort);
            if ((wort & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        nichtAscii = true;
        // The second byte's range excludes overlong forms, surrogates and codes above U+10FFFF.
        qsizetype laenge;
        unsigned char von = 0x80, bis = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            laenge = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            laenge = 3;
            if (b == 0xE0)
                von = 0xA0;
            else if (b == 0xED)
                bis = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            laenge = 4;
            if (b == 0xF0)
                von = 0x90;
            else if (b == 0xF4)
                bis = 0x8F;
        } else {
            return -1;
        }
        const qsizetype da = std::min(laenge, n - i);
        if (da > 1 && (p[i + 1] < von || p[i + 1] > bis))
            return -1;
        for (qsizetype k = 2; k < da; ++k)
            if (!folgebyte(p[i + k]))
                return -1;
        if (da < laenge)
            return i;
        i += laenge;
    }
    return n;
}

} // namespace

bool istUtf8MitNichtAscii(QByteArrayView bytes) {
    bool nichtAscii = false;
    return pruefeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), nichtAscii) ==
               bytes.size() &&
           nichtAscii;
}

void Utf8Pruefung::weiter(QByteArrayView stueck) {
    const auto* p = reinterpret_cast<const unsigned char*>(stueck.data());
    qsizetype n = stueck.size();
    // An unfinished sequence from the last piece is completed byte by byte.
    while (m_offen > 0 && n > 0 && !m_ungueltig) {
        m_rest[m_offen++] = *p++;
        --n;
        const qsizetype r = pruefeUtf8(m_rest, m_offen, m_nichtAscii);
        if (r < 0)
            m_ungueltig = true;
        else if (r == m_offen)
            m_offen = 0;
    }
    if (m_ungueltig || n == 0)
        return;
    const qsizetype r = pruefeUtf8(p, n, m_nichtAscii);
    if (r < 0) {
        m_ungueltig = true;
        return;
    }
    m_offen = n - r;
    std::memcpy(m_rest, p + r, static_cast<std::size_t>(m_offen));
}

Kodierung kodierungVon(QByteArrayView bytes) {
    const Marke m = markeVon(bytes);
    if (m.laenge > 0)
        return m.kodierung;
    return istUtf8MitNichtAscii(bytes) ? Kodierung::Utf8 : Kodierung::Ansi;
}

QString textAusDatei(QByteArrayView bytes, Kodierung* gelesen) {
    const Kodierung k = kodierungVon(bytes);
    if (gelesen)
        *gelesen = k;
    const QByteArrayView rest = bytes.sliced(markeVon(bytes).laenge);
    switch (k) {
    case Kodierung::Utf8:
        return QString::fromUtf8(rest);
    case Kodierung::Utf16LE:
        return ausUtf16(rest, false);
    case Kodierung::Utf16BE:
        return ausUtf16(rest, true);
    case Kodierung::Ansi:
        break;
    }
    return zuText(rest);
}

} // namespace ansi
