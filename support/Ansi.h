// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Student names are single-byte text in Windows-1252, the code page of the record files
// made on German systems. These convert between that and QString, and decide how the bytes
// of a text file read by the program (import, settings file) are to be taken.

#include <QByteArray>
#include <QString>

namespace ansi {
// The five codes Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D); they stand for
// the C1 controls of the same code.
constexpr bool unbelegt(unsigned char b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

QString zuText(QByteArrayView bytes);
// Characters Windows-1252 cannot hold become "?" (one per character, surrogate pairs included).
QByteArray ausText(QStringView text);

enum class Kodierung { Ansi, Utf8, Utf16LE, Utf16BE };

// The byte-order mark at the start of a file's bytes: Utf8 (3 bytes), Utf16LE or Utf16BE
// (2 bytes); Ansi and length 0 without one.
struct Marke {
    Kodierung kodierung = Kodierung::Ansi;
    qsizetype laenge = 0;
};
Marke markeVon(QByteArrayView bytes);

// True when the bytes are valid UTF-8 (shortest forms, no surrogates, at most U+10FFFF) and hold
// at least one byte above 127. A Windows-1252 text with umlauts is never valid UTF-8, and one
// of plain ASCII reads alike either way, so such bytes are UTF-8 without a mark.
bool istUtf8MitNichtAscii(QByteArrayView bytes);

// The same test over bytes that come in pieces, as a file read in blocks: after the last piece,
// ergebnis() is what istUtf8MitNichtAscii says of all the pieces together.
class Utf8Pruefung {
public:
    void weiter(QByteArrayView stueck);
    // No further bytes can make the text UTF-8.
    bool ungueltig() const { return m_ungueltig; }
    bool ergebnis() const { return !m_ungueltig && m_offen == 0 && m_nichtAscii; }

private:
    unsigned char m_rest[4] = {};
    qsizetype m_offen = 0; // bytes of an unfinished sequence at the end of the last piece
    bool m_nichtAscii = false;
    bool m_ungueltig = false;
};

// How a text file's bytes are read: the mark decides, else istUtf8MitNichtAscii, else Windows-1252.
Kodierung kodierungVon(QByteArrayView bytes);

// A text file's bytes as text, by kodierungVon, without the mark. `gelesen` (if given) is set
// to the encoding used. A lone last byte of a UTF-16 text is dropped.
QString textAusDatei(QByteArrayView bytes, Kodierung* gelesen = nullptr);
} // namespace ansi
