// SPDX-License-Identifier: GPL-3.0-or-later
// The report document without a window: the lines' paragraphs and styles, and restyling a range.
#include "Fortschritt.h"
#include "Reportdokument.h"

#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

Q_DECLARE_METATYPE(Reportzeilen)

namespace {

// After the application exists: the font database needs it.
const QFont& grund() {
    static const QFont f = reportdokument::grundschrift(15);
    return f;
}

QFont wahl() {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPointSize(14);
    f.setItalic(true);
    return f;
}
const QColor kWahlfarbe = Qt::darkRed;

// n plain, f bold, u underlined, g both, all in the report font and black; x the font and
// colour of wahl(); b the picture; ? anything else.
QChar code(const QTextCharFormat& f) {
    if (f.isImageFormat())
        return f.toImageFormat().name() == QLatin1String("bild") ? u'b' : u'?';
    const QString familie = f.fontFamilies().toStringList().value(0);
    if (familie == wahl().family() && f.fontPointSize() == 14.0 &&
        !f.hasProperty(QTextFormat::FontPixelSize) && f.fontItalic() && f.fontWeight() == QFont::Normal &&
        !f.fontUnderline() && !f.fontStrikeOut() && f.foreground().color() == kWahlfarbe)
        return u'x';
    if (familie != grund().family() || f.intProperty(QTextFormat::FontPixelSize) != grund().pixelSize() ||
        f.foreground().color() != QColor(Qt::black) || f.fontItalic() || f.fontStrikeOut())
        return u'?';
    const bool fett = f.fontWeight() == QFont::Bold;
    if (!fett && f.fontWeight() != QFont::Normal)
        return u'?';
    return fett ? (f.fontUnderline() ? u'g' : u'f') : (f.fontUnderline() ? u'u' : u'n');
}

// Per paragraph the code of every character, then "|" and the code of its paragraph mark.
QString beschreibe(const QTextDocument& d) {
    QStringList absaetze;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        QString s;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            s += QString(it.fragment().length(), code(it.fragment().charFormat()));
        absaetze << s + u'|' + code(b.charFormat());
    }
    return absaetze.join(u' ');
}

QString text(const Reportzeilen& zeilen) {
    QStringList r;
    for (const Reportzeile& z : zeilen)
        r << z.text;
    return r.join(u'\n');
}

} // namespace

class TestReportdokument : public QObject {
    Q_OBJECT

private slots:
    void fuellen_data() {
        QTest::addColumn<Reportzeilen>("zeilen");
        QTest::addColumn<QString>("formate");

        QTest::newRow("Kopf, Zeilen, leere Zeile, Kopfzeile")
            << Reportzeilen{{Stil::Fett, "Kopf"}, {Stil::Normal, "ab"},        {Stil::Normal, ""},
                            {Stil::Fett, "E"},    {Stil::Unterstrichen, "Nm"}, {Stil::Normal, "x"}}
            << "ffff|f nn|n |n f|f uu|u n|n";
        // An empty line takes its height from its mark: after a heading it must not stay bold.
        QTest::newRow("leere Zeile nach Überschrift")
            << Reportzeilen{{Stil::FettUnterstrichen, "Ns"}, {Stil::Normal, ""}, {Stil::Normal, "p"}}
            << "gg|g |n n|n";
        QTest::newRow("leere erste Zeile") << Reportzeilen{{Stil::Normal, ""}, {Stil::Fett, "K"}} << "|n f|f";
        QTest::newRow("eine Zeile") << Reportzeilen{{Stil::Unterstrichen, "Name"}} << "uuuu|u";
        QTest::newRow("Stil wechselt jede Zeile")
            << Reportzeilen{{Stil::Normal, "a"}, {Stil::Fett, "b"}, {Stil::Normal, "c"}, {Stil::Fett, ""}}
            << "n|n f|f n|n |f";

        // More lines of one style than go in at once: the pieces join without a seam.
        Reportzeilen viele{{Stil::Fett, "K"}};
        QStringList formate{"f|f"};
        for (int i = 0; i < 3000; ++i) {
            const QString zeile = QStringLiteral("Zeile %1 mit einem Text von vierzig").arg(i, 4);
            viele.push_back({Stil::Normal, zeile});
            formate << QString(zeile.size(), u'n') + QStringLiteral("|n");
        }
        viele.push_back({Stil::Unterstrichen, "u"});
        formate << "u|u";
        QTest::newRow("3000 lines of one style") << viele << formate.join(u' ');
    }
    void fuellen() {
        QFETCH(Reportzeilen, zeilen);
        QFETCH(QString, formate);
        QTextDocument d;
        d.setPlainText(QStringLiteral("ein früherer Report"));
        reportdokument::fuellen(d, zeilen, grund());
        QCOMPARE(d.toPlainText(), text(zeilen));
        QCOMPARE(beschreibe(d), formate);
        QCOMPARE(d.defaultFont(), grund());
        // A new report is no edit to undo, and the document still records the user's edits.
        QVERIFY(!d.isUndoAvailable());
        QVERIFY(d.isUndoRedoEnabled());
    }

    // A cancel on the way ends the filling with fortschritt::Abgebrochen.
    void fuellenAbgebrochen() {
        Reportzeilen zeilen;
        for (int i = 0; i < 10000; ++i)
            zeilen.push_back({Stil::Normal, QStringLiteral("Zeile")});
        fortschritt::Stand stand;
        stand.abbrechen = true;
        const fortschritt::Bindung bindung(stand);
        QTextDocument d;
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, reportdokument::fuellen(d, zeilen, grund()));
    }

    void schriftSetzen_data() {
        QTest::addColumn<int>("von");
        QTest::addColumn<int>("bis");
        QTest::addColumn<QString>("formate");

        // The document: "Kopf" bold (0-3, mark 4), an empty line (mark 5), "Na" underlined
        // (6-7, mark 8), "An" (9-10, mark 11), the picture (12, mark 13, the last).
        QTest::newRow("alles") << 0 << 13 << "xxxx|x |x xx|x xx|x b|n";
        QTest::newRow("Teil einer Zeile") << 1 << 3 << "fxxf|f |n uu|u nn|n b|n";
        QTest::newRow("über Absatzgrenzen") << 2 << 7 << "ffxx|x |x xu|u nn|n b|n";
        QTest::newRow("nur die leere Zeile") << 5 << 6 << "ffff|f |x uu|u nn|n b|n";
        QTest::newRow("bis hinter das Bild") << 11 << 13 << "ffff|f |n uu|u nn|x b|n";
        QTest::newRow("leerer Bereich") << 7 << 7 << "ffff|f |n uu|u nn|n b|n";
    }
    void schriftSetzen() {
        QFETCH(int, von);
        QFETCH(int, bis);
        QFETCH(QString, formate);
        QTextDocument d;
        reportdokument::fuellen(
            d, {{Stil::Fett, "Kopf"}, {Stil::Normal, ""}, {Stil::Unterstrichen, "Na"}, {Stil::Normal, "An"}},
            grund());
        QTextCursor ende(&d);
        ende.movePosition(QTextCursor::End);
        ende.insertBlock(QTextBlockFormat(), reportdokument::zeilenformat(grund(), Stil::Normal));
        QImage bild(4, 4, QImage::Format_RGB32);
        bild.fill(Qt::red);
        d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("bild")), bild);
        QTextImageFormat bildformat;
        bildformat.setName(QStringLiteral("bild"));
        ende.insertImage(bildformat);
        QCOMPARE(beschreibe(d), QStringLiteral("ffff|f |n uu|u nn|n b|n"));

        reportdokument::schriftSetzen(d, von, bis, wahl(), kWahlfarbe);
        QCOMPARE(beschreibe(d), formate);
        QCOMPARE(d.toPlainText(), QStringLiteral("Kopf\n\nNa\nAn\n") + QChar::ObjectReplacementCharacter);
    }
};

QTEST_MAIN(TestReportdokument)
#include "tst_reportdokument.moc"
