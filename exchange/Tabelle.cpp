// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tabelle.h"

#include "Dateifehler.h"
#include "Meldungsfehler.h"
#include "Zahltext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <unistd.h>

namespace tabelle {
namespace {

const QString kOdsTabelle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOdsOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kOdsText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

[[noreturn]] void kaputt(const QString& pfad, const QString& grund) {
    throw Meldungsfehler(
        QStringLiteral("Die Tabelle kann nicht gelesen werden: %1. Die Liste bleibt, wie sie war.")
            .arg(grund),
        pfad);
}

// The ZIP container, opened through a file handle so that a missing or locked file gets the
// program's usual file error.
class Archiv {
public:
    explicit Archiv(const QString& pfad) : m_pfad(pfad) {
        QFile datei(pfad);
        errno = 0;
        if (!datei.open(QIODevice::ReadOnly))
            fehler::wirfDateifehler(datei, errno);
        const int fd = ::dup(datei.handle());
        int fehlernummer = 0;
        m_zip = fd >= 0 ? zip_fdopen(fd, 0, &fehlernummer) : nullptr;
        if (!m_zip) {
            if (fd >= 0)
                ::close(fd);
            kaputt(pfad, QStringLiteral("Die Datei ist kein gültiges ZIP-Archiv"));
        }
    }
    ~Archiv() { zip_discard(m_zip); }
    Archiv(const Archiv&) = delete;
    Archiv& operator=(const Archiv&) = delete;

    bool hat(const QString& name) const { return zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0; }
    zip_t* zip() const { return m_zip; }
    const QString& pfad() const { return m_pfad; }

private:
    QString m_pfad;
    zip_t* m_zip = nullptr;
};

// One XML entry of the archive, decompressed in pieces into the pull parser as it asks for
// more: a large sheet is never held whole, and an entry larger than kEintragHoechstens once
// unpacked (whatever its header claims) is refused.
class XmlEintrag {
public:
    XmlEintrag(const Archiv& archiv, const QString& name) : m_archiv(archiv), m_name(name) {
        m_datei = zip_fopen(archiv.zip(), name.toUtf8().constData(), 0);
        if (!m_datei)
            kaputt(archiv.pfad(), QStringLiteral("Der Teil „%1“ fehlt").arg(name));
    }
    ~XmlEintrag() { zip_fclose(m_datei); }
    XmlEintrag(const XmlEintrag&) = delete;
    XmlEintrag& operator=(const XmlEintrag&) = delete;

    // The next token; a broken entry raises Fehler. EndDocument at the end.
    QXmlStreamReader::TokenType naechstes() {
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
    QXmlStreamReader& xml() { return m_xml; }
    [[noreturn]] void falsch(const QString& grund) const { kaputt(m_archiv.pfad(), grund); }

    // Character data up to the end of the current element, at most kZellTextHoechstens.
    // Used for elements that hold only text (<v>, <t>).
    QString text() {
        QString s;
        for (int tiefe = 1; tiefe > 0;) {
            const auto t = naechstes();
            if (t == QXmlStreamReader::StartElement)
                ++tiefe;
            else if (t == QXmlStreamReader::EndElement)
                --tiefe;
            else if (t == QXmlStreamReader::Characters)
                haengeAn(s, m_xml.text());
            else if (t == QXmlStreamReader::EndDocument)
                falsch(QStringLiteral("Der Teil „%1“ endet mitten in einem Element").arg(m_name));
        }
        return s;
    }

private:
    void fuettere() {
        char puffer[64 * 1024];
        const zip_int64_t n = zip_fread(m_datei, puffer, sizeof puffer);
        if (n < 0)
            falsch(QStringLiteral("Der Teil „%1“ ist beschädigt").arg(m_name));
        if (n == 0) {
            m_ende = true;
            return;
        }
        m_gelesen += n;
        if (m_gelesen > kEintragHoechstens)
            falsch(QStringLiteral("Der Teil „%1“ ist entpackt größer als %2 MB")
                       .arg(m_name, zahltext::ganz(kEintragHoechstens >> 20)));
        m_xml.addData(QByteArray(puffer, static_cast<qsizetype>(n)));
    }

public:
    static void haengeAn(QString& s, QStringView teil) {
        s.append(teil.first(std::min(teil.size(), std::max<qsizetype>(kZellTextHoechstens - s.size(), 0))));
    }

private:
    const Archiv& m_archiv;
    QString m_name;
    zip_file_t* m_datei = nullptr;
    QXmlStreamReader m_xml;
    qint64 m_gelesen = 0;
    bool m_ende = false;
};

bool istStart(const QXmlStreamReader& x, QStringView name) {
    return x.tokenType() == QXmlStreamReader::StartElement && x.name() == name;
}

// A number as the file stores it (always with "."), in the user's file form; nothing when it
// is no number.
std::optional<QString> zahlAusDatei(QStringView wert) {
    QString text = wert.trimmed().toString();
    if (text.contains(zahltext::trennzeichen().dezimal) && zahltext::trennzeichen().dezimal != u'.')
        return std::nullopt;
    text.replace(u'.', zahltext::trennzeichen().dezimal);
    const auto zahl = zahltext::leseDouble(text);
    if (!zahl)
        return std::nullopt;
    return zahltext::kurz(*zahl);
}

QString wahrheit(bool wert) {
    return wert ? QStringLiteral("WAHR") : QStringLiteral("FALSCH");
}

// The sheet as it grows: rows and cells are made only up to the last one with content, and
// every cell made counts against kZellenHoechstens.
class Blatt {
public:
    Blatt(const QString& pfad, qsizetype spalten)
        : m_pfad(pfad), m_spalten(std::clamp<qsizetype>(spalten, 0, kSpaltenHoechstens)) {}

    qsizetype spalten() const { return m_spalten; }

    // Sets cell (zeile, spalte), both from 0; an empty text or a column beyond the kept ones
    // changes nothing.
    void setze(qsizetype zeile, qsizetype spalte, const QString& text) {
        if (text.isEmpty() || spalte >= m_spalten)
            return;
        pruefeZeile(zeile);
        while (m_zeilen.size() <= zeile)
            m_zeilen.append(QStringList());
        QStringList& z = m_zeilen[zeile];
        if (z.size() <= spalte) {
            zaehle(spalte + 1 - z.size());
            z.resize(spalte + 1);
        }
        z[spalte] = text;
    }

    // Appends `anzahl` rows of the same content after `leer` empty ones; repeated rows share
    // their cells. A row without content only moves the position on.
    void haengeAn(const QStringList& zeile, qsizetype leerDavor, qsizetype anzahl) {
        if (zeile.isEmpty())
            return;
        pruefeZeile(m_zeilen.size() + leerDavor + anzahl - 1);
        zaehle(zeile.size());
        m_zeilen.resize(m_zeilen.size() + leerDavor);
        for (qsizetype i = 0; i < anzahl; ++i)
            m_zeilen.append(zeile);
    }
    qsizetype zeilenZahl() const { return m_zeilen.size(); }

    void zaehle(qsizetype zellen) {
        m_zellen += zellen;
        if (m_zellen > kZellenHoechstens)
            kaputt(
                m_pfad,
                QStringLiteral("Die Tabelle hat mehr als %1 Zellen").arg(zahltext::ganz(kZellenHoechstens)));
    }

    Zeilen nimm() { return std::move(m_zeilen); }

private:
    void pruefeZeile(qsizetype zeile) const {
        if (zeile >= kZeilenHoechstens)
            kaputt(
                m_pfad,
                QStringLiteral("Die Tabelle hat mehr als %1 Zeilen").arg(zahltext::ganz(kZeilenHoechstens)));
    }

    QString m_pfad;
    qsizetype m_spalten;
    qsizetype m_zellen = 0;
    Zeilen m_zeilen;
};

// ---- .xlsx ----

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
    QString typ, ziel;
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
        if (!istStart(e.xml(), u"Relationship"))
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
    for (int tiefe = 1, phonetik = 0; tiefe > 0;) {
        const auto t = e.naechstes();
        if (t == QXmlStreamReader::StartElement) {
            ++tiefe;
            if (e.xml().name() == u"rPh")
                phonetik = tiefe;
            else if (e.xml().name() == u"t" && phonetik == 0)
                XmlEintrag::haengeAn(s, e.text()), --tiefe;
        } else if (t == QXmlStreamReader::EndElement) {
            if (tiefe == phonetik)
                phonetik = 0;
            --tiefe;
        } else if (t == QXmlStreamReader::EndDocument) {
            e.falsch(QStringLiteral("Ein Text der Tabelle endet mitten im Element"));
        }
    }
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
        if (!istStart(e.xml(), u"si"))
            continue;
        texte.append(entschluessele(rtext(e)));
        zeichen += texte.constLast().size() + 1;
        if (zeichen > kZeichenHoechstens)
            e.falsch(QStringLiteral("Die Texte der Tabelle sind größer als %1 Zeichen")
                         .arg(zahltext::ganz(kZeichenHoechstens)));
    }
    return texte;
}

QString zellwert(XmlEintrag& e, const QString& typ, const QStringList& texte) {
    QString v, inline_;
    bool hatInline = false;
    for (int tiefe = 1; tiefe > 0;) {
        const auto t = e.naechstes();
        if (t == QXmlStreamReader::StartElement) {
            if (e.xml().name() == u"v")
                v = e.text();
            else if (e.xml().name() == u"is")
                inline_ = rtext(e), hatInline = true;
            else
                ++tiefe;
        } else if (t == QXmlStreamReader::EndElement) {
            --tiefe;
        } else if (t == QXmlStreamReader::EndDocument) {
            e.falsch(QStringLiteral("Die Tabelle endet mitten in einer Zelle"));
        }
    }
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
        return hatInline ? entschluessele(inline_) : v;
    if (typ == u"b")
        return v.isEmpty() ? QString() : wahrheit(v.trimmed() == u"1" || v.trimmed() == u"true");
    if (typ == u"str" || typ == u"e" || typ == u"d")
        return entschluessele(v);
    if (v.isEmpty())
        return {};
    return zahlAusDatei(v).value_or(v);
}

} // namespace

bool istTabelle(const QString& pfad) {
    const QString endung = QFileInfo(pfad).suffix().toLower();
    return endung == u"xlsx" || endung == u"ods";
}

Zeilen lese(const QString& pfad, qsizetype spalten) {
    return QFileInfo(pfad).suffix().toLower() == u"ods" ? leseOds(pfad, spalten) : leseXlsx(pfad, spalten);
}

Zeilen leseXlsx(const QString& pfad, qsizetype spalten) {
    const Archiv archiv(pfad);
    // The workbook as the package names it; Calc and Excel both put it here.
    QString mappe = QStringLiteral("xl/workbook.xml");
    for (const Beziehung& b : beziehungen(archiv, QStringLiteral(".rels")))
        if (b.typ.endsWith(QStringLiteral("/officeDocument")) && !b.ziel.isEmpty())
            mappe = b.ziel;
    if (!archiv.hat(mappe))
        kaputt(pfad,
               QStringLiteral("Die Datei ist keine Excel-Arbeitsmappe (der Teil „%1“ fehlt)").arg(mappe));

    // The first sheet in the workbook's order, by its relationship id (any namespace prefix).
    QString blattId;
    {
        XmlEintrag e(archiv, mappe);
        while (blattId.isEmpty() && e.naechstes() != QXmlStreamReader::EndDocument) {
            if (!istStart(e.xml(), u"sheet"))
                continue;
            for (const QXmlStreamAttribute& a : e.xml().attributes())
                if (a.name() == u"id" && !a.namespaceUri().isEmpty())
                    blattId = a.value().toString();
            if (blattId.isEmpty())
                e.falsch(QStringLiteral("Das erste Blatt der Arbeitsmappe hat keinen Verweis"));
        }
    }
    if (blattId.isEmpty())
        kaputt(pfad, QStringLiteral("Die Arbeitsmappe enthält kein Blatt"));
    const auto rels = beziehungen(archiv, mappe);
    const QString blattTeil = rels.value(blattId).ziel;
    if (blattTeil.isEmpty() || !archiv.hat(blattTeil))
        kaputt(pfad, QStringLiteral("Das erste Blatt der Arbeitsmappe fehlt"));
    QString texteTeil;
    for (const Beziehung& b : rels)
        if (b.typ.endsWith(QStringLiteral("/sharedStrings")))
            texteTeil = b.ziel;
    const QStringList texte = geteilteTexte(archiv, texteTeil);

    Blatt blatt(pfad, spalten);
    XmlEintrag e(archiv, blattTeil);
    qsizetype zeile = -1, spalte = -1;
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

namespace {

// The text of a <text:p>: its characters, spans and links, with <text:s> blanks, tabs and line
// breaks, at most kZellTextHoechstens.
void absatz(XmlEintrag& e, QString& s) {
    for (int tiefe = 1; tiefe > 0;) {
        const auto t = e.naechstes();
        if (t == QXmlStreamReader::StartElement) {
            ++tiefe;
            const auto& x = e.xml();
            if (x.namespaceUri() != kOdsText)
                continue;
            if (x.name() == u"s") {
                const auto c = zahltext::leseGanz(x.attributes().value(kOdsText, QStringLiteral("c")));
                const qsizetype n = std::clamp<qint64>(c.value_or(1), 1, kZellTextHoechstens);
                XmlEintrag::haengeAn(s, QString(n, u' '));
            } else if (x.name() == u"tab") {
                XmlEintrag::haengeAn(s, u"\t");
            } else if (x.name() == u"line-break") {
                XmlEintrag::haengeAn(s, u"\n");
            }
        } else if (t == QXmlStreamReader::EndElement) {
            --tiefe;
        } else if (t == QXmlStreamReader::Characters) {
            XmlEintrag::haengeAn(s, e.xml().text());
        } else if (t == QXmlStreamReader::EndDocument) {
            e.falsch(QStringLiteral("Die Tabelle endet mitten in einer Zelle"));
        }
    }
}

// A repeat count: at least 1, at most `grenze`.
qsizetype wiederholung(const QXmlStreamAttributes& a, const QString& name, qsizetype grenze) {
    const auto n = zahltext::leseGanz(a.value(kOdsTabelle, name));
    return std::clamp<qint64>(n.value_or(1), 1, grenze);
}

// The shown value of a <table:table-cell>: numbers from office:value, truth values from
// office:boolean-value, everything else from its paragraphs (comments are not the cell's text).
QString odsZelle(XmlEintrag& e) {
    const auto a = e.xml().attributes();
    const QStringView typ = a.value(kOdsOffice, QStringLiteral("value-type"));
    QString text;
    bool erster = true;
    for (int tiefe = 1; tiefe > 0;) {
        const auto t = e.naechstes();
        if (t == QXmlStreamReader::StartElement) {
            if (tiefe == 1 && e.xml().namespaceUri() == kOdsText && e.xml().name() == u"p") {
                if (!erster)
                    XmlEintrag::haengeAn(text, u"\n");
                erster = false;
                absatz(e, text);
            } else {
                ++tiefe;
            }
        } else if (t == QXmlStreamReader::EndElement) {
            --tiefe;
        } else if (t == QXmlStreamReader::EndDocument) {
            e.falsch(QStringLiteral("Die Tabelle endet mitten in einer Zelle"));
        }
    }
    if (typ == u"float" || typ == u"percentage" || typ == u"currency") {
        if (auto zahl = zahlAusDatei(a.value(kOdsOffice, QStringLiteral("value"))))
            return *zahl;
    } else if (typ == u"boolean") {
        return wahrheit(a.value(kOdsOffice, QStringLiteral("boolean-value")) == u"true");
    }
    return text;
}

} // namespace

Zeilen leseOds(const QString& pfad, qsizetype spalten) {
    const Archiv archiv(pfad);
    if (!archiv.hat(QStringLiteral("content.xml")))
        kaputt(pfad,
               QStringLiteral("Die Datei ist keine OpenDocument-Tabelle (der Teil „content.xml“ fehlt)"));
    Blatt blatt(pfad, spalten);
    XmlEintrag e(archiv, QStringLiteral("content.xml"));
    // Empty rows are only counted; they are made when a row with content follows them.
    qsizetype leereZeilen = 0;
    bool tabelle = false;
    for (auto t = e.naechstes(); t != QXmlStreamReader::EndDocument; t = e.naechstes()) {
        if (t == QXmlStreamReader::EndElement && tabelle && e.xml().namespaceUri() == kOdsTabelle &&
            e.xml().name() == u"table")
            break;
        if (t != QXmlStreamReader::StartElement || e.xml().namespaceUri() != kOdsTabelle)
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
        QStringList zeile;
        qsizetype spalte = 0;
        for (int tiefe = 1; tiefe > 0;) {
            const auto z = e.naechstes();
            if (z == QXmlStreamReader::EndElement) {
                --tiefe;
                continue;
            }
            if (z == QXmlStreamReader::EndDocument)
                e.falsch(QStringLiteral("Die Tabelle endet mitten in einer Zeile"));
            if (z != QXmlStreamReader::StartElement)
                continue;
            const auto& x = e.xml();
            if (x.namespaceUri() != kOdsTabelle ||
                (x.name() != u"table-cell" && x.name() != u"covered-table-cell")) {
                ++tiefe;
                continue;
            }
            const qsizetype n =
                wiederholung(x.attributes(), QStringLiteral("number-columns-repeated"), kSpaltenHoechstens);
            const QString text = odsZelle(e);
            // Only the kept columns are made; a repeat count beyond them costs nothing.
            if (!text.isEmpty() && spalte < blatt.spalten()) {
                const qsizetype bis = std::min(spalte + n, blatt.spalten());
                zeile.resize(spalte);
                for (qsizetype s = spalte; s < bis; ++s)
                    zeile.append(text);
            }
            spalte = std::min(spalte + n, kSpaltenHoechstens);
        }
        if (zeile.isEmpty()) {
            leereZeilen = std::min(leereZeilen + wiederholt, kZeilenHoechstens);
        } else {
            blatt.haengeAn(zeile, leereZeilen, wiederholt);
            leereZeilen = 0;
        }
    }
    if (!tabelle)
        kaputt(pfad, QStringLiteral("Die Datei enthält keine Tabelle"));
    return blatt.nimm();
}

} // namespace tabelle

ImportZusammenfassung importiereTabelle(Auswertung& a, const QString& pfad, const ImportEinstellungen& e) {
    try {
        // Only the columns the settings name are kept: a very wide sheet costs nothing.
        const int spalten = std::max({e.vorname, e.nachname, e.punkte, e.noten, 0});
        const tabelle::Zeilen zeilen = tabelle::lese(pfad, spalten);
        // The rows become lines for the text import, joined by a character that XML can't
        // carry, so no cell holds it; repeated rows share one line.
        const QChar trenner(u'\xFFFF');
        QStringList texte;
        const QStringList* vorige = nullptr;
        for (const QStringList& z : zeilen) {
            if (vorige && !z.isEmpty() && z.constData() == vorige->constData())
                texte.append(texte.constLast());
            else
                texte.append(z.join(trenner));
            vorige = &z;
        }
        return ImportAuswerten(a, texte, trenner, e);
    } catch (const std::bad_alloc&) {
        fehler::melde(zuWenigSpeicherText(pfad));
    }
}
