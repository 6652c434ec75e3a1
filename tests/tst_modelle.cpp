// The grid models under Qt's model checker: every listing, row count change and edit keeps
// the contracts the views rely on (indexes, row counts, change signals, header data).
#include "ErgebnisModell.h"
#include "Klassen.h"
#include "Testdaten.h"
#include "Zahltext.h"
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
};

QTEST_MAIN(TestModelle)
#include "tst_modelle.moc"
