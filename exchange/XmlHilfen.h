// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// XML parts of a spreadsheet file read as a stream: an entry of the archive fed piece by piece
// into the pull parser, so a large sheet is never held whole, and the walk through one element
// to its end that the readers share.

#include "Zip.h"

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

namespace tabelle {

// Appends `teil` to a cell's text as far as kZellTextHoechstens allows.
void haengeAn(QString& s, QStringView teil);

class XmlEintrag {
public:
    // A missing entry raises Fehler.
    XmlEintrag(const Archiv& archiv, const QString& name);

    // The next token; a broken entry raises Fehler. EndDocument at the end.
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

    // The character data up to the end of the current element, at most kZellTextHoechstens.
    // For elements that hold only text (<v>, <t>).
    QString text();

private:
    void fuettere();

    const Archiv& m_archiv;
    QString m_name;
    ZipEintrag m_eintrag;
    QXmlStreamReader m_xml;
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
