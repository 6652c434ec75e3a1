// SPDX-License-Identifier: GPL-3.0-or-later
#include "OdsLesen.h"

#include "Blatt.h"
#include "XmlHilfen.h"
#include "Zahltext.h"

#include <algorithm>

namespace tabelle::ods {
namespace {

const QString kTabelle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

// The text of a <text:p>: its characters, spans and links, with <text:s> blanks, tabs and line
// breaks, at most kZellTextHoechstens.
void absatz(XmlEintrag& e, QString& s) {
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        const auto& x = e.xml();
        if (t == QXmlStreamReader::Characters)
            haengeAn(s, x.text());
        if (t != QXmlStreamReader::StartElement || x.namespaceUri() != kText)
            return false;
        if (x.name() == u"s") {
            const auto c = zahltext::leseGanz(x.attributes().value(kText, QStringLiteral("c")));
            const qsizetype n = std::clamp<qint64>(c.value_or(1), 1, kZellTextHoechstens);
            haengeAn(s, QString(n, u' '));
        } else if (x.name() == u"tab") {
            haengeAn(s, u"\t");
        } else if (x.name() == u"line-break") {
            haengeAn(s, u"\n");
        }
        return false;
    });
}

// A repeat count: at least 1, at most `grenze`.
qsizetype wiederholung(const QXmlStreamAttributes& a, const QString& name, qsizetype grenze) {
    const auto n = zahltext::leseGanz(a.value(kTabelle, name));
    return std::clamp<qint64>(n.value_or(1), 1, grenze);
}

// The shown value of a <table:table-cell>: numbers from office:value, truth values from
// office:boolean-value, everything else from its paragraphs (comments are not the cell's text).
QString zelle(XmlEintrag& e) {
    const auto a = e.xml().attributes();
    const QStringView typ = a.value(kOffice, QStringLiteral("value-type"));
    QString text;
    bool erster = true;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int tiefe) {
        if (t != QXmlStreamReader::StartElement || tiefe != 1 || e.xml().namespaceUri() != kText ||
            e.xml().name() != u"p")
            return false;
        if (!erster)
            haengeAn(text, u"\n");
        erster = false;
        absatz(e, text);
        return true;
    });
    if (typ == u"float" || typ == u"percentage" || typ == u"currency") {
        if (auto zahl = zahlAusDatei(a.value(kOffice, QStringLiteral("value"))))
            return *zahl;
    } else if (typ == u"boolean") {
        return wahrheit(a.value(kOffice, QStringLiteral("boolean-value")) == u"true");
    }
    return text;
}

// The cells of a <table:table-row>, as far as the kept columns go and they hold content.
QStringList zeile(XmlEintrag& e, qsizetype spalten) {
    QStringList z;
    qsizetype spalte = 0;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        const auto& x = e.xml();
        if (t != QXmlStreamReader::StartElement || x.namespaceUri() != kTabelle ||
            (x.name() != u"table-cell" && x.name() != u"covered-table-cell"))
            return false;
        const qsizetype n =
            wiederholung(x.attributes(), QStringLiteral("number-columns-repeated"), kSpaltenHoechstens);
        const QString text = zelle(e);
        // Only the kept columns are made; a repeat count beyond them costs nothing.
        if (!text.isEmpty() && spalte < spalten) {
            const qsizetype bis = std::min(spalte + n, spalten);
            z.resize(spalte);
            for (qsizetype s = spalte; s < bis; ++s)
                z.append(text);
        }
        spalte = std::min(spalte + n, kSpaltenHoechstens);
        return true;
    });
    return z;
}

} // namespace

Zeilen erstesBlatt(const Archiv& archiv, qsizetype spalten) {
    if (!archiv.hat(QStringLiteral("content.xml")))
        kaputt(archiv.pfad(),
               QStringLiteral("Die Datei ist keine OpenDocument-Tabelle (der Teil „content.xml“ fehlt)"));
    Blatt blatt(archiv.pfad(), spalten);
    XmlEintrag e(archiv, QStringLiteral("content.xml"));
    // Empty rows are only counted; they are made when a row with content follows them.
    qsizetype leereZeilen = 0;
    bool tabelle = false;
    for (auto t = e.naechstes(); t != QXmlStreamReader::EndDocument; t = e.naechstes()) {
        if (t == QXmlStreamReader::EndElement && tabelle && e.xml().namespaceUri() == kTabelle &&
            e.xml().name() == u"table")
            break;
        if (t != QXmlStreamReader::StartElement || e.xml().namespaceUri() != kTabelle)
            continue;
        if (e.xml().name() == u"table") {
            tabelle = true;
            continue;
        }
        if (!tabelle || e.xml().name() != u"table-row")
            continue;
        // One beyond the limit, so that a row of content repeated past it is refused.
        const qsizetype wiederholt =
            wiederholung(e.xml().attributes(), QStringLiteral("number-rows-repeated"), kZeilenHoechstens + 1);
        const QStringList z = zeile(e, blatt.spalten());
        if (z.isEmpty()) {
            leereZeilen = std::min(leereZeilen + wiederholt, kZeilenHoechstens);
        } else {
            blatt.haengeAn(z, leereZeilen, wiederholt);
            leereZeilen = 0;
        }
    }
    if (!tabelle)
        kaputt(archiv.pfad(), QStringLiteral("Die Datei enthält keine Tabelle"));
    return blatt.nimm();
}

} // namespace tabelle::ods
