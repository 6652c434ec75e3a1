// SPDX-License-Identifier: GPL-3.0-or-later
// Mean, standard deviation and pass count of the list's grades.
#include "Exakt.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Statistik.h"
#include "Zahltext.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

Q_DECLARE_METATYPE(QList<double>)

namespace {

// QCOMPARE on doubles is fuzzy; the sums are compared exactly.
QString genau(double x) {
    return (std::signbit(x) ? QStringLiteral("-") : QString()) + QString::number(std::fabs(x), 'g', 17);
}

Auswertung mitNoten(const QList<double>& noten) {
    Auswertung a;
    for (double n : noten) {
        TNotenEintrag e = leererEintrag();
        e.note = n;
        a.FEintraege.push_back(e);
    }
    return a;
}

// The statistics by their rules in exact rationals, each rounding made explicitly.
namespace modell {
using namespace exakt;

struct Ergebnis {
    double durchschnitt, abweichung, quadratsumme;
};

Ergebnis statistik(const QList<double>& noten) {
    mpq_class s = 0, q = 0;
    for (double g : noten) {
        const mpq_class x(g);
        s = dbl(ext(s + x));
        q = dbl(ext(ext(x * x) + q));
    }
    const mpq_class n(static_cast<long>(noten.size()));
    const mpq_class radikand = ext(ext(q - ext(ext(s * s) / n)) / (n - 1));
    const double abweichung = radikand > 0 ? dbl(wurzel(radikand)) : 0.0;
    return {dbl(ext(s / n)), abweichung, q.get_d()};
}

} // namespace modell

} // namespace

class TestStatistik : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale("de_DE")); }

    void statistik_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QString>("durchschnitt");
        QTest::addColumn<QString>("abweichung"); // two decimals
        QTest::addColumn<double>("quadratsumme");

        QTest::newRow("1, 2, 3") << QList<double>{1.0, 2.0, 3.0} << "2,0"
                                 << "1,00" << 14.0;
        QTest::newRow("1, 4") << QList<double>{1.0, 4.0} << "2,5"
                              << "2,12" << 17.0;
    }
    void statistik() {
        QFETCH(QList<double>, noten);
        QFETCH(QString, durchschnitt);
        QFETCH(QString, abweichung);
        QFETCH(double, quadratsumme);

        Auswertung a = mitNoten(noten);
        a.FQuadratsumme = 99; // rebuilt, not added to
        StatistikBerechnen(a);
        QCOMPARE(zahltext::fest(a.FDurchschnitt, 1), durchschnitt);
        QCOMPARE(zahltext::fest(a.FStandardabweichung, 2), abweichung);
        QCOMPARE(genau(a.FQuadratsumme), genau(quadratsumme));
    }

    // The sum is formed in extended and rounded to double at each step: 1 + (2^-53 + 2^-70)
    // is 1 + 2^-53 in extended, a tie that rounds to 1; a plain double sum gives 1 + 2^-52 and
    // the mean 0,5000000000000001.
    void summeDoppeltGerundet() {
        Auswertung a = mitNoten({1.0, std::ldexp(1.0, -53) + std::ldexp(1.0, -70)});
        StatistikBerechnen(a);
        QCOMPARE(genau(a.FDurchschnitt), QStringLiteral("0.5"));
    }

    // Mean, deviation and sum of squares bit for bit as the exact model gives them, for lists
    // whose grades have many binary digits.
    void wieDasExakteModell_data() {
        QTest::addColumn<int>("art");
        QTest::newRow("grades of a scale") << 0;
        QTest::newRow("full mantissas, any size") << 1;
        QTest::newRow("near half a step of the sum") << 2;
        QTest::newRow("one large, many tiny") << 3;
    }
    void wieDasExakteModell() {
        QFETCH(int, art);
        std::mt19937_64 z(9000 + art);
        std::uniform_int_distribution<int> laenge(2, 40), zehntel(10, 60), exponent(-75, 3), tief(54, 80);
        std::uniform_real_distribution<double> mantisse(1.0, 2.0);
        for (int fall = 0; fall < 1500; ++fall) {
            QList<double> noten;
            const int n = laenge(z);
            for (int i = 0; i < n; ++i) {
                switch (art) {
                case 0:
                    noten << (z() % 3 == 0 ? zehntel(z) / 3.0 : zehntel(z) / 10.0);
                    break;
                case 1:
                    noten << std::ldexp(mantisse(z), exponent(z));
                    break;
                case 2: // 2^-53 is half a step of a sum in [1, 2)
                    noten << (i == 0 ? mantisse(z)
                                     : std::ldexp(1.0, -53) + std::ldexp(mantisse(z), -tief(z)));
                    break;
                default:
                    noten << (i == 0 ? 1 + zehntel(z) / 10.0 : std::ldexp(mantisse(z), -tief(z) + 10));
                }
            }
            Auswertung a = mitNoten(noten);
            StatistikBerechnen(a);
            const modell::Ergebnis m = modell::statistik(noten);
            const bool gleich =
                std::bit_cast<quint64>(a.FDurchschnitt) == std::bit_cast<quint64>(m.durchschnitt) &&
                std::bit_cast<quint64>(a.FStandardabweichung) == std::bit_cast<quint64>(m.abweichung) &&
                std::bit_cast<quint64>(a.FQuadratsumme) == std::bit_cast<quint64>(m.quadratsumme);
            if (!gleich)
                QFAIL(qPrintable(
                    QStringLiteral(
                        "list %1: mean %2 against %3, deviation %4 against %5, squares %6 against %7")
                        .arg(fall)
                        .arg(genau(a.FDurchschnitt), genau(m.durchschnitt), genau(a.FStandardabweichung),
                             genau(m.abweichung), genau(a.FQuadratsumme), genau(m.quadratsumme))));
        }
    }

    // All equal: rounding leaves the radicand a hair below zero; the spread is 0, no fault.
    void gleicheNotenOhneStreuung() {
        Auswertung a = mitNoten({1.3, 1.3, 1.3});
        a.FStandardabweichung = 5;
        StatistikBerechnen(a);
        QCOMPARE(genau(a.FStandardabweichung), QStringLiteral("0"));
        QCOMPARE(genau(a.FDurchschnitt), genau(1.3));
    }

    // Fewer than two grades, or grades whose spread is no number, fail; the new sum of squares
    // stays, mean and deviation keep theirs.
    void zuWenige_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QString>("fehlertext");
        QTest::addColumn<double>("quadratsumme");

        QTest::newRow("empty: 0 / 0") << QList<double>{} << fehler::UngueltigeOperation << 0.0;
        QTest::newRow("one, no residue: 0 / 0") << QList<double>{2.0} << fehler::UngueltigeOperation << 4.0;
        // 1,3 squared does not fit a double: the numerator is a rounding residue.
        QTest::newRow("one, residue / 0") << QList<double>{1.3} << fehler::DivisionDurchNull << 1.3 * 1.3;
        // Grades a foreign record file can hold: no infinite or NaN deviation comes out.
        const double unendlich = std::numeric_limits<double>::infinity();
        QTest::newRow("infinite grade")
            << QList<double>{2.0, unendlich} << fehler::UngueltigeOperation << unendlich;
        QTest::newRow("squares beyond double")
            << QList<double>{1e300, -1e300} << fehler::UngueltigeOperation << unendlich;
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

    // A cancel ends both with fortschritt::Abgebrochen and leaves the evaluation's fields as they were.
    void abbruch() {
        Auswertung a = mitNoten(QList<double>(10000, 2.0));
        a.FDurchschnitt = 3;
        a.FStandardabweichung = 1;
        a.FQuadratsumme = 5;
        a.FBestanden = 17;
        a.FGrenznote = 4;
        fortschritt::Stand stand;
        stand.abbrechen = true;
        const fortschritt::Bindung bindung(stand);
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, StatistikBerechnen(a));
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, BestandeneZaehlen(a, 2.5));
        QCOMPARE(a.FDurchschnitt, 3.0);
        QCOMPARE(a.FStandardabweichung, 1.0);
        QCOMPARE(a.FQuadratsumme, 5.0);
        QCOMPARE(a.FBestanden, 17);
        QCOMPARE(a.FGrenznote, 4.0);
    }
};

QTEST_GUILESS_MAIN(TestStatistik)
#include "tst_statistik.moc"
