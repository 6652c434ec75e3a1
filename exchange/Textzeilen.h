// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lines of an imported text: decoding (byte-order mark, UTF-8 or Windows-1252), the line
// rule (CR LF, lone CR, lone LF; a break at the very end opens no line; a NUL ends the text)
// and a file read in blocks. Internal to the import; Import.h has the public side.

#include "Fortschritt.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace textzeilen {

// Windows-1252 byte -> UTF-16, taken once from the program's own conversion.
const std::array<char16_t, 256>& ansiTabelle();

// Bytes are searched eight at a time: a byte equal to the one sought becomes zero after an xor,
// and nullbytes marks the lowest zero byte of a word exactly (borrows only reach bytes above it).
inline constexpr std::uint64_t kEins = 0x0101010101010101ULL;
constexpr std::uint64_t nullbytes(std::uint64_t w) {
    return (w - kEins) & ~w & (kEins * 0x80);
}

// The first CR or LF in p[i..n), or n.
inline qsizetype naechsterUmbruch(const char16_t* p, qsizetype i, qsizetype n) {
    while (i < n && p[i] != u'\r' && p[i] != u'\n')
        ++i;
    return i;
}
inline qsizetype naechsterUmbruch(const char* p, qsizetype i, qsizetype n) {
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wort;
        std::memcpy(&wort, p + i, sizeof wort);
        if (const std::uint64_t t = nullbytes(wort ^ (kEins * '\r')) | nullbytes(wort ^ (kEins * '\n')))
            return i + std::countr_zero(t) / 8;
    }
    while (i < n && p[i] != '\r' && p[i] != '\n')
        ++i;
    return i;
}

// Where a text lies in the whole, for progress: p[0] is unit `basis` of `gesamt`.
struct Lage {
    qint64 basis = 0;
    qint64 gesamt = 0;
};
inline constexpr qsizetype kMeldenAlle = 4096; // lines between two progress reports

// Calls f(anfang, ende) for every line of p[0..n): CR LF, lone CR and lone LF end a line,
// and a break at the very end opens no further line. Reports progress every few thousand lines.
template <class Einheit, class F> void zeilenGrenzen(const Einheit* p, qsizetype n, F&& f, Lage lage = {}) {
    qsizetype anfang = 0;
    qsizetype i = 0;
    qsizetype zeilen = 0;
    while (i < n) {
        i = naechsterUmbruch(p, i, n);
        if (i == n)
            break;
        const Einheit c = p[i];
        f(anfang, i);
        if (++zeilen % kMeldenAlle == 0)
            fortschritt::melde(lage.basis + anfang, lage.gesamt);
        if (c == Einheit('\r') && i + 1 < n && p[i + 1] == Einheit('\n'))
            ++i;
        anfang = ++i;
    }
    if (anfang < n)
        f(anfang, n);
}

// One line of a byte text as UTF-16 in a reused buffer: Windows-1252, or UTF-8.
QStringView dekodiere(QByteArrayView zeile, bool utf8, std::u16string& puffer);

// A text's lines without a string per line. Windows-1252 and UTF-8 stay bytes and are decoded
// one line at a time into a reused buffer; UTF-16 is converted once and viewed in place.
class Zeilentext {
public:
    static Zeilentext ausBytes(QByteArray bytes);
    static Zeilentext ausText(QString text);

    // f(position, QStringView) for every line; the view is valid during the call.
    template <class F> void fuerJedeZeile(F&& f) const {
        qsizetype nr = 0;
        if (m_istText) {
            const QStringView text(m_text);
            zeilenGrenzen(
                text.utf16(), text.size(), [&](qsizetype a, qsizetype b) { f(nr++, text.sliced(a, b - a)); },
                Lage{0, text.size()});
            return;
        }
        std::u16string puffer;
        const char* p = m_bytes.constData() + m_anfang;
        zeilenGrenzen(
            p, m_ende - m_anfang,
            [&](qsizetype a, qsizetype b) {
                f(nr++, dekodiere(QByteArrayView(p + a, b - a), m_utf8, puffer));
            },
            Lage{m_anfang, m_ende});
    }

    bool istText() const { return m_istText; }
    bool utf8() const { return m_utf8; }
    const QString& text() const { return m_text; }

    // The bytes of a byte text, up to the NUL that ends it.
    std::string_view bytes() const {
        return {m_bytes.constData() + m_anfang, static_cast<std::size_t>(m_ende - m_anfang)};
    }
    qsizetype anfang() const { return m_anfang; }

private:
    bool m_istText = false;
    bool m_utf8 = false;
    QString m_text;
    QByteArray m_bytes;
    qsizetype m_anfang = 0;
    qsizetype m_ende = 0;
};

// The size of the blocks a file is read in (0: the normal 256 KiB).
void setzeTestblock(qsizetype bytes);

// A file read in blocks, so that the import never holds more of it than a block and the line
// that crosses into the next.
class Dateibloecke {
public:
    static constexpr qsizetype kBlock = 256 * 1024;

    explicit Dateibloecke(const QString& pfad);

    qsizetype block() const;
    bool fortlaufend() const { return m_datei.isSequential(); }
    qint64 groesse() const { return m_datei.size(); }

    // Fills ziel[0..n) as far as the file goes; fewer bytes only at its end.
    qsizetype lies(char* ziel, qsizetype n);
    void geheZu(qint64 pos);

    // Calls f(QByteArrayView) for every line from position `ab` on (where the file stands);
    // a NUL ends the text. Only the unfinished line at the end of a block is carried into the
    // next, so a line longer than a block grows the buffer, nothing else does.
    template <class F> void fuerJedeZeile(QByteArray& puffer, qint64 ab, F&& f) {
        const qsizetype n = block();
        const qint64 gesamt = groesse();
        qsizetype belegt = 0;
        qint64 versatz = ab; // the file position of puffer[0]
        for (;;) {
            if (puffer.size() < belegt + n)
                puffer.resize(std::max(belegt + n, 2 * puffer.size()));
            char* p = puffer.data();
            const qsizetype neu = lies(p + belegt, n);
            const void* nul = std::memchr(p + belegt, 0, static_cast<std::size_t>(neu));
            const bool ende = nul || neu < n;
            const qsizetype laenge = nul ? static_cast<const char*>(nul) - p : belegt + neu;
            qsizetype schnitt = laenge;
            if (!ende) {
                // Up to the last break that is surely whole: a CR at the very end may be the first
                // half of CR LF. The carried bytes hold no other break, so only the new ones are searched.
                const qsizetype grenze = p[laenge - 1] == '\r' ? laenge - 1 : laenge;
                schnitt = 0;
                for (qsizetype j = grenze; j-- > std::max<qsizetype>(belegt - 1, 0);)
                    if (p[j] == '\r' || p[j] == '\n') {
                        schnitt = j + 1;
                        break;
                    }
            }
            zeilenGrenzen(
                p, schnitt, [&](qsizetype von, qsizetype bis) { f(QByteArrayView(p + von, bis - von)); },
                Lage{versatz, gesamt});
            // Once a block as well: one line may fill many of them.
            fortschritt::melde(versatz + laenge, gesamt);
            if (ende)
                return;
            belegt = laenge - schnitt;
            versatz += schnitt;
            std::memmove(p, p + schnitt, static_cast<std::size_t>(belegt));
        }
    }

private:
    QFile m_datei;
};

// The lines as strings, grown one by one: room taken from a count of lines could be far more
// than memory holds.
QStringList alsListe(const Zeilentext& text);

} // namespace textzeilen
