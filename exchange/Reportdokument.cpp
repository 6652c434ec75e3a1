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

void schriftSetzen(QTextDocument& dokument, int von, int bis, const QFont& schrift, const QColor& farbe) {
    auto umformen = [&](QTextCharFormat f) {
        // The dialog gives points; a pixel size left behind would win over them.
        f.clearProperty(QTextFormat::FontPixelSize);
        f.clearProperty(QTextFormat::FontStyleName);
        f.setFontFamilies(QStringList{schrift.family()});
        const qreal punkte =
            schrift.pointSizeF() > 0 ? schrift.pointSizeF() : QFontInfo(schrift).pointSizeF();
        f.setFontPointSize(punkte);
        f.setFontWeight(schrift.weight());
        f.setFontItalic(schrift.italic());
        f.setFontUnderline(schrift.underline());
        f.setFontStrikeOut(schrift.strikeOut());
        f.setForeground(farbe);
        return f;
    };

    // Collected first: restyling splits the fragments being walked. Pictures keep their format.
    struct Stelle {
        int anfang;
        int ende;
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
                stellen.push_back({anfang, ende, umformen(stueck.charFormat())});
        }
    }
    QTextCursor c(&dokument);
    c.beginEditBlock();
    for (const Stelle& s : stellen) {
        c.setPosition(s.anfang);
        c.setPosition(s.ende, QTextCursor::KeepAnchor);
        c.setCharFormat(s.format);
    }
    // The paragraph marks inside the range too, so empty lines take the new height.
    for (const QTextBlock& b : absaetze) {
        const int marke = b.position() + b.length() - 1;
        if (marke >= von && marke < bis) {
            c.setPosition(b.position());
            c.setBlockCharFormat(umformen(b.charFormat()));
        }
    }
    c.endEditBlock();
}

} // namespace reportdokument
