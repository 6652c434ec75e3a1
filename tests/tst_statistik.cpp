// Mean, standard deviation and pass count of the list's grades.
#include "Fehler.h"
#include "Statistik.h"
#include "Zahltext.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(QList<double>)

namespace {

// QCOMPARE on doubles is fuzzy; the sums are compared exactly.
QString genau(double x) { return (std::signbit(x) ? QStringLiteral("-") : QString()) + QString::number(std::fabs(x), 'g', 17); }

Auswertung mitNoten(const QList<double>& noten) {
    Auswertung a;
    for (double n : noten) {
        TNotenEintrag e = leererEintrag();
        e.note = n;
        a.FEintraege.push_back(e);
    }
    return a;
}

} // namespace

class TestStatistik : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale("de_DE")); }

    void statistik_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QString>("durchschnitt");
        QTest::addColumn<QString>("abweichung");  // two decimals
        QTest::addColumn<double>("quadratsumme");

        QTest::newRow("1, 2, 3") << QList<double>{1.0, 2.0, 3.0} << "2,0" << "1,00" << 14.0;
        QTest::newRow("1, 4") << QList<double>{1.0, 4.0} << "2,5" << "2,12" << 17.0;
    }
    void statistik() {
        QFETCH(QList<double>, noten);
        QFETCH(QString, durchschnitt);
        QFETCH(QString, abweichung);
        QFETCH(double, quadratsumme);

        Auswertung a = mitNoten(noten);
        a.FQuadratsumme = 99;  // rebuilt, not added to
        StatistikBerechnen(a);
        QCOMPARE(zahltext::fest(a.FDurchschnitt, 1), durchschnitt);
        QCOMPARE(zahltext::fest(a.FStandardabweichung, 2), abweichung);
        QCOMPARE(genau(a.FQuadratsumme), genau(quadratsumme));
    }

    // All equal: rounding leaves the radicand a hair below zero; the spread is 0, no fault.
    void gleicheNotenOhneStreuung() {
        Auswertung a = mitNoten({1.3, 1.3, 1.3});
        a.FStandardabweichung = 5;
        StatistikBerechnen(a);
        QCOMPARE(genau(a.FStandardabweichung), QStringLiteral("0"));
        QCOMPARE(genau(a.FDurchschnitt), genau(1.3));
    }

    // Fewer than two grades fail; the new sum of squares stays, mean and deviation keep theirs.
    void zuWenige_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QString>("fehlertext");
        QTest::addColumn<double>("quadratsumme");

        QTest::newRow("empty: 0 / 0") << QList<double>{} << fehler::UngueltigeOperation << 0.0;
        QTest::newRow("one, no residue: 0 / 0") << QList<double>{2.0} << fehler::UngueltigeOperation << 4.0;
        // 1,3 squared does not fit a double: the numerator is a rounding residue.
        QTest::newRow("one, residue / 0") << QList<double>{1.3} << fehler::DivisionDurchNull << 1.3 * 1.3;
    }
    void zuWenige() {
        QFETCH(QList<double>, noten);
        QFETCH(QString, fehlertext);
        QFETCH(double, quadratsumme);

        Auswertung a = mitNoten(noten);
        a.FDurchschnitt = 2.7;
        a.FStandardabweichung = 0.8;
        a.FQuadratsumme = 99;
        try {
            StatistikBerechnen(a);
            QFAIL("no fault raised");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), fehlertext);
        }
        QCOMPARE(genau(a.FQuadratsumme), genau(quadratsumme));
        QCOMPARE(genau(a.FDurchschnitt), genau(2.7));
        QCOMPARE(genau(a.FStandardabweichung), genau(0.8));
    }

    void bestandene_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<double>("grenznote");
        QTest::addColumn<int>("bestanden");

        QTest::newRow("threshold itself passes") << QList<double>{4.0, 4.1, 4.3, 1.0} << 4.0 << 2;
        QTest::newRow("empty list") << QList<double>{} << 4.0 << 0;
        QTest::newRow("no grades yet") << QList<double>{0.0, 0.0, 0.0} << 0.0 << 3;
    }
    void bestandene() {
        QFETCH(QList<double>, noten);
        QFETCH(double, grenznote);
        QFETCH(int, bestanden);

        Auswertung a = mitNoten(noten);
        a.FBestanden = 17;
        BestandeneZaehlen(a, grenznote);
        QCOMPARE(a.FBestanden, bestanden);
        QCOMPARE(a.FGrenznote, grenznote);
    }
};

QTEST_GUILESS_MAIN(TestStatistik)
#include "tst_statistik.moc"
