// SPDX-License-Identifier: GPL-3.0-or-later
// "Hofstee…" in the grade assignment dialog, offscreen: judgements in, pass points out.
#include "EnhEdit.h"
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Programm.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "hofsteedialog.h"
#include "notenvergabe.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChartView>
#include <QGuiApplication>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTextBrowser>

namespace {
// Runs `schritte` inside the next modal dialog once it is open.
template <typename Dialog> void imDialog(std::function<void(Dialog*)> schritte) {
    QTimer::singleShot(0, [schritte] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        schritte(d);
    });
}

void fuelle(THofsteedialog* d, const char* kMin, const char* kMax, const char* fMin, const char* fMax) {
    d->minpunkte->setText(QString::fromLatin1(kMin));
    d->maxpunkte->setText(QString::fromLatin1(kMax));
    d->minquote->setText(QString::fromLatin1(fMin));
    d->maxquote->setText(QString::fromLatin1(fMax));
}

const QList<double> kPunkte = {0, 10, 20, 28, 30, 35, 40, 45, 48, 50};

void mitListe(THauptformular* h) {
    h->daten().FEintraege.clear();
    for (double p : kPunkte)
        h->daten().FEintraege << testeintrag("X", p);
    h->daten().OriginalMerken();
    h->Anzeigen();
}
} // namespace

class TestHofsteedialog : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void uebernehmenSchreibtBestandenPunkte() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        mitListe(h);
        imDialog<Tnotenvergabeform>([](Tnotenvergabeform* d) {
            imDialog<THofsteedialog>([](THofsteedialog* s) {
                QCOMPARE(s->windowTitle(), QStringLiteral("Hofstee-Verfahren"));
                // The first guess comes from the maximum of 50 points.
                QCOMPARE(s->minpunkte->text(), QStringLiteral("20"));
                QCOMPARE(s->maxquote->text(), QStringLiteral("40"));
                // Ten distinct scores: a step each, between the two ends. Left-continuous: at
                // 0 points the rate rises from 0 to the one student with 0.
                const QLineSeries* kurve = s->kurvenSerie();
                QCOMPARE(kurve->count(), 22);
                QCOMPARE(kurve->at(1), QPointF(0, 0));
                QCOMPARE(kurve->at(2), QPointF(0, 10));
                QCOMPARE(kurve->at(19), QPointF(50, 90));
                QCOMPARE(kurve->at(21).y(), 100.0);
                fuelle(s, "20", "30", "10", "40");
                QCOMPARE(s->erg->text(),
                         QStringLiteral("Bestanden ab 23,33 Punkten: 3 von 10 fallen durch (30,0 %)."));
                QCOMPARE(s->schnittSerie()->count(), 1);
                QCOMPARE(s->schnittSerie()->at(0).y(), 30.0);
                s->uebernehmenbut->click();
            });
            d->hofsteebut->click();
            QCOMPARE(d->bestandenpunkte->text(), QStringLiteral("23,33"));
            d->okbut->click();
        });
        h->Notenvergabe1->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        // 28 points now lie above the pass points and pass; 20 fail.
        QCOMPARE(p.notenvergabeform()->skala().bestandenpunkte, 23.33);
        QVERIFY(m_umgebung.einstellungsdatei().contains("bestandenpunkte=23,33\r\n"));
        QVERIFY(!m_umgebung.einstellungsdatei().contains("minpunkte"));
    }

    // The points axis in steps of 1, 2 or 5 times a power of ten, written as the program writes
    // numbers; a range of one point at a score beyond 2^53 tenths still ends.
    void punkteachse_data() {
        QTest::addColumn<bool>("mitPunkten");
        QTest::addColumn<QString>("kMin");
        QTest::addColumn<QString>("kMax");
        QTest::addColumn<QStringList>("beschriftung");
        QTest::newRow("the list's scores") << true << "20"
                                           << "30" << QStringList{"0", "10", "20", "30", "40", "50"};
        QTest::newRow("one point") << false << "0"
                                   << "1" << QStringList{"0", "0,2", "0,4", "0,6", "0,8", "1"};
        QTest::newRow("a point at 4e15") << false << "4000000000000000"
                                         << "0" << QStringList{"4E15"};
    }
    void punkteachse() {
        QFETCH(bool, mitPunkten);
        QFETCH(QString, kMin);
        QFETCH(QString, kMax);
        QFETCH(QStringList, beschriftung);
        Notenliste liste;
        if (mitPunkten)
            for (double p : kPunkte)
                liste << testeintrag("X", p);
        THofsteedialog s;
        s.setzeListe(liste);
        s.maxpunkte->setText(kMax);
        s.minpunkte->setText(kMin);
        auto* achse = qobject_cast<QCategoryAxis*>(s.Chart1->chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(achse);
        QCOMPARE(achse->categoriesLabels(), beschriftung);
    }

    // No intersection: the message stands in the dialog, "Übernehmen" shows it and keeps the
    // dialog open; after "Abbrechen" the pass points are unchanged and the judgements are kept.
    void keinSchnittpunktUebernimmtNichts() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        mitListe(h);
        Tnotenvergabeform* d = p.notenvergabeform();
        const QString meldung = QStringLiteral("Auch bei der höchsten annehmbaren Bestehensgrenze von 30 "
                                               "Punkten fallen nur 40,0 % durch, weniger als "
                                               "die niedrigste annehmbare Durchfallquote von 60,0 %. Die "
                                               "Diagonale trifft die Durchfallkurve nicht "
                                               "innerhalb des Rechtecks.");
        imDialog<Tnotenvergabeform>([this, meldung](Tnotenvergabeform* dialog) {
            imDialog<THofsteedialog>([this, meldung](THofsteedialog* s) {
                fuelle(s, "20", "30", "60", "70");
                QCOMPARE(s->erg->text(), meldung);
                QCOMPARE(s->schnittSerie()->count(), 0);
                s->uebernehmenbut->click();
                QCOMPARE(m_umgebung.meldungen, QStringList{meldung});
                QVERIFY(s->isVisible());
                s->helpbut->click();
                QCOMPARE(hilfe::letzterKontext(), 510);
                QCOMPARE(hilfe::kontextFuer(s->minpunkte), 510);
                hilfe::fenster()->close();
                s->cancelbut->click();
            });
            dialog->hofsteebut->click();
            QCOMPARE(dialog->bestandenpunkte->text(), QStringLiteral("25"));
            imDialog<THofsteedialog>([](THofsteedialog* s) {
                QCOMPARE(s->minquote->text(), QStringLiteral("60"));
                s->cancelbut->click();
            });
            dialog->hofsteebut->click();
            dialog->cancelbut->click();
        });
        h->Notenvergabe1->trigger();
        QVERIFY(!d->isVisible());
    }

    // The help of the modal dialog opens in front of it and takes the keys: Esc, sent to the
    // window that has the focus, closes the help and leaves the dialog open.
    void hilfeVorDemModalenDialog() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        mitListe(h);
        bool hilfeAktiv = false, hilfeZu = false, dialogOffen = false;
        imDialog<Tnotenvergabeform>([&](Tnotenvergabeform* dialog) {
            imDialog<THofsteedialog>([&](THofsteedialog* s) {
                QVERIFY(QTest::qWaitForWindowActive(s));
                s->helpbut->click();
                QTextBrowser* hilfe = hilfe::fenster();
                // The keys go to the window that has the focus, as they come from the keyboard.
                hilfeAktiv =
                    hilfe &&
                    QTest::qWaitFor(
                        [hilfe] { return QGuiApplication::focusWindow() == hilfe->windowHandle(); }, 2000);
                QWindow* fokus = QGuiApplication::focusWindow();
                QTest::keyClick(fokus ? fokus : s->windowHandle(), Qt::Key_Escape);
                QTest::qWait(0);
                hilfeZu = !hilfe::fenster() || !hilfe::fenster()->isVisible();
                dialogOffen = s->isVisible();
                s->cancelbut->click();
            });
            dialog->hofsteebut->click();
            dialog->cancelbut->click();
        });
        h->Notenvergabe1->trigger();
        QVERIFY(hilfeAktiv);
        QVERIFY(hilfeZu);
        QVERIFY(dialogOffen);
    }
};

QTEST_MAIN(TestHofsteedialog)
#include "tst_hofsteedialog.moc"
