// SPDX-License-Identifier: GPL-3.0-or-later
// The classification and the histogram through the real windows, offscreen.
#include "Ergebnisfenster.h"
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Klassen.h"
#include "Programm.h"
#include "Radiogruppe.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "chartformularunit.h"
#include "einstellungen.h"
#include "importform.h"
#include "klassenunit.h"
#include "notenvergabe.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>

namespace {

QString zelle(TKlassenauswertungsform* k, int spalte, int zeile) {
    return k->raster().text(spalte, zeile);
}

// Moves the grid's current cell and types `text` there as keystrokes.
void tippe(TKlassenauswertungsform* k, int zeile, const QString& text) {
    k->erg->setCurrentIndex(k->erg->model()->index(zeile - 1, Klassenraster::Gruppe));
    QTest::keyClicks(k->erg, text);
}

// The cell editor open in the grid.
QWidget* editor(TKlassenauswertungsform* k) {
    auto* e = k->erg->viewport()->findChild<QLineEdit*>();
    return e ? static_cast<QWidget*>(e) : k->erg;
}

} // namespace

class TestKlassenfenster : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void entwurf() {
        Programm p;
        TKlassenauswertungsform* k = p.Klassenauswertungsform();
        QCOMPARE(k->windowTitle(), QStringLiteral("Klassenauswertung"));
        QCOMPARE(k->erg->columnWidth(0), 60);
        QCOMPARE(k->erg->columnWidth(5), 120);
        QStringList kopf;
        for (int s = 0; s < Klassenraster::SpaltenAnzahl; ++s)
            kopf << k->erg->model()->headerData(s, Qt::Horizontal).toString();
        QCOMPARE(kopf.join(u'|'),
                 QStringLiteral("Nummer|Notendurchschnitt|Anzahl der Noten|Prozentualer Anteil|"
                                "ECTS Gruppe (A-F)|ECTS Gruppenteil"));
        QVERIFY(k->okbut->isDefault());
        QCOMPARE(p.Chartform()->windowTitle(), QStringLiteral("Histogramm"));
    }

    void klassifizierenUndHistogramm() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        TKlassenauswertungsform* k = p.Klassenauswertungsform();
        QAbstractItemModelTester pruefer(k->erg->model(),
                                         QAbstractItemModelTester::FailureReportingMode::QtTest);
        // Ten students, nine passed: grades 1.0 (3), 2.0 (2), 3.0 (4), 5.0 (1).
        h->daten().FEintraege = {testeintrag("Ida", 0, 3),  testeintrag("Anna", 0, 1),
                                 testeintrag("Bert", 0, 2), testeintrag("Carl", 0, 1),
                                 testeintrag("Dora", 0, 5), testeintrag("Emil", 0, 3),
                                 testeintrag("Fina", 0, 2), testeintrag("Gero", 0, 3),
                                 testeintrag("Hans", 0, 1), testeintrag("Jana", 0, 3)};
        h->daten().OriginalMerken();
        h->Anzeigen();

        QStringList spalte5;
        QTimer::singleShot(0, k, [&] {
            QVERIFY(k->isVisible());
            QCOMPARE(zelle(k, Klassenraster::Gruppe, 1), QStringLiteral("A"));
            QCOMPARE(zelle(k, Klassenraster::Gruppe, 4), QStringLiteral("F"));
            QCOMPARE(zelle(k, Klassenraster::Anteil, 1), QStringLiteral("33,3%"));
            tippe(k, 3, QStringLiteral("b"));
            // Typing goes to the cell at once; the key release recomputes the shares.
            QCOMPARE(zelle(k, Klassenraster::Gruppe, 3), QStringLiteral("b"));
            spalte5 << zelle(k, Klassenraster::Gruppenteil, 1) << zelle(k, Klassenraster::Gruppenteil, 3);
            QTest::keyClick(editor(k), Qt::Key_Backspace);
            QTest::keyClicks(editor(k), QStringLiteral("B"));
            QTest::keyClick(editor(k), Qt::Key_Down);
            spalte5 << zelle(k, Klassenraster::Gruppenteil, 1) << zelle(k, Klassenraster::Gruppenteil, 3)
                    << zelle(k, Klassenraster::Gruppenteil, 4);
            k->close(); // the close box: letters are read all the same
        });
        h->klasseneinteilung->trigger();

        QCOMPARE(spalte5, (QStringList{"55,6%", "44,4%", "55,6%", "44,4%", klassen::kNichtBeruecksichtigt}));
        QCOMPARE(QList<int>(h->daten().FEctsAnzahl.begin(), h->daten().FEctsAnzahl.end()),
                 (QList<int>{5, 4, 0, 0, 0, 1}));
        // Sorted by grade in the order of the exchange sort.
        QStringList gruppen;
        for (int zeile = 1; zeile <= h->modell().rowCount(); ++zeile)
            gruppen << h->modell().zellText(1, zeile) + u'=' + h->modell().zellText(4, zeile);
        QCOMPARE(gruppen.join(u' '), QStringLiteral("Anna=A Carl=A Hans=A Fina=A Bert=A Ida=B Gero=B Emil=B "
                                                    "Jana=B Dora=F"));
        QCOMPARE(h->daten().FOriginal[0].ects, u'B'); // Ida, first as imported

        // The cells are kept for the next use.
        QTimer::singleShot(0, k, [k] {
            QCOMPARE(zelle(k, Klassenraster::Gruppe, 3), QStringLiteral("B"));
            QTest::keyClick(k->erg, Qt::Key_Return); // the default button closes
        });
        h->klasseneinteilung->trigger();
        QVERIFY(!k->isVisible());

        p.einstellungsdialog()->auswahl->setItemIndex(3);
        h->Histogramm->trigger();
        TChartform* c = p.Chartform();
        QVERIFY(c->isVisible());
        QCOMPARE(c->titel(), QStringLiteral("Notenverteilung"));
        QCOMPARE(c->beschriftungen(), (QStringList{"1,0-2,0", "2,0-3,0", "3,0-4,0", "5,0-6,0"}));
        QCOMPARE(c->werte(), (std::vector<int>{3, 2, 4, 1}));
        // The histogram's classes keep the letters of their students, for the report after it.
        QCOMPARE(h->daten().FKlassen.front().ects, u'A');
        QCOMPARE(h->modell().zellText(4, 1), QStringLiteral("A"));

        const QImage bild = c->bild();
        QVERIFY(!bild.isNull());
        QCOMPARE(bild.pixelColor(2, 2), QColor(Qt::white));
        bool balkenFarbe = false;
        for (int y = 0; y < bild.height() && !balkenFarbe; ++y)
            for (int x = 0; x < bild.width() && !balkenFarbe; ++x)
                balkenFarbe = bild.pixelColor(x, y) == QColor(0, 64, 128);
        QVERIFY(balkenFarbe);

        h->KeineKlasenasuwertung1->trigger();
        QVERIFY(h->daten().FKlassen.empty());
        QCOMPARE(h->daten().FEctsAnzahl[0], 5);
        QCOMPARE(h->modell().zellText(4, 1), QStringLiteral("A"));
    }

    // "Vorschlag" writes the percentile split into the group column and its shares at once;
    // the letters are read back as if typed.
    void vorschlag() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        TKlassenauswertungsform* k = p.Klassenauswertungsform();
        // Nine of ten passed: grades 1.0 (3), 2.0 (2), 3.0 (4), 5.0 (1).
        for (double note : {3, 1, 2, 1, 5, 3, 2, 3, 1, 3})
            h->daten().FEintraege.push_back(testeintrag("x", 0, note));
        h->daten().OriginalMerken();
        h->Anzeigen();

        QStringList gruppen, anteile;
        QTimer::singleShot(0, k, [&] {
            tippe(k, 2, QStringLiteral("D"));
            QTest::keyClick(editor(k), Qt::Key_Return);
            k->vorschlagbut->click();
            for (int zeile = 1; zeile <= 4; ++zeile) {
                gruppen << zelle(k, Klassenraster::Gruppe, zeile);
                anteile << k->erg->model()->index(zeile - 1, Klassenraster::Gruppenteil).data().toString();
            }
            k->okbut->click();
        });
        h->klasseneinteilung->trigger();

        QCOMPARE(gruppen, (QStringList{"A", "B", "C", "F"}));
        QCOMPARE(anteile, (QStringList{"33,3%", "22,2%", "44,4%", klassen::kNichtBeruecksichtigt}));
        QCOMPARE(QList<int>(h->daten().FEctsAnzahl.begin(), h->daten().FEctsAnzahl.end()),
                 (QList<int>{3, 2, 4, 0, 0, 1}));
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }

    // At its opening width the window shows every column whole, whatever the screen's resolution.
    void alleSpaltenSichtbar() {
        Programm p;
        TKlassenauswertungsform* k = p.Klassenauswertungsform();
        k->raster().setzeZeilen(40); // enough rows for a vertical scroll bar
        k->rasterGeaendert();
        k->show();
        QVERIFY(QTest::qWaitForWindowExposed(k));
        QHeaderView* kopf = k->erg->horizontalHeader();
        QVERIFY2(kopf->length() <= k->erg->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(kopf->length()).arg(k->erg->viewport()->width())));
        for (int spalte = 0; spalte < Klassenraster::SpaltenAnzahl; ++spalte)
            QVERIFY(kopf->sectionSize(spalte) >= kopf->sectionSizeHint(spalte));
        k->hide();
    }

    // F1 opens the page of the active window; a window's own dialogs count as that window.
    void hilfeJeFenster() {
        Programm p;
        const QList<std::pair<QWidget*, int>> faelle = {{p.Hauptformular(), 100},
                                                        {p.Hauptformular()->erg, 100},
                                                        {p.Klassenauswertungsform(), 200},
                                                        {p.Klassenauswertungsform()->erg->viewport(), 200},
                                                        {p.einstellungsdialog(), 300},
                                                        {p.Ergebnis(), 400},
                                                        {p.Ergebnis()->FontDialog1, 400},
                                                        {p.notenvergabeform(), 600},
                                                        {p.Importeinstellungen(), 300},
                                                        {p.Chartform(), 100},
                                                        {nullptr, 100}};
        for (const auto& [fenster, kontext] : faelle)
            QCOMPARE(hilfe::kontextFuer(fenster), kontext);

        hilfe::zeige(200);
        QTextBrowser* h = hilfe::fenster();
        QVERIFY(h && h->isVisible());
        QVERIFY(h->toPlainText().contains(QStringLiteral("nicht berücksichtigt")));
        QTest::keyClick(h, Qt::Key_Escape);
        QVERIFY(!hilfe::fenster() || !hilfe::fenster()->isVisible());
    }

    void leereListe() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEctsAnzahl = {1, 1, 1, 1, 1, 1};
        QTimer::singleShot(0, p.Klassenauswertungsform(), [&] {
            QCOMPARE(p.Klassenauswertungsform()->erg->model()->rowCount(), 0);
            QTest::keyClick(p.Klassenauswertungsform()->erg, Qt::Key_A);
            p.Klassenauswertungsform()->close();
        });
        h->klasseneinteilung->trigger();
        QCOMPARE(QList<int>(h->daten().FEctsAnzahl.begin(), h->daten().FEctsAnzahl.end()), QList<int>(6, 0));

        h->Histogramm->trigger();
        QCOMPARE(p.Chartform()->titel(), QStringLiteral("Notenverteilung"));
        QVERIFY(p.Chartform()->beschriftungen().isEmpty());
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }
};

QTEST_MAIN(TestKlassenfenster)
#include "tst_klassenfenster.moc"
