// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reportdokument.h"

#include "Fortschritt.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace reportdokument {

namespace {
// Characters of one insertion, and lines between two progress reports.
constexpr qsizetype kStueck = 64 * 1024;
constexpr std::size_t kZeilenJeMeldung = 4096;
} // namespace

QFont grundschrift(int pixel) {
    QFont f = QFontDatabase::families().contains(QStringLiteral("Lucida Console"))
                  ? QFont(QStringLiteral("Lucida Console"))
                  : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::Monospace);
    // Latin text in a fixed-width font needs no shaping; skipping it makes long reports lay out faster.
    f.setStyleStrategy(QFont::PreferNoShaping);
    f.setPixelSize(std::max(1, pixel));
    return f;
}

QTextCharFormat zeilenformat(const QFont& grundschrift, Stil stil) {
    QTextCharFormat f;
    f.setFont(grundschrift);
    f.setForeground(Qt::black);
    if (stil == Stil::Fett || stil == Stil::FettUnterstrichen)
        f.setFontWeight(QFont::Bold);
    if (stil == Stil::Unterstrichen || stil == Stil::FettUnterstrichen)
        f.setFontUnderline(true);
    return f;
}

void fuellen(QTextDocument& dokument, const Reportzeilen& zeilen, const QFont& grundschrift) {
    const QTextCharFormat formate[] = {
        zeilenformat(grundschrift, Stil::Normal), zeilenformat(grundschrift, Stil::Fett),
        zeilenformat(grundschrift, Stil::Unterstrichen), zeilenformat(grundschrift, Stil::FettUnterstrichen)};
    const bool rueckgaengig = dokument.isUndoRedoEnabled();
    dokument.setUndoRedoEnabled(false);
    dokument.clear();
    dokument.setDefaultFont(grundschrift);
    QTextCursor c(&dokument);
    c.beginEditBlock();
    // Lines of one style go in as pieces of many lines, each line break a paragraph of that
    // style; a piece is bounded, so the lines are never held a second time as one text.
    const auto gesamt = static_cast<qint64>(zeilen.size());
    QString stueck;
    stueck.reserve(kStueck + 256);
    bool erstesStueck = true;
    for (std::size_t i = 0; i < zeilen.size(); ++i) {
        if (i % kZeilenJeMeldung == 0)
            fortschritt::melde(static_cast<qint64>(i), gesamt);
        const Stil stil = zeilen.stil(i);
        if (i > 0)
            stueck += u'\n';
        stueck += zeilen.text(i);
        if (i + 1 == zeilen.size() || zeilen.stil(i + 1) != stil || stueck.size() >= kStueck) {
            const QTextCharFormat& f = formate[static_cast<int>(stil)];
            // The first paragraph's mark is there already; an empty first line leaves the
            // cursor at 0, so the piece decides, not the position.
            if (erstesStueck)
                c.setBlockCharFormat(f);
            erstesStueck = false;
            c.insertText(stueck, f);
            stueck.resize(0); // keeps its room for the next piece
        }
    }
    c.endEditBlock();
    dokument.setUndoRedoEnabled(rueckgaengig);
}

Schriftaenderung Schriftaenderung::zwischen(const QFont& vorher, const QColor& farbeVorher,
                                            const QFont& nachher, const QColor& farbeNachher) {
    Schriftaenderung a;
    if (nachher.family() != vorher.family())
        a.familie = nachher.family();
    if (nachher.pointSizeF() != vorher.pointSizeF() && nachher.pointSizeF() > 0)
        a.punkte = nachher.pointSizeF();
    if (nachher.weight() != vorher.weight())
        a.gewicht = nachher.weight();
    if (nachher.italic() != vorher.italic())
        a.kursiv = nachher.italic();
    if (nachher.underline() != vorher.underline())
        a.unterstrichen = nachher.underline();
    if (nachher.strikeOut() != vorher.strikeOut())
        a.durchgestrichen = nachher.strikeOut();
    if (farbeNachher != farbeVorher)
        a.farbe = farbeNachher;
    return a;
}

bool Schriftaenderung::leer() const {
    return !familie && !punkte && !gewicht && !kursiv && !unterstrichen && !durchgestrichen && !farbe;
}

QTextCharFormat Schriftaenderung::angewandt(QTextCharFormat f) const {
    if (familie || gewicht || kursiv)
        f.clearProperty(QTextFormat::FontStyleName); // a style name would win over them
    if (familie)
        f.setFontFamilies(QStringList{*familie});
    if (punkte) {
        f.clearProperty(QTextFormat::FontPixelSize); // a pixel size left behind would win
        f.setFontPointSize(*punkte);
    }
    if (gewicht)
        f.setFontWeight(*gewicht);
    if (kursiv)
        f.setFontItalic(*kursiv);
    if (unterstrichen)
        f.setFontUnderline(*unterstrichen);
    if (durchgestrichen)
        f.setFontStrikeOut(*durchgestrichen);
    if (farbe)
        f.setForeground(*farbe);
    return f;
}

void Schriftaenderung::anwenden(QTextDocument& dokument, int von, int bis) const {
    if (leer())
        return;
    // Collected first: restyling splits the fragments being walked.
    struct Stelle {
        int anfang, ende;
        QTextCharFormat format;
    };
    std::vector<Stelle> stellen;
    std::vector<QTextBlock> absaetze;
    for (QTextBlock b = dokument.findBlock(von); b.isValid() && b.position() <= bis; b = b.next()) {
        absaetze.push_back(b);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment stueck = it.fragment();
            const int anfang = std::max(von, stueck.position());
            const int ende = std::min(bis, stueck.position() + stueck.length());
            if (anfang < ende && !stueck.charFormat().isImageFormat())
                stellen.push_back({anfang, ende, angewandt(stueck.charFormat())});
        }
    }
    QTextCursor c(&dokument);
    c.beginEditBlock();
    for (const Stelle& s : stellen) {
        c.setPosition(s.anfang);
        c.setPosition(s.ende, QTextCursor::KeepAnchor);
        c.setCharFormat(s.format);
    }
    // The paragraph marks inside the range too, so empty lines take a new height.
    for (const QTextBlock& b : absaetze) {
        const int marke = b.position() + b.length() - 1;
        if (marke >= von && marke < bis) {
            c.setPosition(b.position());
            c.setBlockCharFormat(angewandt(b.charFormat()));
        }
    }
    c.endEditBlock();
}

void schriftSetzen(QTextDocument& dokument, int von, int bis, const QFont& schrift, const QColor& farbe) {
    // Everything changes: the change from no font to this one.
    Schriftaenderung alles;
    alles.familie = schrift.family();
    alles.punkte = schrift.pointSizeF() > 0 ? schrift.pointSizeF() : QFontInfo(schrift).pointSizeF();
    alles.gewicht = schrift.weight();
    alles.kursiv = schrift.italic();
    alles.unterstrichen = schrift.underline();
    alles.durchgestrichen = schrift.strikeOut();
    alles.farbe = farbe;
    alles.anwenden(dokument, von, bis);
}

} // namespace reportdokument
