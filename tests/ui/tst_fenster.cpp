// SPDX-License-Identifier: GPL-3.0-or-later
// Every window offscreen: it opens inside the screen with its own caption, and the keyboard
// reaches the active window's controls, never those of another window.
#include "EnhEdit.h"
#include "Ergebnisfenster.h"
#include "Fensterlage.h"
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Info.h"
#include "Radiogruppe.h"
#include "UiTesthilfe.h"
#include "chartformularunit.h"
#include "einstellungen.h"
#include "grenzfaelleunit.h"
#include "hofsteedialog.h"
#include "importform.h"
#include "klassenunit.h"
#include "notenvergabe.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTextBrowser>

Q_DECLARE_METATYPE(QList<QPoint>)

class TestFenster : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

    static QRect verfuegbar() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    static void zeigeAktiv(QWidget* w) {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

private slots:
    void init() { m_umgebung.vergiss(); }

    void insBild_data() {
        QTest::addColumn<QRect>("rahmen");
        QTest::addColumn<QRect>("erwartet");
        const QRect bild(0, 0, 800, 600);
        QTest::newRow("fits") << QRect(10, 20, 300, 200) << QRect(10, 20, 300, 200);
        QTest::newRow("title bar above the top") << QRect(5, -16, 300, 200) << QRect(5, 0, 300, 200);
        QTest::newRow("below the bottom") << QRect(100, 500, 300, 200) << QRect(100, 400, 300, 200);
        QTest::newRow("beyond right and left") << QRect(700, 10, 300, 200) << QRect(500, 10, 300, 200);
        QTest::newRow("left of the screen") << QRect(-40, 10, 300, 200) << QRect(0, 10, 300, 200);
        QTest::newRow("taller than the screen") << QRect(10, -50, 300, 900) << QRect(10, 0, 300, 600);
        QTest::newRow("larger both ways") << QRect(-5, -5, 1000, 700) << QRect(0, 0, 800, 600);
    }
    void insBild() {
        QFETCH(QRect, rahmen);
        QFETCH(QRect, erwartet);
        QCOMPARE(fensterlage::insBild(rahmen, QRect(0, 0, 800, 600)), erwartet);
        // A screen that does not start at the origin (a second monitor, a panel on the left).
        QCOMPARE(fensterlage::insBild(rahmen.translated(1000, 30), QRect(1000, 30, 800, 600)),
                 erwartet.translated(1000, 30));
    }

    void nebenHauptfenster_data() {
        QTest::addColumn<QSize>("rahmen");
        QTest::addColumn<QRect>("haupt");
        QTest::addColumn<QList<QPoint>>("belegt");
        QTest::addColumn<QPoint>("erwartet");
        const QRect haupt(0, 0, 500, 300); // menu bar ends at 50
        QTest::newRow("right of it") << QSize(200, 300) << haupt << QList<QPoint>{} << QPoint(500, 0);
        QTest::newRow("left of it") << QSize(200, 300) << haupt.translated(300, 0) << QList<QPoint>{}
                                    << QPoint(100, 0);
        QTest::newRow("no room beside: below the menu bar")
            << QSize(400, 300) << haupt << QList<QPoint>{} << QPoint(24, 50);
        QTest::newRow("another window there")
            << QSize(200, 300) << haupt << QList<QPoint>{{500, 0}} << QPoint(524, 24);
        QTest::newRow("too tall: inside the screen")
            << QSize(400, 580) << haupt << QList<QPoint>{} << QPoint(24, 20);
    }
    void nebenHauptfenster() {
        QFETCH(QSize, rahmen);
        QFETCH(QRect, haupt);
        QFETCH(QList<QPoint>, belegt);
        QFETCH(QPoint, erwartet);
        QCOMPARE(
            fensterlage::nebenHauptfenster(rahmen, haupt, haupt.top() + 50, belegt, QRect(0, 0, 800, 600)),
            erwartet);
    }

    // Opened the first time, no window covers the main window's title and menu bar.
    void oeffnetNebenHauptfenster_data() {
        QTest::addColumn<QString>("fenster");
        for (const char* name : {"einstellungsdialog", "notenvergabeform", "Grenzfaelleform",
                                 "Klassenauswertungsform", "Ergebnis", "Chartform", "Importeinstellungen"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void oeffnetNebenHauptfenster() {
        QFETCH(QString, fenster);
        Programm p;
        THauptformular* haupt = p.Hauptformular();
        haupt->show();
        QVERIFY(QTest::qWaitForWindowExposed(haupt));
        auto* w = haupt->findChild<QWidget*>(fenster);
        QVERIFY(w && w->isWindow());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::qWait(0);
        const QRect h = haupt->frameGeometry();
        const int menueUnten = haupt->mapToGlobal(QPoint(0, haupt->menuBar()->geometry().bottom())).y();
        const QRect kopf(h.topLeft(), QPoint(h.right(), menueUnten));
        QVERIFY2(!w->frameGeometry().intersects(kopf), qPrintable(fenster));
        QVERIFY(verfuegbar().contains(w->frameGeometry()));
        w->hide();
    }

    void fensterImBildMitEigenerUeberschrift_data() {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QString>("ueberschrift");
        QTest::newRow("main window") << QStringLiteral("Hauptformular") << QStringLiteral("Skalora");
        QTest::newRow("histogram") << QStringLiteral("Chartform") << QStringLiteral("Histogramm");
        QTest::newRow("report") << QStringLiteral("Ergebnis") << QStringLiteral("Ergebnis");
        QTest::newRow("settings") << QStringLiteral("einstellungsdialog") << QStringLiteral("Einstellungen");
        QTest::newRow("classes") << QStringLiteral("Klassenauswertungsform")
                                 << QStringLiteral("Klassenauswertung");
        QTest::newRow("grades") << QStringLiteral("notenvergabeform") << QStringLiteral("Noten vergeben");
        QTest::newRow("import settings")
            << QStringLiteral("Importeinstellungen") << QStringLiteral("Importeinstellungen");
        QTest::newRow("help") << QStringLiteral("Hilfe") << QStringLiteral("Hilfe – Hauptfenster");
    }
    void fensterImBildMitEigenerUeberschrift() {
        QFETCH(QString, fenster);
        QFETCH(QString, ueberschrift);
        Programm p;
        const QHash<QString, QWidget*> alle{
            {QStringLiteral("Hauptformular"), p.Hauptformular()},
            {QStringLiteral("Chartform"), p.Chartform()},
            {QStringLiteral("Ergebnis"), p.Ergebnis()},
            {QStringLiteral("einstellungsdialog"), p.einstellungsdialog()},
            {QStringLiteral("Klassenauswertungsform"), p.Klassenauswertungsform()},
            {QStringLiteral("notenvergabeform"), p.notenvergabeform()},
            {QStringLiteral("Importeinstellungen"), p.Importeinstellungen()},
        };
        QWidget* w = alle.value(fenster);
        if (!w) {
            hilfe::zeige(100);
            w = hilfe::fenster()->window();
            w->hide();
        }
        QVERIFY(w);
        // Pushed off the screen first: the window must come back whole when it is shown.
        w->move(verfuegbar().left() - 60, verfuegbar().top() - 40);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY2(verfuegbar().contains(w->frameGeometry()), qPrintable(fenster));
        QCOMPARE(w->windowTitle(), ueberschrift);
        w->hide();
    }

    // F1 opens the active window's page in every window, modal or not, and in the about box,
    // where the box's own key once met the main window's and neither acted.
    void f1JeFenster_data() {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<bool>("modal");
        QTest::addColumn<int>("kontext");
        QTest::newRow("main window") << QStringLiteral("Hauptformular") << false << 100;
        QTest::newRow("histogram") << QStringLiteral("Chartform") << false << 100;
        QTest::newRow("report") << QStringLiteral("Ergebnis") << false << 400;
        QTest::newRow("settings") << QStringLiteral("einstellungsdialog") << false << 300;
        QTest::newRow("import settings") << QStringLiteral("Importeinstellungen") << false << 300;
        QTest::newRow("borderline cases") << QStringLiteral("Grenzfaelleform") << false << 500;
        QTest::newRow("about box") << QStringLiteral("InfoDialog") << false << 32000;
        QTest::newRow("classes") << QStringLiteral("Klassenauswertungsform") << true << 200;
        QTest::newRow("grades") << QStringLiteral("notenvergabeform") << true << 600;
        QTest::newRow("Hofstee") << QStringLiteral("hofsteedialog") << true << 510;
    }
    void f1JeFenster() {
        QFETCH(QString, fenster);
        QFETCH(bool, modal);
        QFETCH(int, kontext);
        Programm p;
        p.Hauptformular()->show();
        QWidget* w = nullptr;
        std::unique_ptr<QWidget> eigenes;
        if (fenster == QLatin1String("InfoDialog")) {
            eigenes = std::make_unique<Tinfodialog>(p.Hauptformular());
            w = eigenes.get();
        } else if (fenster == QLatin1String("hofsteedialog")) {
            eigenes = std::make_unique<THofsteedialog>(p.notenvergabeform());
            w = eigenes.get();
        } else {
            w = p.Hauptformular()->window()->findChild<QWidget*>(fenster);
            if (fenster == QLatin1String("Hauptformular"))
                w = p.Hauptformular();
        }
        QVERIFY(w);
        QCOMPARE(w->objectName(), fenster);
        hilfe::zeige(1);
        hilfe::fenster()->close();
        if (modal)
            w->setWindowModality(Qt::ApplicationModal); // as exec() shows it
        zeigeAktiv(w);
        QWidget* ziel = QApplication::focusWidget() ? QApplication::focusWidget() : w;
        QTest::keyClick(ziel, Qt::Key_F1);
        QCOMPARE(hilfe::letzterKontext(), kontext);
        QVERIFY(hilfe::fenster() && hilfe::fenster()->isVisible());
        // Once: F1 in the help window keeps its page.
        QTest::keyClick(hilfe::fenster(), Qt::Key_F1);
        QCOMPARE(hilfe::letzterKontext(), kontext);
        hilfe::fenster()->close();
        w->hide();
    }

    // Return in a numeric field presses the window's default button.
    void returnImZahlfeldDrueckStandardknopf_data() {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QString>("feld");
        QTest::newRow("settings") << QStringLiteral("einstellungsdialog") << QStringLiteral("grenznote");
        QTest::newRow("grades") << QStringLiteral("notenvergabeform") << QStringLiteral("vollepunkte");
        QTest::newRow("import settings")
            << QStringLiteral("Importeinstellungen") << QStringLiteral("ueberspringen");
    }
    void returnImZahlfeldDrueckStandardknopf() {
        QFETCH(QString, fenster);
        QFETCH(QString, feld);
        Programm p;
        p.Hauptformular()->show();
        auto* d = p.Hauptformular()->findChild<QDialog*>(fenster);
        QVERIFY(d);
        zeigeAktiv(d);
        auto* f = d->findChild<TEnhancedEdit*>(feld);
        QVERIFY(f);
        f->setFocus();
        QTRY_VERIFY(f->hasFocus());
        QSignalSpy angenommen(d, &QDialog::accepted);
        QTest::keyClicks(f, QStringLiteral("3"));
        QTest::keyClick(f, Qt::Key_Return);
        QVERIFY(!d->isVisible());
        // "OK" of the grade dialog accepts; the others close.
        if (fenster == QLatin1String("notenvergabeform"))
            QCOMPARE(angenommen.count(), 1);
    }

    // Without a browser or mail program the button says so.
    void homepageOhneBrowser_data() {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("homepage") << QStringLiteral("homepagebut") << QStringLiteral("kein Webbrowser");
        QTest::newRow("mail") << QStringLiteral("emailbut") << QStringLiteral("kein Mailprogramm");
    }
    void homepageOhneBrowser() {
        QFETCH(QString, knopf);
        QFETCH(QString, meldung);
        QWidget besitzer;
        auto* box = new Tinfodialog(&besitzer, routinen::Sprache::Deutsch);
        int versuche = 0;
        box->oeffne = [&versuche](const QUrl&) {
            ++versuche;
            return false;
        };
        box->show();
        auto* b = box->findChild<QPushButton*>(knopf);
        QVERIFY(b);
        b->click();
        QCOMPARE(versuche, 1);
        QCOMPARE(m_umgebung.meldungen.size(), 1);
        QVERIFY2(m_umgebung.meldungen[0].contains(meldung), qPrintable(m_umgebung.meldungen[0]));
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>{meldung::Art::Information});
        // Where opening works, nothing is said.
        box->oeffne = [](const QUrl&) { return true; };
        b->click();
        QCOMPARE(m_umgebung.meldungen.size(), 1);
    }

    void zugriffstasteImEinstellungsdialog() {
        Programm p;
        p.Hauptformular()->show();
        Teinstellungsdialog* d = p.einstellungsdialog();
        zeigeAktiv(d);
        // Alt+D belongs to the main window's "&Datei" menu: not here.
        QTest::keyClick(d->grenznote, Qt::Key_D, Qt::AltModifier);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QVERIFY(!p.Hauptformular()->menuBar()->activeAction());
        // Alt+H presses this window's "&Hilfe" button, which opens page 300.
        QTest::keyClick(d->grenznote, Qt::Key_H, Qt::AltModifier);
        QTRY_COMPARE(hilfe::letzterKontext(), 300);
        hilfe::fenster()->window()->hide();
    }

    void zugriffstasteImHauptfensterOeffnetMenue() {
        Programm p;
        zeigeAktiv(p.Hauptformular());
        QTest::keyClick(p.Hauptformular(), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("Datei1"));
        QApplication::activePopupWidget()->close();
    }

    void hauptfensterkuerzelNurImHauptfenster() {
        Programm p;
        p.Hauptformular()->show();
        Teinstellungsdialog* d = p.einstellungsdialog();
        zeigeAktiv(d);
        QSignalSpy beenden(p.Hauptformular()->Beenden1, &QAction::triggered);
        QTest::keyClick(d->grenznote, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(beenden.count(), 0);
        QVERIFY(p.Hauptformular()->isVisible());
    }

    void eigeneKuerzelImReportfenster() {
        Programm p;
        p.Hauptformular()->show();
        TErgebnis* e = p.Ergebnis();
        zeigeAktiv(e);
        e->report->setFocus();
        QSignalSpy speichern(e->savebut, &QAction::triggered);
        QSignalSpy oeffnen(p.Hauptformular()->oeffnen, &QAction::triggered);
        // Ctrl+S saves the report here, not the main window's list; its dialog is cancelled.
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        QTest::keyClick(e->report, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(speichern.count(), 1);
        QTest::keyClick(e->report, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(oeffnen.count(), 0);
        QTest::keyClick(e->report, Qt::Key_Escape);
        QVERIFY(!e->isVisible());
    }

    void escSchliesstHistogramm() {
        Programm p;
        TChartform* c = p.Chartform();
        zeigeAktiv(c);
        QTest::keyClick(c, Qt::Key_Escape);
        QVERIFY(!c->isVisible());
    }

    void altTasteSchreibtNichtInsFeld_data() {
        QTest::addColumn<int>("taste");
        QTest::newRow("no access key") << int(Qt::Key_X);
        QTest::newRow("access key of another window") << int(Qt::Key_D);
        QTest::newRow("umlaut") << int(Qt::Key_Adiaeresis);
    }
    void altTasteSchreibtNichtInsFeld() {
        QFETCH(int, taste);
        Programm p;
        Tnotenvergabeform* d = p.notenvergabeform();
        zeigeAktiv(d);
        d->vollepunkte->setFocus();
        QTRY_VERIFY(d->vollepunkte->hasFocus());
        const QString vorher = d->vollepunkte->text();
        QTest::keyClick(d->vollepunkte, static_cast<Qt::Key>(taste), Qt::AltModifier);
        QCOMPARE(d->vollepunkte->text(), vorher);
        QVERIFY(d->isVisible());
        d->cancelbut->click();
    }

    void tabLandetAufGewaehltemPunkt() {
        Programm p;
        Teinstellungsdialog* d = p.einstellungsdialog();
        zeigeAktiv(d);
        d->auswahl->setItemIndex(2);
        d->grenznote->setFocus();
        QTRY_VERIFY(d->grenznote->hasFocus());
        QTest::keyClick(d->grenznote, Qt::Key_Tab); // the tab order wraps to the group
        auto* fokus = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
        QVERIFY(fokus);
        QCOMPARE(fokus->text(), QStringLiteral("Halbe Noten"));
        QVERIFY(fokus->isChecked());
        // The arrow keys step on and choose.
        QSignalSpy gewaehlt(d->auswahl, &Radiogruppe::gewaehlt);
        QTest::keyClick(fokus, Qt::Key_Down);
        QCOMPARE(d->auswahl->ItemIndex(), 3);
        QCOMPARE(gewaehlt.count(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(d->auswahl->ItemIndex(), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(qobject_cast<QAbstractButton*>(QApplication::focusWidget())->text(),
                 QStringLiteral("Zehntelnoten"));
        d->close();
    }
};

QTEST_MAIN(TestFenster)
#include "tst_fenster.moc"
