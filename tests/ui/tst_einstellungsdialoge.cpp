// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialogs offscreen: their values survive a restart as the program saves them.
#include "EnhEdit.h"
#include "Formularspeicher.h"
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Programm.h"
#include "Radiogruppe.h"
#include "Steuerelemente.h"
#include "UiTesthilfe.h"
#include "Zahltext.h"
#include "einstellungen.h"
#include "importform.h"
#include "notenvergabe.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTextBrowser>

class TestEinstellungsdialoge : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void grenznoteUeberlebtNeustartOhneOk() {
        {
            Programm p;
            p.Hauptformular()->Einstellungn1->trigger();
            Teinstellungsdialog* d = p.einstellungsdialog();
            QVERIFY(d->isVisible());
            d->grenznote->selectAll();
            QTest::keyClicks(d->grenznote, QStringLiteral("3,5"));
            QCOMPARE(d->grenznoteWert(), 3.5);
        } // the program ends with the dialog still open
        QVERIFY(m_umgebung.einstellungsdatei().contains("grenznote=3,5\r\n"));
        Programm p;
        QCOMPARE(p.einstellungsdialog()->grenznoteWert(), 3.5);
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }

    // A typed value is saved and, at the next start, written into the field as the extended
    // value of its text: the field shows it with its decimals and holds what it shows. Near a
    // tie of the one decimal shown, an extended and a double round apart: read back through a
    // double, 1,05 would show as "1,1".
    void getippteZahlNachNeustart_data() {
        QTest::addColumn<bool>("notenvergabe");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("angezeigt");
        QTest::addColumn<long double>("wert");
        QTest::newRow("vollenote 1,05") << true << "vollenote"
                                        << "1,05"
                                        << "1,0" << 1.0L;
        QTest::newRow("vollenote 1,45") << true << "vollenote"
                                        << "1,45"
                                        << "1,5" << 1.5L;
        QTest::newRow("bestandennote 4,05") << true << "bestandennote"
                                            << "4,05"
                                            << "4,1" << 4.1L;
        QTest::newRow("nichtbestandennote 5,45") << true << "nichtbestandennote"
                                                 << "5,45"
                                                 << "5,4" << 5.4L;
        QTest::newRow("grenznote 3,65") << false << "grenznote"
                                        << "3,65"
                                        << "3,7" << 3.7L;
        QTest::newRow("grenznote 2,35") << false << "grenznote"
                                        << "2,35"
                                        << "2,3" << 2.3L;
        QTest::newRow("as shown stays") << true << "bestandennote"
                                        << "4,3"
                                        << "4,3" << 4.3L;
    }
    void getippteZahlNachNeustart() {
        QFETCH(bool, notenvergabe);
        QFETCH(QString, feld);
        QFETCH(QString, getippt);
        QFETCH(QString, angezeigt);
        QFETCH(long double, wert);
        const auto dialog = [&](const Programm& p) -> QWidget* {
            return notenvergabe ? static_cast<QWidget*>(p.notenvergabeform()) : p.einstellungsdialog();
        };
        {
            Programm p;
            auto* f = dialog(p)->findChild<TEnhancedEdit*>(feld);
            QVERIFY(f);
            f->selectAll();
            QTest::keyClicks(f, getippt);
            QCOMPARE(f->text(), getippt);
            FormularSpeichern(dialog(p)); // what "OK" saves, and the settings dialog at the end
        }
        Programm p;
        auto* f = dialog(p)->findChild<TEnhancedEdit*>(feld);
        QCOMPARE(f->text(), angezeigt);
        QVERIFY(f->Value() == wert); // bit for bit: the extended nearest the text shown
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }

    void einstellungsdialogSpeichertAuchUngeoeffnet() {
        { Programm p; }
        const QByteArray datei = m_umgebung.einstellungsdatei();
        QVERIFY(
            datei.contains("[einstellungsdialog]\r\nSektionVorhanden=1\r\nauswahl=1\r\nincludegrafik=0\r\n"
                           "grenznote=4\r\n"));
    }

    void importdialogNachAbbrechenUndNeustart() {
        {
            Programm p;
            p.Hauptformular()->CSVImporteinstellungen1->trigger();
            TImporteinstellungen* d = p.Importeinstellungen();
            QVERIFY(d->isVisible());
            d->vorname->setCurrentIndex(2);
            d->nachname->setCurrentIndex(3);
            d->punkte->setCurrentIndex(5);
            d->trenner->setText(QStringLiteral("#9"));
            d->ueberspringen->setValue(0);
            d->cancelbut->click();
            QVERIFY(!d->isVisible());
            QCOMPARE(d->spaltePunkte(), 5); // "Abbrechen" keeps what was chosen
        }
        const QByteArray datei = m_umgebung.einstellungsdatei();
        for (const char* zeile : {"trenner=#9\r\n", "vornameI=2\r\n", "nachnameI=3\r\n", "punkteI=5\r\n",
                                  "ueberspringen=0\r\n", "[Check]\r\nWroteSuccesful=1\r\n"})
            QVERIFY2(datei.contains(zeile), zeile);
        Programm p;
        TImporteinstellungen* d = p.Importeinstellungen();
        QCOMPARE(d->trennerText(), QStringLiteral("#9"));
        QCOMPARE(d->spalteVorname(), 2);
        QCOMPARE(d->spalteNachname(), 3);
        QCOMPARE(d->spaltePunkte(), 5);
        QCOMPARE(d->spalteNote(), 0);
        QCOMPARE(d->titelzeilen(), 0);
    }

    void offenerImportdialogWirdAmEndeNichtGespeichert() {
        {
            Programm p;
            p.zeige();
            p.Hauptformular()->CSVImporteinstellungen1->trigger();
            p.Importeinstellungen()->vorname->setCurrentIndex(4);
            // End the program as the user does, through "&Beenden" and the event loop.
            QTimer::singleShot(0, p.Hauptformular(), [&p] { p.Hauptformular()->Beenden1->trigger(); });
            QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
            QCOMPARE(QApplication::exec(), 0);
        }
        QVERIFY(!m_umgebung.einstellungsdatei().contains("vornameI=4"));
        Programm p;
        QCOMPARE(p.Importeinstellungen()->spalteVorname(), 0);
    }

    void hilfeKnopf() {
        Programm p;
        p.einstellungsdialog()->helpbut->click();
        QCOMPARE(hilfe::letzterKontext(), 300);
        QVERIFY(hilfe::fenster()->toPlainText().contains(QStringLiteral("Grenznote")));
        hilfe::fenster()->close();
    }

    void entwurfswerte() {
        Programm p;
        Teinstellungsdialog* e = p.einstellungsdialog();
        QCOMPARE(e->windowTitle(), QStringLiteral("Einstellungen"));
        QCOMPARE(e->histogrammGruppe(), 1);
        QVERIFY(!e->grafikEinschliessen());
        QCOMPARE(e->grenznote->text(), QStringLiteral("4,0"));
        TImporteinstellungen* i = p.Importeinstellungen();
        QCOMPARE(i->trennerText(), QStringLiteral(";"));
        QCOMPARE(i->titelzeilen(), 1);
        QCOMPARE(i->vorname->currentText(), QStringLiteral("Nicht genutzt"));
        QCOMPARE(i->vorname->count(), 7);
    }
};

QTEST_MAIN(TestEinstellungsdialoge)
#include "tst_einstellungsdialoge.moc"
