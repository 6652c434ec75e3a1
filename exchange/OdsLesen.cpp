// SPDX-License-Identifier: GPL-3.0-or-later
#include "OdsLesen.h"

#include "Blatt.h"
#include "XmlHilfen.h"
#include "Zahltext.h"

#include <algorithm>
#include <optional>

namespace tabelle::ods {
namespace {

const QString kTabelle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

// The text of a <text:p>: its characters, spans and links, with <text:s> blanks, tabs and line
// breaks, at most kZellTextHoechstens; `teile` counts the elements of the cell.
void absatz(XmlEintrag& e, QString& s, qsizetype& teile) {
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        const auto& x = e.xml();
        if (t == QXmlStreamReader::Characters)
            haengeAn(s, x.text());
        if (t != QXmlStreamReader::StartElement)
            return false;
        e.zaehleTeil(teile);
        if (x.namespaceUri() != kText)
            return false;
        if (x.name() == u"s") {
            const auto c = zahltext::leseGanz(x.attributes().value(kText, QStringLiteral("c")));
            haengeLeerAn(s, std::max<qint64>(c.value_or(1), 1));
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
    qsizetype teile = 0;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int tiefe) {
        if (t != QXmlStreamReader::StartElement)
            return false;
        e.zaehleTeil(teile);
        if (tiefe != 1 || e.xml().namespaceUri() != kText || e.xml().name() != u"p")
            return false;
        if (!erster)
            haengeAn(text, u"\n");
        erster = false;
        absatz(e, text, teile);
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

// The cells of a <table:table-row>, as far as the kept columns go and they hold content; the
// columns with content beyond them go to the sheet's width.
QStringList zeile(XmlEintrag& e, Blatt& blatt) {
    QStringList z;
    const qsizetype spalten = blatt.spalten();
    qsizetype spalte = 0;
    qsizetype zellen = 0;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        const auto& x = e.xml();
        if (t != QXmlStreamReader::StartElement || x.namespaceUri() != kTabelle ||
            (x.name() != u"table-cell" && x.name() != u"covered-table-cell"))
            return false;
        // Every cell takes a column at least.
        if (++zellen > kSpaltenHoechstens)
            e.falsch(QStringLiteral("Die Tabelle hat mehr als %1 Spalten")
                         .arg(zahltext::ganz(kSpaltenHoechstens)));
        const qsizetype n =
            wiederholung(x.attributes(), QStringLiteral("number-columns-repeated"), kSpaltenHoechstens);
        const QString text = zelle(e);
        if (!text.isEmpty())
            blatt.inhaltIn(std::min(spalte + n, kSpaltenHoechstens) - 1);
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

bool istTabellenStart(XmlEintrag& e) {
    return e.xml().tokenType() == QXmlStreamReader::StartElement && e.xml().namespaceUri() == kTabelle &&
           e.xml().name() == u"table";
}

// The rows of the <table:table> whose start was read last.
void tabelle(XmlEintrag& e, Blatt& blatt) {
    qsizetype zeilen = 0;
    for (auto t = e.naechstes();; t = e.naechstes()) {
        if (t == QXmlStreamReader::EndDocument)
            e.falsch(QStringLiteral("Der Teil „content.xml“ ist unvollständig"));
        if (t == QXmlStreamReader::EndElement && e.xml().namespaceUri() == kTabelle &&
            e.xml().name() == u"table")
            return;
        if (t != QXmlStreamReader::StartElement || e.xml().namespaceUri() != kTabelle ||
            e.xml().name() != u"table-row")
            continue;
        // Every row element takes a row at least.
        if (++zeilen > kZeilenHoechstens)
            e.falsch(
                QStringLiteral("Die Tabelle hat mehr als %1 Zeilen").arg(zahltext::ganz(kZeilenHoechstens)));
        if (zeilen % 4096 == 0)
            e.meldeFortschritt();
        // One beyond the limit, so that a row of content repeated past it is refused.
        const qsizetype wiederholt =
            wiederholung(e.xml().attributes(), QStringLiteral("number-rows-repeated"), kZeilenHoechstens + 1);
        blatt.haengeAn(zeile(e, blatt), wiederholt);
    }
}

// An encrypted document keeps its manifest readable and names the encryption there.
bool istVerschluesselt(const Archiv& archiv) {
    const QString manifest = QStringLiteral("META-INF/manifest.xml");
    if (!archiv.hat(manifest))
        return false;
    XmlEintrag e(archiv, manifest);
    while (e.naechstes() != QXmlStreamReader::EndDocument)
        if (e.istStart(u"encryption-data"))
            return true;
    return false;
}

void pruefeInhalt(const Archiv& archiv) {
    if (!archiv.hat(QStringLiteral("content.xml")))
        kaputt(archiv.pfad(),
               QStringLiteral("Die Datei ist keine OpenDocument-Tabelle (der Teil „content.xml“ fehlt)"));
    if (istVerschluesselt(archiv))
        kaputt(archiv.pfad(), verschluesseltText());
}

} // namespace

QStringList blaetter(const Archiv& archiv) {
    pruefeInhalt(archiv);
    QStringList namen;
    XmlEintrag e(archiv, QStringLiteral("content.xml"));
    while (e.naechstes() != QXmlStreamReader::EndDocument) {
        if (!istTabellenStart(e))
            continue;
        namen.append(e.xml().attributes().value(kTabelle, QStringLiteral("name")).toString());
        e.ueberspringe();
    }
    return namen;
}

Blattinhalt lies(const Archiv& archiv, const Auswahl& auswahl) {
    pruefeInhalt(archiv);
    XmlEintrag e(archiv, QStringLiteral("content.xml"));
    std::optional<Blattinhalt> erstes; // the first table, when no table holds data
    for (int nummer = 0; e.naechstes() != QXmlStreamReader::EndDocument;) {
        if (!istTabellenStart(e))
            continue;
        const QString name = e.xml().attributes().value(kTabelle, QStringLiteral("name")).toString();
        if (auswahl.blatt >= 0 && nummer != auswahl.blatt) {
            e.ueberspringe();
            ++nummer;
            continue;
        }
        Blatt blatt(archiv.pfad(), auswahl);
        tabelle(e, blatt);
        Blattinhalt inhalt{blatt.nimm(), name, nummer, blatt.breite()};
        if (auswahl.blatt >= 0 || inhalt.breite > 0)
            return inhalt;
        if (!erstes)
            erstes = std::move(inhalt);
        ++nummer;
    }
    if (erstes)
        return std::move(*erstes);
    if (auswahl.blatt > 0)
        kaputt(archiv.pfad(),
               QStringLiteral("Die Datei hat kein Blatt Nummer %1").arg(zahltext::ganz(auswahl.blatt + 1)));
    kaputt(archiv.pfad(), QStringLiteral("Die Datei enthält keine Tabelle"));
}

} // namespace tabelle::ods
