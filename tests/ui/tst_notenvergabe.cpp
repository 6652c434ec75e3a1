// SPDX-License-Identifier: GPL-3.0-or-later
// The grade assignment dialog offscreen: preview, cancel and OK as the main window runs them.
#include "Dateigrenze.h"
#include "EnhEdit.h"
#include "Hauptfenster.h"
#include "Programm.h"
#include "Radiogruppe.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "notenvergabe.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <optional>

namespace {
QStringList noten(THauptformular* h) {
    QStringList r;
    for (int zeile = 1; zeile <= h->modell().rowCount(); ++zeile)
        r << h->modell().zellText(3, zeile);
    return r;
}

// Anna 50, Bert 25 and Carl 0 points, listed and kept as the original order.
void dreiGelistet(THauptformular* h) {
    h->daten().FEintraege = {testeintrag("Anna", 50), testeintrag("Bert", 25), testeintrag("Carl", 0)};
    h->daten().OriginalMerken();
    h->Anzeigen();
}

// Runs `schritte` inside the modal dialog once it is open.
void imDialog(Tnotenvergabeform* d, std::function<void()> schritte) {
    QTimer::singleShot(0, d, [d, schritte] {
        QVERIFY(d->isVisible());
        schritte();
    });
}
} // namespace

class TestNotenvergabe : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void entwurfswerte() {
        Programm p;
        Tnotenvergabeform* d = p.notenvergabeform();
        QCOMPARE(d->windowTitle(), QStringLiteral("Noten vergeben"));
        QCOMPARE(d->vollepunkte->text(), QStringLiteral("50"));
        QCOMPARE(d->vollenote->text(), QStringLiteral("1,0"));
        QCOMPARE(d->nichtbestandennote->text(), QStringLiteral("6,0"));
        const TNotenskala s = d->skala();
        QCOMPARE(s.bestandenpunkte, 25.0);
        QCOMPARE(s.notenschluessel, 1);
        QCOMPARE(s.runden, 1);
    }

    void vorschauAbbrechenUndOk() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        Tnotenvergabeform* d = p.notenvergabeform();
        dreiGelistet(h);

        imDialog(d, [d] {
            d->Button1->click();
            QCOMPARE(d->erg->text(),
                     QStringLiteral("Durchschnitt: 4,0 Standardabweichung: 2,5 Bestanden: 1"));
            d->cancelbut->click();
        });
        h->Notenvergabe1->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(noten(h), QStringList({"1,3", "4,3", "6,3"})); // the preview stays after "Abbrechen"
        h->UrsrnglicheReihenfolge1->trigger();
        QCOMPARE(noten(h), QStringList({"0,0", "0,0", "0,0"})); // it never reached the original order

        // "OK" grades with what is typed now and carries the grades into the original order.
        imDialog(d, [d] {
            d->runden->setItemIndex(0);
            d->okbut->click();
        });
        h->Notenvergabe1->trigger();
        QCOMPARE(noten(h), QStringList({"1,0", "4,0", "6,0"}));
        h->SortierennachNote1->trigger();
        h->UrsrnglicheReihenfolge1->trigger();
        QCOMPARE(noten(h), QStringList({"1,0", "4,0", "6,0"}));
        QVERIFY(m_umgebung.einstellungsdatei().contains("runden=0\r\n"));
    }

    // Typed into "entspricht Note" under the German locale: a point that cannot group is the
    // decimal point; a thousand or ten is marked before "Berechnen" grades with it.
    void noteGetippt_data() {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("marke"); // "", "bereich", "mehrdeutig"
        QTest::addColumn<QString>("annasNote");
        QTest::newRow("1.0 is one") << "1.0"
                                    << ""
                                    << "1,3";
        QTest::newRow("1,0") << "1,0"
                             << ""
                             << "1,3";
        QTest::newRow("1.3") << "1.3"
                             << ""
                             << "1,7";
        QTest::newRow("ten") << "10"
                             << "bereich"
                             << "10,3";
        QTest::newRow("a thousand") << "1.000"
                                    << "mehrdeutig"
                                    << "1000,3";
    }
    void noteGetippt() {
        QFETCH(QString, eingabe);
        QFETCH(QString, marke);
        QFETCH(QString, annasNote);
        Programm p;
        THauptformular* h = p.Hauptformular();
        Tnotenvergabeform* d = p.notenvergabeform();
        dreiGelistet(h);
        imDialog(d, [d, eingabe, marke] {
            d->vollenote->setFocus();
            d->vollenote->selectAll();
            QTest::keyClicks(d->vollenote, eingabe);
            QCOMPARE(d->vollenote->text(), eingabe);
            QCOMPARE(d->vollenote->AusserhalbBereich(), marke == QStringLiteral("bereich"));
            QCOMPARE(d->vollenote->Mehrdeutig(), marke == QStringLiteral("mehrdeutig"));
            if (marke == QStringLiteral("bereich"))
                QCOMPARE(d->vollenote->toolTip(),
                         QStringLiteral("Keine Note der Skala: erwartet wird eine Note von 1,0 bis 6,0."));
            QVERIFY(!d->bestandennote->AusserhalbBereich());
            d->Button1->click();
            d->cancelbut->click();
        });
        h->Notenvergabe1->trigger();
        QCOMPARE(noten(h).value(0), annasNote);
    }

    // A settings file that can't be written keeps nothing from happening: "OK" closes and grades,
    // and only then the failure is reported, naming the file.
    void okTrotzUnschreibbarerEinstellungsdatei_data() {
        QTest::addColumn<bool>("ordnerStattDatei");
        QTest::addColumn<QString>("ursache");
        QTest::newRow("a folder in its place") << true << "Dateizugriff verweigert";
        QTest::newRow("disk full") << false << "Die Datei ist zu groß für den Datenträger";
    }
    void okTrotzUnschreibbarerEinstellungsdatei() {
        QFETCH(bool, ordnerStattDatei);
        QFETCH(QString, ursache);
        Programm p;
        THauptformular* h = p.Hauptformular();
        Tnotenvergabeform* d = p.notenvergabeform();
        dreiGelistet(h);
        const QString datei = routinen::Einstellungsdatei();
        if (ordnerStattDatei)
            QVERIFY(QDir().mkpath(datei));
        const auto aufraeumen = qScopeGuard([&] {
            QDir(datei).removeRecursively();
            uitest::Umgebung& u = m_umgebung;
            meldung::setzeAnzeige([&u](meldung::Art art, const QString& text) {
                u.meldungen << text;
                u.arten << art;
                return true;
            });
        });
        QStringList notenBeiMeldung;
        bool offenBeiMeldung = true;
        meldung::setzeAnzeige([&](meldung::Art art, const QString& text) {
            m_umgebung.meldungen << text;
            m_umgebung.arten << art;
            notenBeiMeldung = noten(h);
            offenBeiMeldung = d->isVisible();
            return true;
        });

        imDialog(d, [d] {
            d->okbut->click();
            QTimer::singleShot(0, d, [d] { d->reject(); }); // were it still open, "OK" would have failed
        });
        {
            std::optional<Dateigrenze> voll;
            if (!ordnerStattDatei) {
                voll.emplace(8);
                QVERIFY(voll->aktiv());
            }
            h->Notenvergabe1->trigger();
        }
        const QStringList benotet = {"1,3", "4,3", "6,3"};
        QVERIFY(!d->isVisible());
        QCOMPARE(noten(h), benotet);
        QTRY_COMPARE(m_umgebung.meldungen.size(), 1);
        QCOMPARE(m_umgebung.meldungen[0],
                 ursache + u'\n' + QDir::toNativeSeparators(datei) +
                     QStringLiteral("\n\nDie Einstellungsdatei konnte nicht geschrieben werden."));
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>{meldung::Art::Fehler});
        QCOMPARE(notenBeiMeldung, benotet);
        QVERIFY(!offenBeiMeldung);
        h->UrsrnglicheReihenfolge1->trigger();
        QCOMPARE(noten(h), benotet); // carried into the original order as well
    }

    void vorschauFehlerLaesstErgebnisStehen() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        Tnotenvergabeform* d = p.notenvergabeform();
        h->daten().FEintraege = {testeintrag("Anna", 50), testeintrag("Bert", 25), testeintrag("Carl", 0)};
        h->Anzeigen();
        const QString vorher = QStringLiteral("Durchschnitt: 4,0 Standardabweichung: 2,5 Bestanden: 1");
        // A good preview, then one student with 30 points is left: the statistics fail.
        imDialog(d, [d, h, vorher] {
            d->Button1->click();
            QCOMPARE(d->erg->text(), vorher);
            h->daten().FEintraege = {testeintrag("Anna", 30)};
            d->Button1->click();
            d->cancelbut->click();
        });
        h->Notenvergabe1->trigger();
        QCOMPARE(m_umgebung.meldungen, QStringList({"Gleitkommadivision durch Null"}));
        QCOMPARE(d->erg->text(), vorher);
        QCOMPARE(h->daten().FEintraege[0].note, 3.7); // the grading before the failing step stays
        QCOMPARE(h->modell().zellText(3, 1), QStringLiteral("1,3")); // the grid was not rewritten
    }
};

QTEST_MAIN(TestNotenvergabe)
#include "tst_notenvergabe.moc"
