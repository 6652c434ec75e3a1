// SPDX-License-Identifier: GPL-3.0-or-later
#include "XlsxLesen.h"

#include "Blatt.h"
#include "XmlHilfen.h"
#include "Zahltext.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <optional>

namespace tabelle::xlsx {
namespace {

// Sheets of one workbook: far more than workbooks have, so that their list stays small.
constexpr qsizetype kBlaetterHoechstens = 4096;

struct Bezug {
    qsizetype spalte; // from 0
    qsizetype zeile;  // from 0
};

// "B12" -> column 1, row 11 (from 0); nothing for a reference that is not letters and then
// digits, or that lies beyond the sheet.
std::optional<Bezug> bezugAus(QStringView ref) {
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
    if (i == 0 || i == ref.size())
        return std::nullopt;
    qsizetype zeile = 0;
    for (; i < ref.size(); ++i) {
        const char16_t c = ref[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        zeile = zeile * 10 + (c - u'0');
        if (zeile > kZeilenHoechstens)
            return std::nullopt;
    }
    if (zeile < 1)
        return std::nullopt;
    return Bezug{spalte - 1, zeile - 1};
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
    qsizetype teile = 0;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int tiefe) {
        if (t == QXmlStreamReader::EndElement && tiefe == phonetik)
            phonetik = 0;
        if (t != QXmlStreamReader::StartElement)
            return false;
        e.zaehleTeil(teile);
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

QStringList geteilteTexte(const Archiv& archiv, const QString& teil) {
    QStringList texte;
    if (teil.isEmpty() || !archiv.hat(teil))
        return texte;
    // The table's own count is not trusted for room. What the list holds is bounded by its
    // memory: every entry costs its place in the list, a text its block besides.
    constexpr qint64 kSpeicherHoechstens = 256LL * 1024 * 1024;
    qint64 speicher = 0;
    XmlEintrag e(archiv, teil);
    while (e.naechstes() != QXmlStreamReader::EndDocument) {
        if (!e.istStart(u"si"))
            continue;
        texte.append(entschluessele(rtext(e)));
        const qsizetype n = texte.constLast().size();
        speicher += qint64(sizeof(QString)) + (n > 0 ? 32 + 2 * qint64(n) : 0);
        if (speicher > kSpeicherHoechstens)
            e.falsch(QStringLiteral("Die Texte der Tabelle brauchen mehr als %1 MB Speicher")
                         .arg(zahltext::ganz(kSpeicherHoechstens >> 20)));
        if (texte.size() % 4096 == 0)
            e.meldeFortschritt();
    }
    return texte;
}

// The shown value of a <c> of type `typ`: its <v>, or its inline text <is>.
QString zellwert(XmlEintrag& e, const QString& typ, const QStringList& texte) {
    QString v;
    QString inlineText;
    bool hatInline = false;
    qsizetype teile = 0;
    e.bisZumEnde([&](QXmlStreamReader::TokenType t, int) {
        if (t != QXmlStreamReader::StartElement)
            return false;
        e.zaehleTeil(teile);
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

// The workbook's sheets in its order, each with the part it is read from, and the shared texts.
struct Mappe {
    struct Eintrag {
        QString name;
        QString teil;         // empty when the workbook gives no part for it
        bool verweis = false; // whether the workbook names a relationship at all
    };
    QList<Eintrag> blaetter;
    QString texte; // the shared texts; empty when there are none
};

Mappe finde(const Archiv& archiv) {
    // The workbook as the package names it; Calc and Excel both put it here.
    QString mappe = QStringLiteral("xl/workbook.xml");
    // The package's own relationships are those of the part with the empty name: _rels/.rels.
    for (const Beziehung& b : beziehungen(archiv, QString()))
        if (b.typ.endsWith(QStringLiteral("/officeDocument")) && !b.ziel.isEmpty())
            mappe = b.ziel;
    if (!archiv.hat(mappe)) {
        // A workbook saved with a password may also come as a package of the encrypted one.
        if (archiv.hat(QStringLiteral("EncryptedPackage")))
            kaputt(archiv.pfad(), verschluesseltText());
        kaputt(archiv.pfad(),
               QStringLiteral("Die Datei ist keine Excel-Arbeitsmappe (der Teil „%1“ fehlt)").arg(mappe));
    }
    const auto rels = beziehungen(archiv, mappe);
    Mappe m;
    {
        // The sheets by their relationship id (any namespace prefix).
        XmlEintrag e(archiv, mappe);
        while (e.naechstes() != QXmlStreamReader::EndDocument) {
            if (!e.istStart(u"sheet"))
                continue;
            Mappe::Eintrag blatt;
            for (const QXmlStreamAttribute& a : e.xml().attributes()) {
                if (a.name() == u"id" && !a.namespaceUri().isEmpty()) {
                    blatt.verweis = !a.value().isEmpty();
                    blatt.teil = rels.value(a.value().toString()).ziel;
                } else if (a.name() == u"name" && a.namespaceUri().isEmpty()) {
                    blatt.name = a.value().toString();
                }
            }
            if (!blatt.teil.isEmpty() && !archiv.hat(blatt.teil))
                blatt.teil.clear();
            if (m.blaetter.size() >= kBlaetterHoechstens)
                e.falsch(QStringLiteral("Die Arbeitsmappe hat mehr als %1 Blätter")
                             .arg(zahltext::ganz(kBlaetterHoechstens)));
            m.blaetter.append(blatt);
        }
    }
    if (m.blaetter.isEmpty())
        kaputt(archiv.pfad(), QStringLiteral("Die Arbeitsmappe enthält kein Blatt"));
    for (const Beziehung& b : rels)
        if (b.typ.endsWith(QStringLiteral("/sharedStrings")))
            m.texte = b.ziel;
    return m;
}

// "Das erste Blatt", "Das 3. Blatt".
QString welches(int nummer) {
    return nummer == 0 ? QStringLiteral("Das erste Blatt")
                       : QStringLiteral("Das %1. Blatt").arg(zahltext::ganz(nummer + 1));
}

// The cells of the sheet in part `teil` into `blatt`.
void leseBlatt(const Archiv& archiv, const QString& teil, const QStringList& texte, Blatt& blatt) {
    XmlEintrag e(archiv, teil);
    qsizetype zeile = -1;
    qsizetype spalte = -1;
    qsizetype zeilen = 0;
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
            const qint64 nummer = r ? *r : zeile + 2;
            if (nummer < 1 || nummer > kZeilenHoechstens)
                e.falsch(QStringLiteral("Eine Zeile trägt die Nummer %1").arg(zahltext::ganz(nummer)));
            zeile = nummer - 1;
            spalte = -1;
            if (++zeilen % 4096 == 0)
                e.meldeFortschritt();
        } else if (imBlatt && name == u"c") {
            const auto a = e.xml().attributes();
            const QStringView ref = a.value(QStringLiteral("r"));
            if (!ref.isEmpty()) {
                const auto bezug = bezugAus(ref);
                if (!bezug)
                    e.falsch(QStringLiteral("Eine Zelle hat den ungültigen Bezug „%1“").arg(ref.left(20)));
                spalte = bezug->spalte;
                zeile = bezug->zeile;
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
}

} // namespace

QStringList blaetter(const Archiv& archiv) {
    QStringList namen;
    for (const Mappe::Eintrag& b : finde(archiv).blaetter)
        namen.append(b.name);
    return namen;
}

Blattinhalt lies(const Archiv& archiv, const Auswahl& auswahl) {
    const Mappe mappe = finde(archiv);
    if (auswahl.blatt >= mappe.blaetter.size())
        kaputt(archiv.pfad(),
               QStringLiteral("Die Datei hat kein Blatt Nummer %1").arg(zahltext::ganz(auswahl.blatt + 1)));
    const QStringList texte = geteilteTexte(archiv, mappe.texte);
    std::optional<Blattinhalt> erstes; // the first sheet, when no sheet holds data
    for (int nummer = std::max(auswahl.blatt, 0); nummer < mappe.blaetter.size(); ++nummer) {
        const Mappe::Eintrag& eintrag = mappe.blaetter[nummer];
        if (!eintrag.verweis)
            kaputt(archiv.pfad(), welches(nummer) + QStringLiteral(" der Arbeitsmappe hat keinen Verweis"));
        if (eintrag.teil.isEmpty())
            kaputt(archiv.pfad(), welches(nummer) + QStringLiteral(" der Arbeitsmappe fehlt"));
        Blatt blatt(archiv.pfad(), auswahl);
        leseBlatt(archiv, eintrag.teil, texte, blatt);
        Blattinhalt inhalt{blatt.nimm(), eintrag.name, nummer, blatt.breite()};
        if (auswahl.blatt >= 0 || inhalt.breite > 0)
            return inhalt;
        if (!erstes)
            erstes = std::move(inhalt);
    }
    return std::move(*erstes);
}

} // namespace tabelle::xlsx
