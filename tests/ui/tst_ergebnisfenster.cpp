// SPDX-License-Identifier: GPL-3.0-or-later
// The report window offscreen: the lines with their styles, pasting the chart, copy, font
// change, RTF and PDF saving.
#include "Ergebnisfenster.h"
#include "Hilfe.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"

#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>

namespace {

Reportzeilen beispielreport() {
    Auswertung a;
    a.FEintraege = {testeintrag("J\xFCrgen", 50, 1.0), testeintrag("Anna", 25, 4.0),
                    testeintrag("Bert", 10, 5.0)};
    TNotenskala s;
    s.vollepunkte = 2; // a short table
    return reportZeilen(a, s, 4.0);
}

QImage testbild() {
    QImage bild(40, 20, QImage::Format_RGB32);
    bild.fill(Qt::red);
    return bild;
}

int bilderIn(const QTextDocument& d) {
    int n = 0;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            n += it.fragment().charFormat().isImageFormat() ? it.fragment().length() : 0;
    return n;
}

// The format of the first character of the line that reads `text`.
QTextCharFormat formatDerZeile(const QTextDocument& d, const QString& text) {
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        if (b.text() == text)
            return b.begin().fragment().charFormat();
    return {};
}

QString plain(const Reportzeilen& zeilen) {
    QStringList r;
    for (const Reportzeile& z : zeilen)
        r << z.text;
    return r.join(u'\n');
}

// Answers the next font dialog: with a font and colour, or cancels it.
void beantworteSchriftdialog(std::optional<QFont> schrift, QColor farbe = Qt::black) {
    QTimer::singleShot(0, [schrift, farbe] {
        auto* dialog = qobject_cast<Schriftdialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (!schrift) {
            dialog->reject();
            return;
        }
        dialog->setzeSchrift(*schrift);
        dialog->setzeFarbe(farbe);
        dialog->accept();
    });
}

// The standard output of a tool.
QString lauf(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestErgebnisfenster : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();
    std::unique_ptr<TErgebnis> m_fenster;
    QTemporaryDir m_ordner;

private slots:
    void init() {
        m_umgebung.vergiss();
        m_fenster = std::make_unique<TErgebnis>();
        m_fenster->zeigeZeilen(beispielreport());
    }
    void cleanup() { m_fenster.reset(); }

    void aufbau() {
        TErgebnis& f = *m_fenster;
        QCOMPARE(f.objectName(), QStringLiteral("Ergebnis"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Ergebnis"));
        QVERIFY(!f.isVisible());
        QStringList knoepfe;
        for (QAction* a : f.ToolBar1->actions())
            knoepfe << (a->isSeparator() ? QStringLiteral("|") : a->objectName() + u'=' + a->toolTip());
        QCOMPARE(knoepfe,
                 QStringList({"savebut=Text im RTF Format speichern",
                              "copybut=Markierten Text in die Zwischenablage kopieren",
                              "fontbut=Font für selektierten Bereich wählen", "closebut=Fenster schließen",
                              "helpbut=", "|", "druckbut=Drucken", "pdfbut=Als PDF speichern"}));
        QVERIFY(QFontInfo(f.report->document()->defaultFont()).fixedPitch());
        QVERIFY(!f.report->isReadOnly());
        QCOMPARE(f.SaveDialog1->nameFilters(), QStringList({"Richedit Dateien (*.rtf)", "Alles (*.*)"}));
        f.zeige();
        QVERIFY(f.isVisible());
        f.closebut->trigger();
        QVERIFY(!f.isVisible());
        QVERIFY(!f.report->toPlainText().isEmpty()); // closing only hides
        f.helpbut->trigger();
        QCOMPARE(hilfe::letzterKontext(), 400);
        QVERIFY(hilfe::fenster()->toPlainText().contains(QStringLiteral("Als PDF speichern")));
    }

    void zeilenMitStil_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<bool>("fett");
        QTest::addColumn<bool>("unterstrichen");
        QTest::newRow("bold") << "Prüfungsergebnisse" << true << false;
        QTest::newRow("underlined") << QString(QStringLiteral("Name").leftJustified(30) + "  Punkte  Note")
                                    << false << true;
        QTest::newRow("both") << "Notenspiegel" << true << true;
        QTest::newRow("plain") << "Bestanden:          2" << false << false;
    }
    void zeilenMitStil() {
        QFETCH(QString, zeile);
        QFETCH(bool, fett);
        QFETCH(bool, unterstrichen);
        const QTextCharFormat f = formatDerZeile(*m_fenster->report->document(), zeile);
        QVERIFY2(f.isValid(), qPrintable(zeile));
        QCOMPARE(f.fontWeight() >= QFont::Bold, fett);
        QCOMPARE(f.fontUnderline(), unterstrichen);
        QVERIFY(!f.fontItalic() && !f.fontStrikeOut());
    }

    // A second run replaces the text and shows its start; pasted text goes on a plain line at the end.
    void neuerReportErsetzt() {
        Reportzeilen kurz{{Stil::FettUnterstrichen, "Kopf"}, {Stil::Normal, "Zeile"}};
        m_fenster->zeigeZeilen(kurz);
        QCOMPARE(m_fenster->report->toPlainText(), QStringLiteral("Kopf\nZeile"));
        QCOMPARE(m_fenster->report->textCursor().position(), 0);
        QGuiApplication::clipboard()->setText(QStringLiteral("Nachtrag"));
        m_fenster->einfuegen();
        QCOMPARE(m_fenster->report->toPlainText(), QStringLiteral("Kopf\nZeile\nNachtrag"));
        const QTextCharFormat f = formatDerZeile(*m_fenster->report->document(), QStringLiteral("Nachtrag"));
        QVERIFY(!f.fontUnderline() && f.fontWeight() < QFont::Bold);
    }

    void bildEinfuegen() {
        QGuiApplication::clipboard()->setImage(testbild());
        m_fenster->einfuegen();
        const QTextDocument& d = *m_fenster->report->document();
        QCOMPARE(bilderIn(d), 1);
        QCOMPARE(d.lastBlock().text(), QString(QChar::ObjectReplacementCharacter));
        QCOMPARE(d.toPlainText(), plain(beispielreport()) + u'\n' + QChar::ObjectReplacementCharacter);
    }

    void kopieren_data() {
        QTest::addColumn<int>("von"); // -1: nothing selected
        QTest::addColumn<int>("bis");
        QTest::addColumn<bool>("mitBild");
        QTest::newRow("nothing selected: everything with the picture") << -1 << -1 << true;
        QTest::newRow("a part: only that part") << 0 << 18 << false;
    }
    void kopieren() {
        QFETCH(int, von);
        QFETCH(int, bis);
        QFETCH(bool, mitBild);
        QGuiApplication::clipboard()->setImage(testbild());
        m_fenster->einfuegen();
        QTextCursor c = m_fenster->report->textCursor();
        if (von >= 0) {
            c.setPosition(von);
            c.setPosition(bis, QTextCursor::KeepAnchor);
        } else {
            c.setPosition(5);
        }
        m_fenster->report->setTextCursor(c);

        m_fenster->copybut->trigger();
        const QMimeData* m = QGuiApplication::clipboard()->mimeData();
        QVERIFY(m);
        QVERIFY(m->data(QStringLiteral("text/rtf")).startsWith("{\\rtf1"));
        QCOMPARE(m->data(QStringLiteral("application/rtf")), m->data(QStringLiteral("text/rtf")));
        QVERIFY(m->hasHtml());
        QCOMPARE(m->html().contains(QStringLiteral("data:image/png;base64,")), mitBild);
        QCOMPARE(m->hasImage(), mitBild);
        QCOMPARE(m->text(),
                 von >= 0 ? QStringLiteral("Prüfungsergebnisse") : plain(beispielreport()) + u'\n');
        // The umlaut travels as an RTF escape, never as a raw byte.
        QVERIFY(m->data(QStringLiteral("text/rtf")).contains("Pr\\'fcfungsergebnisse"));

        const QTextCursor nachher = m_fenster->report->textCursor();
        QVERIFY(!nachher.hasSelection());
        QCOMPARE(nachher.position(), std::max(von, 0));
    }

    void schrift_data() {
        QTest::addColumn<int>("von"); // -1: nothing selected
        QTest::addColumn<int>("bis");
        QTest::addColumn<bool>("bestaetigt");
        QTest::newRow("nothing selected, cancelled") << -1 << -1 << false;
        QTest::newRow("nothing selected, confirmed") << -1 << -1 << true;
        QTest::newRow("a part, confirmed") << 0 << 10 << true;
        QTest::newRow("a part, cancelled") << 0 << 10 << false;
    }
    void schrift() {
        QFETCH(int, von);
        QFETCH(int, bis);
        QFETCH(bool, bestaetigt);
        QTextEdit* r = m_fenster->report;
        const int ende = r->document()->characterCount() - 1;
        QTextCursor c = r->textCursor();
        c.setPosition(von >= 0 ? von : 3);
        if (von >= 0)
            c.setPosition(bis, QTextCursor::KeepAnchor);
        r->setTextCursor(c);

        QFont wahl(QStringLiteral("DejaVu Serif"));
        wahl.setPointSize(14);
        wahl.setItalic(true);
        beantworteSchriftdialog(bestaetigt ? std::optional(wahl) : std::nullopt, Qt::darkRed);
        m_fenster->fontbut->trigger();

        const int anfang = std::max(von, 0);
        const QTextCursor nachher = r->textCursor();
        if (!bestaetigt) {
            // Nothing changes; a selection made by the command stays for the next try.
            QCOMPARE(nachher.selectionStart(), anfang);
            QCOMPARE(nachher.selectionEnd(), von >= 0 ? bis : ende);
            QVERIFY(formatDerZeile(*r->document(), "Prüfungsergebnisse").fontWeight() >= QFont::Bold);
            return;
        }
        QVERIFY(!nachher.hasSelection());
        QCOMPARE(nachher.position(), anfang);
        const int bisGeaendert = von >= 0 ? bis : ende;
        for (int pos : {anfang, bisGeaendert - 1, bisGeaendert}) {
            if (pos >= ende)
                continue;
            QTextCursor p(r->document());
            p.setPosition(pos + 1); // the format of the character before the cursor
            const QTextCharFormat f = p.charFormat();
            const bool innen = pos < bisGeaendert;
            QCOMPARE(f.fontItalic(), innen);
            if (innen) {
                // The dialog's style replaces the headings' bold.
                QCOMPARE(f.fontFamilies().toStringList().value(0), QStringLiteral("DejaVu Serif"));
                QCOMPARE(f.fontPointSize(), 14.0);
                QVERIFY(f.fontWeight() < QFont::Bold);
                QCOMPARE(f.foreground().color(), QColor(Qt::darkRed));
            }
        }
    }

    // The dialog opens with the font of the selection; what the user leaves alone stays as it
    // was in every line (headings bold and underlined, the fixed-width font of the columns).
    void schriftNurGeaendertes_data() {
        QTest::addColumn<QString>("aenderung");
        QTest::newRow("nothing changed") << QString();
        QTest::newRow("bold off") << QStringLiteral("normal");
        QTest::newRow("size") << QStringLiteral("groesse");
        QTest::newRow("colour") << QStringLiteral("farbe");
    }
    void schriftNurGeaendertes() {
        QFETCH(QString, aenderung);
        QTextEdit* r = m_fenster->report;
        QTextDocument* d = r->document();
        const QTextCharFormat kopfVorher = formatDerZeile(*d, "Notenspiegel");
        const QTextCharFormat zeileVorher = formatDerZeile(*d, "Bestanden:          2");
        const QString reportschrift = QFontInfo(zeileVorher.font().resolve(d->defaultFont())).family();

        QFont geoeffnet;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<Schriftdialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            geoeffnet = dialog->schrift();
            QFont f = dialog->schrift();
            if (aenderung == QLatin1String("normal"))
                f.setBold(false); // the first line is bold
            else if (aenderung == QLatin1String("groesse"))
                f.setPointSize(20);
            if (aenderung == QLatin1String("farbe"))
                dialog->setzeFarbe(Qt::blue);
            dialog->setzeSchrift(f);
            dialog->accept();
        });
        m_fenster->fontbut->trigger(); // nothing selected: the whole text
        // The first line's font, not the dialog's own start.
        QCOMPARE(geoeffnet.family(), QFontInfo(formatDerZeile(*d, "Prüfungsergebnisse").font()).family());
        QVERIFY(geoeffnet.bold());

        const QTextCharFormat kopf = formatDerZeile(*d, "Notenspiegel");
        const QTextCharFormat zeile = formatDerZeile(*d, "Bestanden:          2");
        for (const QTextCharFormat& f : {kopf, zeile})
            QCOMPARE(QFontInfo(f.font().resolve(d->defaultFont())).family(), reportschrift);
        QVERIFY(kopf.fontUnderline());
        QVERIFY(!zeile.fontUnderline());
        QVERIFY(zeile.fontWeight() < QFont::Bold);
        QCOMPARE(kopf.fontWeight() >= QFont::Bold, aenderung != QLatin1String("normal"));
        if (aenderung == QLatin1String("groesse")) {
            QCOMPARE(kopf.fontPointSize(), 20.0);
            QCOMPARE(QFontInfo(zeile.font()).pointSize(), 20);
        } else {
            QCOMPARE(QFontInfo(zeile.font()).pixelSize(), QFontInfo(zeileVorher.font()).pixelSize());
        }
        QCOMPARE(zeile.foreground().color(),
                 aenderung == QLatin1String("farbe") ? QColor(Qt::blue) : QColor(Qt::black));
        if (aenderung.isEmpty()) {
            QCOMPARE(kopf, kopfVorher);
            QCOMPARE(zeile, zeileVorher);
        }
    }

    // Tahoma from Wine's fonts: its bold face is drawn, and the dialog names the styles in German.
    void tahomaFett() {
        if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")))
            QSKIP("Tahoma fehlt (fonts-wine)");
        QTextEdit* r = m_fenster->report;
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<Schriftdialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QFontDialog* wahl = dialog->schriftwahl;
            QFont f = QFontDatabase::font(QStringLiteral("Tahoma"), QStringLiteral("Bold"), 12);
            dialog->setzeSchrift(f);
            QStringList stile;
            for (QListView* liste : wahl->findChildren<QListView*>()) {
                QStringList namen;
                auto* zeige = qobject_cast<QStyledItemDelegate*>(liste->itemDelegate());
                for (int i = 0; zeige && i < liste->model()->rowCount(); ++i)
                    namen << zeige->displayText(liste->model()->index(i, 0).data(), QLocale());
                if (namen.contains(QStringLiteral("Fett")))
                    stile = namen;
            }
            QCOMPARE(stile, (QStringList{"Normal", "Fett"}));
            const QList<QLineEdit*> felder = wahl->findChildren<QLineEdit*>();
            QVERIFY(felder.size() >= 2);
            QCOMPARE(felder[1]->text(), QStringLiteral("Fett"));
            dialog->accept();
        });
        // A plain line: its font and its weight change.
        QTextCursor c(r->document());
        for (QTextBlock b = r->document()->begin(); b.isValid(); b = b.next())
            if (b.text() == QStringLiteral("Bestanden:          2")) {
                c.setPosition(b.position());
                c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
            }
        QVERIFY(c.hasSelection());
        r->setTextCursor(c);
        m_fenster->fontbut->trigger();
        const QTextCharFormat f = formatDerZeile(*r->document(), "Bestanden:          2");
        const QFontInfo info(f.font());
        QCOMPARE(info.family(), QStringLiteral("Tahoma"));
        QVERIFY(info.bold());
        // Drawn with the bold face: wider than the same text in the regular one.
        QFont normal = f.font();
        normal.setWeight(QFont::Normal);
        QVERIFY(QFontMetrics(f.font()).horizontalAdvance(QStringLiteral("Bestanden")) >
                QFontMetrics(normal).horizontalAdvance(QStringLiteral("Bestanden")));
        QCOMPARE(Schriftdialog::stilname(QStringLiteral("Bold Italic")), QStringLiteral("Fett Kursiv"));
        QCOMPARE(Schriftdialog::stilname(QStringLiteral("Regular")), QStringLiteral("Normal"));
    }

    void speichernHaengtRtfAn() {
        const QString ohneEndung = m_ordner.filePath(QStringLiteral("bericht"));
        uitest::beantworteDateidialog(ohneEndung);
        m_fenster->savebut->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QFile f(ohneEndung + QStringLiteral(".rtf"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        QVERIFY(rtf.startsWith("{\\rtf1"));
        QVERIFY(rtf.contains("Notenspiegel"));
        QVERIFY(!QFile::exists(ohneEndung));
    }

    void speichernFehlerMeldet() {
        uitest::beantworteDateidialog(m_ordner.filePath(QStringLiteral("fehlt/bericht.rtf")));
        m_fenster->savebut->trigger();
        QCOMPARE(m_umgebung.meldungen.size(), 1);
        QVERIFY(!QFile::exists(m_ordner.filePath(QStringLiteral("fehlt/bericht.rtf"))));
    }

    void pdfEnthaeltText() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils is not installed; scripts/install-deps brings it");
        QGuiApplication::clipboard()->setImage(testbild());
        m_fenster->einfuegen();
        const QString ohneEndung = m_ordner.filePath(QStringLiteral("bericht"));
        uitest::beantworteDateidialog(ohneEndung);
        m_fenster->pdfbut->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        const QString pdf = ohneEndung + QStringLiteral(".pdf");
        QVERIFY(QFile::exists(pdf));

        const QString text =
            lauf(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        for (const char* teil : {"Prüfungsergebnisse", "Jürgen", "Notenspiegel"})
            QVERIFY2(text.contains(QString::fromUtf8(teil)), qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Anna +: 25,0 +4,0"))), qPrintable(text));
        // The field's fixed-width font is the one embedded.
        const QString familie = QFontInfo(m_fenster->report->document()->defaultFont()).family().remove(u' ');
        const QString schriften = lauf(QStringLiteral("pdffonts"), {pdf});
        QVERIFY2(schriften.contains(familie), qPrintable(schriften));
        // The 40 pixels wide picture fills the 170 mm between the margins: about 6 pixels per inch.
        const QStringList bilder = lauf(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                       .split(u'\n', Qt::SkipEmptyParts)
                                       .mid(2);
        QCOMPARE(bilder.size(), 1);
        const QStringList spalten = bilder[0].split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(spalten.value(3), QStringLiteral("40")); // width
        QCOMPARE(spalten.value(12), QStringLiteral("6")); // x-ppi
    }
};

QTEST_MAIN(TestErgebnisfenster)
#include "tst_ergebnisfenster.moc"
