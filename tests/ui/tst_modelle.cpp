// SPDX-License-Identifier: GPL-3.0-or-later
// The grid models under Qt's model checker: every listing, row count change and edit keeps
// the contracts the views rely on (indexes, row counts, change signals, header data).
#include "ErgebnisModell.h"
#include "Grenzfaelle.h"
#include "Klassen.h"
#include "Testdaten.h"
#include "Zahltext.h"
#include "grenzfaelleunit.h"
#include "klassenunit.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

class TestModelle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    void ergebnisModell() {
        ErgebnisModell modell;
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(modell.rowCount(), 4); // four empty rows before the first listing
        Notenliste liste{testeintrag("Anna", 12.5, 2.3, u'A'), testeintrag("Bert", 3, 5)};
        modell.anzeigen(liste);
        QCOMPARE(modell.rowCount(), 2);
        QCOMPARE(modell.data(modell.index(0, ErgebnisModell::Punkte)).toString(), QStringLiteral("12,5"));
        modell.anzeigen({});
        QCOMPARE(modell.rowCount(), 0);
        for (int i = 0; i < 50; ++i)
            liste.append(testeintrag("C", i, 1));
        modell.anzeigen(liste);
        QCOMPARE(modell.rowCount(), 52);
        modell.anzeigen(liste.mid(3, 5));
        QCOMPARE(modell.rowCount(), 5);
    }

    void klassenModell() {
        Klassenraster raster;
        KlassenModell modell(raster);
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const std::vector<TNotenklasse> klassen{{3, 1.0, 0}, {2, 2.3, 0}, {1, 5.0, 0}};
        raster.zeigeKlassen(klassen, 5);
        raster.setzeZeilen(static_cast<int>(klassen.size()) + 1);
        modell.neuLaden();
        QVERIFY(modell.rowCount() >= 3);
        const QModelIndex gruppe = modell.index(1, 4);
        QVERIFY(modell.flags(gruppe) & Qt::ItemIsEditable);
        QSignalSpy geaendert(&modell, &QAbstractItemModel::dataChanged);
        QVERIFY(modell.setData(gruppe, QStringLiteral("A")));
        QCOMPARE(modell.data(gruppe).toString(), QStringLiteral("A"));
        QVERIFY(!geaendert.isEmpty());
        modell.spalteGeaendert(5);
        raster.setzeZeilen(2);
        modell.neuLaden();
        QCOMPARE(modell.rowCount(), 1);
    }

    // The "Grenzfälle" rows: texts made per cell from the cases and the list, rows changed as a whole.
    void grenzfallModell() {
        std::vector<grenzfaelle::Grenzfall> faelle;
        Notenliste liste;
        GrenzfallModell modell(faelle, liste);
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(modell.rowCount(), 0);
        QCOMPARE(modell.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Fehlende Punkte"));
        modell.beginneWechsel();
        liste = {testeintrag("Anna", 24.5, 4.3), testeintrag("Bert", 29.75, 4.3)};
        grenzfaelle::Grenzfall f;
        f.index = 1;
        f.punkte = 29.75;
        f.note = 4.3;
        f.bessereNote = 4.0;
        f.ab = 30;
        f.fehlend = 0.25L;
        f.bestehen = true;
        faelle = {f};
        modell.beendeWechsel();
        QCOMPARE(modell.rowCount(), 1);
        QStringList zellen;
        for (int spalte = 0; spalte < modell.columnCount(); ++spalte)
            zellen << modell.data(modell.index(0, spalte)).toString();
        QCOMPARE(zellen, QStringList({"Bert", "29,8", "4,3", "4,0", "0,25", "ja"}));
        QCOMPARE(modell.data(modell.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        modell.beginneWechsel();
        faelle.clear();
        modell.beendeWechsel();
        QCOMPARE(modell.rowCount(), 0);
    }
};

QTEST_MAIN(TestModelle)
#include "tst_modelle.moc"
