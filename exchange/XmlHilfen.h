// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// XML parts of a spreadsheet file read as a stream: an entry of the archive fed piece by piece
// into the pull parser, so a large sheet is never held whole, and the walk through one element
// to its end that the readers share. The bytes are looked at before the parser gets them, so
// that tags built to make it slow are refused first.

#include "Zip.h"

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

namespace tabelle {

// Bytes of one tag, from "<" to ">".
inline constexpr qsizetype kTagHoechstens = 64 * 1024;
// Open elements at one time.
inline constexpr int kTiefeHoechstens = 256;
// Elements inside one cell's text: each adds at least one character or none, so a cell with
// more has text beyond any cell.
inline constexpr qsizetype kZellTeileHoechstens = 32'767;

// Appends `teil` to a cell's text as far as kZellTextHoechstens allows.
void haengeAn(QString& s, QStringView teil);
// Appends `anzahl` blanks as far as they fit; none are made beyond.
void haengeLeerAn(QString& s, qint64 anzahl);

// The escapes of Office Open XML for characters XML can't carry: "_x0001_" is U+0001, and
// "_x005F_" a "_" that keeps a following "xHHHH_" as it stands. Every escape is undone once;
// U+FFFE, U+FFFF and lone surrogates stay as written.
QString entschluessele(QString s);
// The reverse for writing: control characters other than TAB and LF, U+FFFE and U+FFFF as
// escapes, and a "_" that starts a literal "_xHHHH_" as "_x005F_".
QString verschluessele(const QString& s);

// Refuses tags longer than kTagHoechstens and tags with so many attributes that the parser's
// check for doubled attributes, which compares each with all before it, would take long.
class Tagwaechter {
public:
    enum class Befund { Gut, ZuLang, ZuVieleAttribute };
    // Whether `daten`, the bytes that follow those seen before, may go to the parser.
    Befund pruefe(const char* daten, qsizetype laenge);

private:
    enum class Zustand { Text, Tag, Kommentar, CDaten, Anweisung };
    Zustand m_zustand = Zustand::Text;
    qsizetype m_laenge = 0;    // bytes of the current tag so far
    qsizetype m_attribute = 0; // attributes of the current tag
    char m_anfang[9] = {};     // its first bytes, to tell comments and CDATA
    char m_zeichen = 0;        // the quote of the value being read, 0 outside one
    char m_vorige[2] = {};     // the two bytes before, for the ends "-->", "]]>" and "?>"
    qint64 m_aufwand = 0;      // the parser's comparisons beyond those of ordinary tags
};

class XmlEintrag {
public:
    // A missing entry raises Fehler.
    XmlEintrag(const Archiv& archiv, const QString& name);

    // The next token; a broken entry, or one nested deeper than kTiefeHoechstens, raises
    // Fehler. EndDocument at the end.
    QXmlStreamReader::TokenType naechstes();
    QXmlStreamReader& xml() { return m_xml; }
    [[noreturn]] void falsch(const QString& grund) const;

    // True when the token read last starts an element `name`.
    bool istStart(QStringView name) const;

    // Reads on to the end of the element whose start was read last. `beiToken(typ, tiefe)` sees
    // every start and end of an element inside it, with its depth (1 for a child), and the
    // character data at any depth; for a start it returns true when it has read that element to
    // its end itself, so the walk goes on after it.
    template <typename F> void bisZumEnde(F&& beiToken);
    // Reads past the element whose start was read last.
    void ueberspringe();

    // The character data up to the end of the current element, at most kZellTextHoechstens.
    // For elements that hold only text (<v>, <t>).
    QString text();

    // Counts one more element of a cell's text in `teile`; beyond kZellTeileHoechstens raises
    // Fehler.
    void zaehleTeil(qsizetype& teile) const;

    // Reports the unpacked bytes read so far to fortschritt (which may cancel).
    void meldeFortschritt() const;

private:
    void fuettere();

    const Archiv& m_archiv;
    QString m_name;
    ZipEintrag m_eintrag;
    QXmlStreamReader m_xml;
    Tagwaechter m_waechter;
    int m_tiefe = 0;
    bool m_ende = false;
};

template <typename F> void XmlEintrag::bisZumEnde(F&& beiToken) {
    for (int tiefe = 1; tiefe > 0;) {
        const auto t = naechstes();
        if (t == QXmlStreamReader::StartElement) {
            if (!beiToken(t, tiefe))
                ++tiefe;
        } else if (t == QXmlStreamReader::EndElement) {
            --tiefe;
            if (tiefe > 0)
                beiToken(t, tiefe);
        } else if (t == QXmlStreamReader::Characters) {
            beiToken(t, tiefe);
        } else if (t == QXmlStreamReader::EndDocument) {
            falsch(QStringLiteral("Der Teil „%1“ endet mitten in einem Element").arg(m_name));
        }
    }
}

} // namespace tabelle
