// SPDX-License-Identifier: GPL-3.0-or-later
#include "XmlHilfen.h"

#include "Tabelle.h"
#include "Zahltext.h"

#include <algorithm>

namespace tabelle {

void haengeAn(QString& s, QStringView teil) {
    s.append(teil.first(std::min(teil.size(), std::max<qsizetype>(kZellTextHoechstens - s.size(), 0))));
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
        return t;
    }
}

void XmlEintrag::falsch(const QString& grund) const {
    kaputt(m_archiv.pfad(), grund);
}

bool XmlEintrag::istStart(QStringView name) const {
    return m_xml.tokenType() == QXmlStreamReader::StartElement && m_xml.name() == name;
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

void XmlEintrag::fuettere() {
    char puffer[64 * 1024];
    const qint64 n = m_eintrag.lies(puffer, sizeof puffer);
    if (n == 0) {
        m_ende = true;
        return;
    }
    m_xml.addData(QByteArray(puffer, n));
}

} // namespace tabelle
