// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlHilfen.h"

#include "Fortschritt.h"
#include "Tabelle.h"
#include "Zahltext.h"

#include <algorithm>
#include <cstring>

namespace tabelle {

void haengeAn(QString& s, QStringView teil) {
    s.append(teil.first(std::min(teil.size(), std::max<qsizetype>(kZellTextHoechstens - s.size(), 0))));
}

void haengeLeerAn(QString& s, qint64 anzahl) {
    const qsizetype platz = kZellTextHoechstens - s.size();
    if (platz > 0 && anzahl > 0)
        s.append(QString(static_cast<qsizetype>(std::min<qint64>(anzahl, platz)), u' '));
}

namespace {

// The value of four hex digits at `i`, or -1.
int hex4(QStringView s, qsizetype i) {
    int wert = 0;
    for (qsizetype k = i; k < i + 4; ++k) {
        const char16_t c = s[k].unicode();
        int ziffer = -1;
        if (c >= u'0' && c <= u'9')
            ziffer = c - u'0';
        else if (c >= u'a' && c <= u'f')
            ziffer = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            ziffer = c - u'A' + 10;
        if (ziffer < 0)
            return -1;
        wert = wert * 16 + ziffer;
    }
    return wert;
}

// The code of an escape "_xHHHH_" at `i`, or -1.
int escape(QStringView s, qsizetype i) {
    if (i + 6 >= s.size() || s[i] != u'_' || s[i + 1] != u'x' || s[i + 6] != u'_')
        return -1;
    return hex4(s, i + 2);
}

bool bleibtGeschrieben(int code) {
    return code == 0xFFFE || code == 0xFFFF || (code >= 0xD800 && code < 0xE000);
}

} // namespace

QString entschluessele(QString s) {
    if (!s.contains(QStringLiteral("_x")))
        return s;
    QString r;
    for (qsizetype i = 0; i < s.size();) {
        const int code = escape(s, i);
        if (code >= 0 && !bleibtGeschrieben(code)) {
            r.append(QChar(static_cast<char16_t>(code)));
            i += 7;
            continue;
        }
        r.append(s[i++]);
    }
    return r;
}

QString verschluessele(const QString& s) {
    QString r;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF) {
            r += QStringLiteral("_x");
            for (int stelle = 12; stelle >= 0; stelle -= 4)
                r += QLatin1Char("0123456789ABCDEF"[(c >> stelle) & 0xF]);
            r += u'_';
        } else if (escape(s, i) >= 0)
            r += QStringLiteral("_x005F_");
        else
            r += s[i];
    }
    return r;
}

Tagwaechter::Befund Tagwaechter::pruefe(const char* daten, qsizetype laenge) {
    // The parser compares each attribute of a tag with those before it; ordinary tags have a
    // few dozen, and beyond that the comparisons of all tags together are bounded.
    constexpr qsizetype kAttributeFrei = 32;
    constexpr qint64 kAufwandHoechstens = qint64(1) << 24;
    for (qsizetype i = 0; i < laenge; ++i) {
        const char c = daten[i];
        switch (m_zustand) {
        case Zustand::Text:
            if (c == '<') {
                m_zustand = Zustand::Tag;
                m_laenge = 0;
                m_attribute = 0;
                m_zeichen = 0;
            }
            break;
        case Zustand::Kommentar:
            if (c == '>' && m_vorige[0] == '-' && m_vorige[1] == '-')
                m_zustand = Zustand::Text;
            break;
        case Zustand::CDaten:
            if (c == '>' && m_vorige[0] == ']' && m_vorige[1] == ']')
                m_zustand = Zustand::Text;
            break;
        case Zustand::Anweisung:
            if (c == '>' && m_vorige[1] == '?')
                m_zustand = Zustand::Text;
            break;
        case Zustand::Tag:
            if (m_laenge < qsizetype(sizeof m_anfang))
                m_anfang[m_laenge] = c;
            ++m_laenge;
            if (m_laenge > kTagHoechstens)
                return Befund::ZuLang;
            if (m_laenge == 1 && c == '?') {
                m_zustand = Zustand::Anweisung;
            } else if (m_laenge == 3 && std::memcmp(m_anfang, "!--", 3) == 0) {
                m_zustand = Zustand::Kommentar;
                m_vorige[0] = m_vorige[1] = 0;
                continue;
            } else if (m_laenge == 8 && std::memcmp(m_anfang, "![CDATA[", 8) == 0) {
                m_zustand = Zustand::CDaten;
                m_vorige[0] = m_vorige[1] = 0;
                continue;
            } else if (m_zeichen != 0) {
                if (c == m_zeichen)
                    m_zeichen = 0;
            } else if (c == '"' || c == '\'') {
                m_zeichen = c;
            } else if (c == '=') {
                ++m_attribute;
                if (m_attribute > kAttributeFrei) {
                    // The comparisons this attribute adds.
                    m_aufwand += m_attribute - kAttributeFrei;
                    if (m_aufwand > kAufwandHoechstens)
                        return Befund::ZuVieleAttribute;
                }
            } else if (c == '>') {
                m_zustand = Zustand::Text;
            }
            break;
        }
        m_vorige[0] = m_vorige[1];
        m_vorige[1] = c;
    }
    return Befund::Gut;
}

XmlEintrag::XmlEintrag(const Archiv& archiv, const QString& name)
    : m_archiv(archiv), m_name(name), m_eintrag(archiv, name) {}

QXmlStreamReader::TokenType XmlEintrag::naechstes() {
    for (;;) {
        const auto t = m_xml.readNext();
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !m_ende) {
            fuettere();
            continue;
        }
        // After the last piece the parser may name the cut-off end an ill-formed document.
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError || m_ende)
            falsch(QStringLiteral("Der Teil „%1“ ist unvollständig").arg(m_name));
        if (m_xml.hasError())
            falsch(QStringLiteral("Der Teil „%1“ ist kein gültiges XML (Zeile %2)")
                       .arg(m_name, zahltext::ganz(m_xml.lineNumber())));
        if (t == QXmlStreamReader::StartElement && ++m_tiefe > kTiefeHoechstens)
            falsch(QStringLiteral("Im Teil „%1“ sind Elemente tiefer als %2 Ebenen verschachtelt")
                       .arg(m_name, zahltext::ganz(kTiefeHoechstens)));
        if (t == QXmlStreamReader::EndElement)
            --m_tiefe;
        return t;
    }
}

void XmlEintrag::falsch(const QString& grund) const {
    kaputt(m_archiv.pfad(), grund);
}

bool XmlEintrag::istStart(QStringView name) const {
    return m_xml.tokenType() == QXmlStreamReader::StartElement && m_xml.name() == name;
}

void XmlEintrag::ueberspringe() {
    bisZumEnde([](QXmlStreamReader::TokenType, int) { return false; });
}

QString XmlEintrag::text() {
    QString s;
    bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        if (t == QXmlStreamReader::Characters)
            haengeAn(s, m_xml.text());
        return false;
    });
    return s;
}

void XmlEintrag::zaehleTeil(qsizetype& teile) const {
    if (++teile > kZellTeileHoechstens)
        falsch(QStringLiteral("Eine Zelle im Teil „%1“ besteht aus mehr als %2 Elementen")
                   .arg(m_name, zahltext::ganz(kZellTeileHoechstens)));
}

void XmlEintrag::meldeFortschritt() const {
    fortschritt::melde(m_eintrag.gelesen(), m_eintrag.groesse());
}

void XmlEintrag::fuettere() {
    char puffer[64 * 1024];
    const qint64 n = m_eintrag.lies(puffer, sizeof puffer);
    if (n == 0) {
        m_ende = true;
        return;
    }
    switch (m_waechter.pruefe(puffer, n)) {
    case Tagwaechter::Befund::Gut:
        break;
    case Tagwaechter::Befund::ZuLang:
        falsch(QStringLiteral("Im Teil „%1“ ist ein Element länger als %2 KB")
                   .arg(m_name, zahltext::ganz(kTagHoechstens / 1024)));
    case Tagwaechter::Befund::ZuVieleAttribute:
        falsch(QStringLiteral("Im Teil „%1“ haben Elemente zu viele Attribute").arg(m_name));
    }
    fortschritt::pruefe();
    m_xml.addData(QByteArray(puffer, n));
}

} // namespace tabelle
