// SPDX-License-Identifier: GPL-3.0-or-later
#include "XlsxLesen.h"

#include "Blatt.h"
#include "XmlHilfen.h"
#include "Zahltext.h"

#include <QDir>
#include <QHash>

#include <algorithm>

namespace tabelle::xlsx {
namespace {

// "B12" -> column 1 (from 0); nothing for a reference without letters or beyond the limit.
std::optional<qsizetype> spalteAus(QStringView ref) {
    qsizetype spalte = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        const char16_t c = ref[i].toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return std::nullopt;
        spalte = spalte * 26 + (c - u'A' + 1);
        if (spalte > kSpaltenHoechstens)
            return std::nullopt;
    }
    if (i == 0)
        return std::nullopt;
    return spalte - 1;
}

// A part name from a relationship target, relative to the folder of the part that names it.
QString teilName(const QString& ordner, const QString& ziel) {
    const QString pfad = ziel.startsWith(u'/') ? ziel.mid(1) : ordner + ziel;
    QString sauber = QDir::cleanPath(pfad);
    return sauber.startsWith(QStringLiteral("../")) ? QString() : sauber;
}

QString ordnerVon(const QString& teil) {
    const qsizetype s = teil.lastIndexOf(u'/');
    return s < 0 ? QString() : teil.left(s + 1);
}

struct Beziehung {
    QString typ;
    QString ziel;
};

// The relationships of a part (Id -> type and target); empty when it has none.
QHash<QString, Beziehung> beziehungen(const Archiv& archiv, const QString& teil) {
    const QString name = ordnerVon(teil) + QStringLiteral("_rels/") + teil.mid(ordnerVon(teil).size()) +
                         QStringLiteral(".rels");
    QHash<QString, Beziehung> r;
    if (!archiv.hat(name))
        return r;
    XmlEintrag e(archiv, name);
    while (e.naechstes() != QXmlStreamReader::EndDocument) {
        if (!e.istStart(u"Relationship"))
            continue;
        const auto a = e.xml().attributes();
        r.insert(a.value(QStringLiteral("Id")).toString(),
                 {a.value(QStringLiteral("Type")).toString(),
                  teilName(ordnerVon(teil), a.value(QStringLiteral("Target")).toString())});
    }
    return r;
}

// The text of <si> or <is>: its <t>, or the <t> of its runs; the phonetic hints (<rPh>) are
// no part of what the cell shows.
QString rtext(XmlEintrag& e) {
    QString s;
    int phonetik = 0; // depth of the <rPh> being passed, 0 outside one
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int tiefe) {
        if (t == QXmlStreamReader::EndElement && tiefe == phonetik)
            phonetik = 0;
        if (t != QXmlStreamReader::StartElement)
            return false;
        if (e.xml().name() == u"rPh") {
            phonetik = tiefe;
        } else if (e.xml().name() == u"t" && phonetik == 0) {
            haengeAn(s, e.text());
            return true;
        }
        return false;
    });
    return s;
}

// "_x000D_" stands for a character XML can't carry; characters XML can carry are put back,
// the others stay as written.
QString entschluessele(QString s) {
    if (!s.contains(QStringLiteral("_x")))
        return s;
    QString r;
    for (qsizetype i = 0; i < s.size();) {
        if (s[i] == u'_' && i + 6 < s.size() && s[i + 1] == u'x' && s[i + 6] == u'_') {
            bool ok = false;
            const uint code = QStringView(s).sliced(i + 2, 4).toString().toUInt(&ok, 16);
            const bool tragbar = code == 9 || code == 10 || code == 13 || (code >= 0x20 && code < 0xD800) ||
                                 (code >= 0xE000 && code < 0xFFFE);
            if (ok && tragbar) {
                r.append(QChar(static_cast<char16_t>(code)));
                i += 7;
                continue;
            }
        }
        r.append(s[i++]);
    }
    return r;
}

QStringList geteilteTexte(const Archiv& archiv, const QString& teil) {
    QStringList texte;
    if (teil.isEmpty() || !archiv.hat(teil))
        return texte;
    // The table's own count is not trusted for room; the entry's size bounds the list.
    constexpr qsizetype kZeichenHoechstens = 64 * 1024 * 1024;
    qsizetype zeichen = 0;
    XmlEintrag e(archiv, teil);
    while (e.naechstes() != QXmlStreamReader::EndDocument) {
        if (!e.istStart(u"si"))
            continue;
        texte.append(entschluessele(rtext(e)));
        zeichen += texte.constLast().size() + 1;
        if (zeichen > kZeichenHoechstens)
            e.falsch(QStringLiteral("Die Texte der Tabelle sind größer als %1 Zeichen")
                         .arg(zahltext::ganz(kZeichenHoechstens)));
    }
    return texte;
}

// The shown value of a <c> of type `typ`: its <v>, or its inline text <is>.
QString zellwert(XmlEintrag& e, const QString& typ, const QStringList& texte) {
    QString v;
    QString inlineText;
    bool hatInline = false;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        if (t != QXmlStreamReader::StartElement)
            return false;
        if (e.xml().name() == u"v") {
            v = e.text();
            return true;
        }
        if (e.xml().name() == u"is") {
            inlineText = rtext(e);
            hatInline = true;
            return true;
        }
        return false;
    });
    if (typ == u"s") {
        if (v.isEmpty())
            return {};
        const auto index = zahltext::leseGanz(v);
        if (!index || *index < 0 || *index >= texte.size())
            e.falsch(
                QStringLiteral("Eine Zelle verweist auf den Text %1, den es nicht gibt").arg(v.left(20)));
        return texte[*index];
    }
    if (typ == u"inlineStr")
        return hatInline ? entschluessele(inlineText) : v;
    if (typ == u"b")
        return v.isEmpty() ? QString() : wahrheit(v.trimmed() == u"1" || v.trimmed() == u"true");
    if (typ == u"str" || typ == u"e" || typ == u"d")
        return entschluessele(v);
    if (v.isEmpty())
        return {};
    return zahlAusDatei(v).value_or(v);
}

// The parts the first sheet is read from, found through the relationships of the package and
// of the workbook.
struct Teile {
    QString blatt;
    QString texte; // the shared texts; empty when there are none
};

Teile finde(const Archiv& archiv) {
    // The workbook as the package names it; Calc and Excel both put it here.
    QString mappe = QStringLiteral("xl/workbook.xml");
    // The package's own relationships are those of the part with the empty name: _rels/.rels.
    for (const Beziehung& b : beziehungen(archiv, QString()))
        if (b.typ.endsWith(QStringLiteral("/officeDocument")) && !b.ziel.isEmpty())
            mappe = b.ziel;
    if (!archiv.hat(mappe))
        kaputt(archiv.pfad(),
               QStringLiteral("Die Datei ist keine Excel-Arbeitsmappe (der Teil „%1“ fehlt)").arg(mappe));

    // The first sheet in the workbook's order, by its relationship id (any namespace prefix).
    QString blattId;
    {
        XmlEintrag e(archiv, mappe);
        while (blattId.isEmpty() && e.naechstes() != QXmlStreamReader::EndDocument) {
            if (!e.istStart(u"sheet"))
                continue;
            for (const QXmlStreamAttribute& a : e.xml().attributes())
                if (a.name() == u"id" && !a.namespaceUri().isEmpty())
                    blattId = a.value().toString();
            if (blattId.isEmpty())
                e.falsch(QStringLiteral("Das erste Blatt der Arbeitsmappe hat keinen Verweis"));
        }
    }
    if (blattId.isEmpty())
        kaputt(archiv.pfad(), QStringLiteral("Die Arbeitsmappe enthält kein Blatt"));
    const auto rels = beziehungen(archiv, mappe);
    Teile teile;
    teile.blatt = rels.value(blattId).ziel;
    if (teile.blatt.isEmpty() || !archiv.hat(teile.blatt))
        kaputt(archiv.pfad(), QStringLiteral("Das erste Blatt der Arbeitsmappe fehlt"));
    for (const Beziehung& b : rels)
        if (b.typ.endsWith(QStringLiteral("/sharedStrings")))
            teile.texte = b.ziel;
    return teile;
}

} // namespace

Zeilen erstesBlatt(const Archiv& archiv, qsizetype spalten) {
    const Teile teile = finde(archiv);
    const QStringList texte = geteilteTexte(archiv, teile.texte);

    Blatt blatt(archiv.pfad(), spalten);
    XmlEintrag e(archiv, teile.blatt);
    qsizetype zeile = -1;
    qsizetype spalte = -1;
    bool imBlatt = false;
    for (auto t = e.naechstes(); t != QXmlStreamReader::EndDocument; t = e.naechstes()) {
        if (t == QXmlStreamReader::EndElement && e.xml().name() == u"sheetData")
            break;
        if (t != QXmlStreamReader::StartElement)
            continue;
        const auto name = e.xml().name();
        if (name == u"sheetData") {
            imBlatt = true;
        } else if (imBlatt && name == u"row") {
            const auto r = zahltext::leseGanz(e.xml().attributes().value(QStringLiteral("r")));
            if (r && (*r < 1 || *r > kZeilenHoechstens))
                e.falsch(QStringLiteral("Eine Zeile trägt die Nummer %1").arg(zahltext::ganz(*r)));
            zeile = r ? *r - 1 : zeile + 1;
            spalte = -1;
        } else if (imBlatt && name == u"c") {
            const auto a = e.xml().attributes();
            const QStringView ref = a.value(QStringLiteral("r"));
            if (!ref.isEmpty()) {
                const auto s = spalteAus(ref);
                if (!s)
                    e.falsch(QStringLiteral("Eine Zelle hat den ungültigen Bezug „%1“").arg(ref.left(20)));
                spalte = *s;
            } else {
                ++spalte;
            }
            if (spalte >= kSpaltenHoechstens)
                e.falsch(QStringLiteral("Die Tabelle hat mehr als %1 Spalten")
                             .arg(zahltext::ganz(kSpaltenHoechstens)));
            const QString typ = a.value(QStringLiteral("t")).toString();
            blatt.setze(std::max<qsizetype>(zeile, 0), spalte, zellwert(e, typ, texte));
        }
    }
    return blatt.nimm();
}

} // namespace tabelle::xlsx
