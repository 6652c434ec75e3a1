// SPDX-License-Identifier: GPL-3.0-or-later
#include "Rtf.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Fortschritt.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPageSize>
#include <QPixmap>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace {

// Sizes in the document are pixels at 96 per inch, the reference of Qt's text layout and of CSS.
constexpr long double kPunkteJePixel = 72.0L / 96.0L;
constexpr long double kTwipsJePixel = 1440.0L / 96.0L;

// Control word parameters are RTF syntax, never the user's number format.
void haengeZahlAn(QByteArray& ziel, long long wert) {
    char text[24];
    const auto [ende, fehler] = std::to_chars(text, text + sizeof text, wert);
    ziel.append(text, ende - text);
}

void steuerwort(QByteArray& ziel, const char* wort, long long wert) {
    ziel.append(wort);
    haengeZahlAn(ziel, wert);
}

long long gerundet(long double wert) {
    return std::llround(std::nearbyint(wert));
}

// The Windows-1252 byte of a character above ASCII; the unassigned codes carry none.
bool inWindows1252(char16_t c, char& byte) {
    if (c >= 0xA0 && c <= 0xFF) {
        byte = static_cast<char>(c);
        return true;
    }
    if (c < 0x80 || QChar::isSurrogate(c))
        return false;
    const QByteArray b = ansi::ausText(QStringView(&c, 1));
    const auto u = static_cast<unsigned char>(b.at(0));
    if (u < 0x80 || u >= 0xA0 || ansi::unbelegt(u))
        return false;
    byte = b.at(0);
    return true;
}

void haengeTextAn(QByteArray& ziel, QStringView text) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        // A surrogate without its partner is no character: alone in \u it takes the next
        // character with it when the file is read. It is written as the replacement character.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            steuerwort(ziel, "\\u", static_cast<int16_t>(c));
            ziel.append('?');
            c = text[++i].unicode();
        } else if (QChar::isSurrogate(c)) {
            c = u'\uFFFD';
        }
        char byte = 0;
        if (c == u'\\' || c == u'{' || c == u'}') {
            ziel.append('\\');
            ziel.append(static_cast<char>(c));
        } else if (c == u'\t') {
            ziel.append("\\tab ");
        } else if (c == QChar::LineSeparator || c == u'\n') {
            ziel.append("\\line ");
        } else if (c >= 0x20 && c < 0x7F) {
            ziel.append(static_cast<char>(c));
        } else if (c < 0x20 || c == 0x7F) {
            // Other control characters have no place in running text.
        } else if (inWindows1252(c, byte)) {
            const auto u = static_cast<unsigned char>(byte);
            ziel.append("\\'");
            ziel.append(kHex[u >> 4]);
            ziel.append(kHex[u & 0xF]);
        } else {
            // \u takes a signed 16-bit value; a surrogate pair goes as two, as Word writes it.
            steuerwort(ziel, "\\u", static_cast<int16_t>(c));
            ziel.append('?');
        }
    }
}

struct Schrift {
    QByteArray name;
    bool festeBreite = false;
    QFont::StyleHint hinweis = QFont::AnyStyle;
};

// Blocks between two progress reports, and the bytes gathered before they go to the device.
constexpr int kAbsaetzeJeMeldung = 4096;
constexpr qsizetype kPuffer = 256 * 1024;

class Schreiber {
public:
    Schreiber(const QTextDocument& dokument, const QLocale& gebiet)
        : m_dokument(dokument), m_grundschrift(dokument.defaultFont()), m_papier(rtf::papier(gebiet)) {
        schriftNummer(m_grundschrift); // \deff0
    }

    // The tables come before the text but list what the text uses: a first pass gathers the
    // character formats in the order the text meets them, then the text goes out in pieces,
    // so no copy of the whole body is held.
    void schreibe(QIODevice& ziel) {
        const qint64 absaetze = m_dokument.blockCount();
        qint64 erledigt = 0;
        for (QTextBlock block = m_dokument.begin(); block.isValid(); block = block.next()) {
            melde(erledigt++, 2 * absaetze);
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment stueck = it.fragment();
                if (stueck.isValid() && !stueck.charFormat().isImageFormat())
                    woerter(stueck.charFormatIndex());
            }
            woerter(block.charFormatIndex());
        }

        QByteArray puffer = kopf();
        for (QTextBlock block = m_dokument.begin(); block.isValid(); block = block.next()) {
            melde(erledigt++, 2 * absaetze);
            if (block != m_dokument.begin())
                puffer.append("\\par\r\n");
            absatz(puffer, block);
            if (puffer.size() >= kPuffer) {
                fehler::schreibeAlles(ziel, puffer);
                puffer.resize(0); // keeps its room for the next piece
            }
        }
        puffer.append("}\r\n");
        fehler::schreibeAlles(ziel, puffer);
    }

private:
    static void melde(qint64 erledigt, qint64 gesamt) {
        if (erledigt % kAbsaetzeJeMeldung == 0)
            fortschritt::melde(erledigt, gesamt);
    }

    QByteArray kopf() const {
        QByteArray k("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031\\uc1\r\n{\\fonttbl");
        for (qsizetype i = 0; i < m_schriften.size(); ++i) {
            const Schrift& s = m_schriften[i];
            steuerwort(k, "{\\f", i);
            if (s.festeBreite)
                k.append("\\fmodern");
            else if (s.hinweis == QFont::Serif)
                k.append("\\froman");
            else if (s.hinweis == QFont::SansSerif)
                k.append("\\fswiss");
            else
                k.append("\\fnil");
            k.append(s.festeBreite ? "\\fprq1" : "\\fprq2");
            k.append("\\fcharset0 ");
            k.append(s.name);
            k.append(";}");
        }
        k.append("}\r\n{\\colortbl;");
        for (const QRgb farbe : m_farben) {
            steuerwort(k, "\\red", qRed(farbe));
            steuerwort(k, "\\green", qGreen(farbe));
            steuerwort(k, "\\blue", qBlue(farbe));
            k.append(';');
        }
        // Without a generator, Writer takes the file for Word's and widens runs of blanks,
        // which breaks the report's columns.
        k.append("}\r\n{\\*\\generator Skalora;}\r\n");
        // The user's paper: without it Word and Writer open the file on US Letter.
        steuerwort(k, "\\paperw", m_papier.breite);
        steuerwort(k, "\\paperh", m_papier.hoehe);
        for (const char* rand : {"\\margl", "\\margr", "\\margt", "\\margb"})
            steuerwort(k, rand, m_papier.rand);
        k.append("\r\n");
        return k;
    }

    int schriftNummer(const QFont& schrift) {
        const QString familie = schrift.family();
        if (auto it = m_schriftNummern.constFind(familie); it != m_schriftNummern.cend())
            return *it;
        Schrift s;
        // A ';' would end the entry early; RTF has no escape for it there.
        QString name = familie;
        name.remove(u';');
        haengeTextAn(s.name, name);
        const QFont::StyleHint hinweis = schrift.styleHint();
        s.hinweis = hinweis;
        s.festeBreite = schrift.fixedPitch() || hinweis == QFont::Monospace || hinweis == QFont::TypeWriter ||
                        (qGuiApp && QFontDatabase::isFixedPitch(familie));
        const int nummer = static_cast<int>(m_schriften.size());
        m_schriften.push_back(s);
        m_schriftNummern.insert(familie, nummer);
        return nummer;
    }

    int farbNummer(const QColor& farbe) {
        const QRgb rgb = farbe.toRgb().rgb() | 0xFF000000u;
        const qsizetype i = m_farben.indexOf(rgb);
        if (i >= 0)
            return static_cast<int>(i) + 1;
        m_farben.push_back(rgb);
        return static_cast<int>(m_farben.size()); // entry 0 is the automatic colour
    }

    void absatz(QByteArray& ziel, const QTextBlock& block) {
        const QTextBlockFormat f = block.blockFormat();
        ziel.append("\\pard\\plain");
        const Qt::Alignment ausrichtung = f.alignment() & Qt::AlignHorizontal_Mask;
        if (ausrichtung & Qt::AlignHCenter)
            ziel.append("\\qc");
        else if (ausrichtung & Qt::AlignRight)
            ziel.append("\\qr");
        else if (ausrichtung & Qt::AlignJustify)
            ziel.append("\\qj");
        const auto abstand = [&](const char* wort, qreal pixel) {
            if (pixel != 0)
                steuerwort(ziel, wort, gerundet(pixel * kTwipsJePixel));
        };
        abstand("\\li", f.leftMargin() + f.indent() * m_dokument.indentWidth());
        abstand("\\ri", f.rightMargin());
        abstand("\\fi", f.textIndent());
        abstand("\\sb", f.topMargin());
        abstand("\\sa", f.bottomMargin());

        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment stueck = it.fragment();
            if (stueck.isValid())
                lauf(ziel, stueck);
        }
        // The paragraph mark carries the block's own format, so an empty line keeps its height.
        ziel.append(woerter(block.charFormatIndex()));
        ziel.append(' ');
    }

    void lauf(QByteArray& ziel, const QTextFragment& stueck) {
        const QTextCharFormat format = stueck.charFormat();
        const QString text = stueck.text();
        if (format.isImageFormat()) {
            for (const QChar z : text)
                if (z == QChar::ObjectReplacementCharacter)
                    bild(ziel, format.toImageFormat());
            return;
        }
        ziel.append('{');
        ziel.append(woerter(stueck.charFormatIndex()));
        ziel.append(' ');
        haengeTextAn(ziel, text);
        ziel.append('}');
    }

    // The control words of a character format, made once per format of the document; the
    // first call numbers its font and colour.
    const QByteArray& woerter(int index) {
        if (index < 0 || index >= m_formate.size())
            index = -1; // no format: the document's defaults
        const auto stelle = static_cast<std::size_t>(index + 1);
        if (m_woerter.size() <= stelle)
            m_woerter.resize(stelle + 1);
        std::optional<QByteArray>& w = m_woerter[stelle];
        if (!w) {
            w.emplace();
            zeichenformat(*w, index < 0 ? QTextCharFormat() : m_formate[index].toCharFormat());
        }
        return *w;
    }

    void zeichenformat(QByteArray& ziel, const QTextCharFormat& format) {
        const QFont schrift = format.font().resolve(m_grundschrift);
        steuerwort(ziel, "\\f", schriftNummer(schrift));
        long double punkte = schrift.pointSizeF();
        if (punkte <= 0)
            punkte = schrift.pixelSize() * kPunkteJePixel;
        if (punkte > 0)
            steuerwort(ziel, "\\fs", std::max(1LL, gerundet(punkte * 2))); // half points
        if (schrift.bold())
            ziel.append("\\b");
        if (schrift.italic())
            ziel.append("\\i");
        if (schrift.strikeOut())
            ziel.append("\\strike");
        const QTextCharFormat::UnderlineStyle unterstrich =
            format.hasProperty(QTextFormat::TextUnderlineStyle)
                ? format.underlineStyle()
                : (schrift.underline() ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
        switch (unterstrich) {
        case QTextCharFormat::SingleUnderline:
            ziel.append("\\ul");
            break;
        case QTextCharFormat::DashUnderline:
            ziel.append("\\uldash");
            break;
        case QTextCharFormat::DotLine:
            ziel.append("\\uld");
            break;
        case QTextCharFormat::DashDotLine:
            ziel.append("\\uldashd");
            break;
        case QTextCharFormat::DashDotDotLine:
            ziel.append("\\uldashdd");
            break;
        case QTextCharFormat::WaveUnderline:
            ziel.append("\\ulwave");
            break;
        default:
            break; // none, or the spell checker's mark, which is no formatting
        }
        switch (format.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            ziel.append("\\super");
            break;
        case QTextCharFormat::AlignSubScript:
            ziel.append("\\sub");
            break;
        default:
            break;
        }
        const QBrush vorne = format.foreground();
        if (vorne.style() != Qt::NoBrush)
            steuerwort(ziel, "\\cf", farbNummer(vorne.color()));
    }

    void bild(QByteArray& ziel, const QTextImageFormat& format) {
        const QImage bild = rtf::bild(m_dokument, format);
        if (bild.isNull())
            return; // a picture the document cannot show is left out, as on screen
        QByteArray png;
        QBuffer puffer(&png);
        puffer.open(QIODevice::WriteOnly);
        if (!bild.save(&puffer, "PNG"))
            return;

        // Shown at the format's size; one side given keeps the picture's proportions.
        const long double eigenBreite = bild.width() / bild.devicePixelRatio();
        const long double eigenHoehe = bild.height() / bild.devicePixelRatio();
        long double breite = format.width() > 0 ? format.width() : 0;
        long double hoehe = format.height() > 0 ? format.height() : 0;
        if (breite == 0 && hoehe == 0) {
            breite = eigenBreite;
            hoehe = eigenHoehe;
        } else if (breite == 0) {
            breite = hoehe * eigenBreite / eigenHoehe;
        } else if (hoehe == 0) {
            hoehe = breite * eigenHoehe / eigenBreite;
        }

        ziel.append("{\\pict\\pngblip");
        steuerwort(ziel, "\\picw", bild.width());
        steuerwort(ziel, "\\pich", bild.height());
        steuerwort(ziel, "\\picwgoal", gerundet(breite * kTwipsJePixel));
        steuerwort(ziel, "\\pichgoal", gerundet(hoehe * kTwipsJePixel));
        ziel.append("\r\n");
        const QByteArray hex = png.toHex();
        constexpr qsizetype kZeile = 128;
        for (qsizetype i = 0; i < hex.size(); i += kZeile) {
            ziel.append(hex.constData() + i, std::min(kZeile, hex.size() - i));
            ziel.append("\r\n");
        }
        ziel.append('}');
    }

    const QTextDocument& m_dokument;
    const QFont m_grundschrift;
    const rtf::Papier m_papier;
    const QList<QTextFormat> m_formate = m_dokument.allFormats();
    std::vector<std::optional<QByteArray>> m_woerter; // by format index, entry 0 for none
    QList<Schrift> m_schriften;
    QHash<QString, int> m_schriftNummern;
    QList<QRgb> m_farben;
};

} // namespace

namespace rtf {

QImage bild(const QTextDocument& dokument, const QTextImageFormat& format) {
    const QVariant quelle = dokument.resource(QTextDocument::ImageResource, QUrl(format.name()));
    switch (quelle.typeId()) {
    case QMetaType::QImage:
        return quelle.value<QImage>();
    case QMetaType::QPixmap:
        return quelle.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(quelle.toByteArray());
    default:
        return {};
    }
}

Papier papier(const QLocale& gebiet) {
    // The countries that keep US Letter, as the Unicode locale data lists them.
    static constexpr QLocale::Territory kLetter[] = {
        QLocale::UnitedStates, QLocale::Canada,    QLocale::Mexico,   QLocale::PuertoRico,
        QLocale::Philippines,  QLocale::Chile,     QLocale::Colombia, QLocale::CostaRica,
        QLocale::Guatemala,    QLocale::Nicaragua, QLocale::Panama,   QLocale::ElSalvador,
        QLocale::Venezuela,    QLocale::Belize};
    const bool letter =
        std::find(std::begin(kLetter), std::end(kLetter), gebiet.territory()) != std::end(kLetter);
    const QSizeF mm = QPageSize(letter ? QPageSize::Letter : QPageSize::A4).size(QPageSize::Millimeter);
    const auto twips = [](qreal millimeter) {
        return static_cast<int>(gerundet(millimeter / 25.4L * 1440.0L));
    };
    // Margins as the word processors of those countries start: 2 cm, or one inch.
    return {twips(mm.width()), twips(mm.height()), letter ? 1440 : 1134};
}

QByteArray ausDokument(const QTextDocument& dokument, const QLocale& gebiet) {
    QByteArray rtf;
    QBuffer puffer(&rtf);
    puffer.open(QIODevice::WriteOnly);
    schreibe(puffer, dokument, gebiet);
    return rtf;
}

void schreibe(QIODevice& ziel, const QTextDocument& dokument, const QLocale& gebiet) {
    Schreiber(dokument, gebiet).schreibe(ziel);
}

void schreibe(const QString& pfad, const QTextDocument& dokument, const QLocale& gebiet) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    // A failure or a cancel on the way leaves the file uncommitted, so the old one stays.
    schreibe(datei, dokument, gebiet);
    fehler::schliesseAb(datei);
}

} // namespace rtf
