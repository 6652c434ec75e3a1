// SPDX-License-Identifier: GPL-3.0-or-later
// The Hofstee pass mark: where the diagonal of the judgement rectangle meets the failure curve.
#include "Fehler.h"
#include "Hofstee.h"
#include "Meldungsfehler.h"
#include "Zahltext.h"

#include <QTest>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>

Q_DECLARE_METATYPE(QList<double>)
Q_DECLARE_METATYPE(HofsteeUrteile)

namespace {
HofsteeUrteile urteile(long double kMin, long double kMax, long double fMin, long double fMax) {
    return {kMin, kMax, fMin, fMax};
}

Durchfallkurve kurve(const QList<double>& punkte) {
    return Durchfallkurve({punkte.begin(), punkte.end()});
}

// Share in percent of the scores below k, and up to and including k, counted one by one.
long double anteil(const QList<double>& punkte, long double k, bool mitGleichen) {
    const auto n = std::count_if(punkte.begin(), punkte.end(), [&](double p) {
        return mitGleichen ? static_cast<long double>(p) <= k : static_cast<long double>(p) < k;
    });
    return 100.0L * n / punkte.size();
}

const QList<double> kFlach = {0, 10, 20, 28, 30, 35, 40, 45, 48, 50};
} // namespace

class TestHofstee : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale("de_DE")); }

    void durchfallkurve() {
        // A student with exactly k points passes: the rate at 20 counts only those below.
        const Durchfallkurve k = kurve({20, 10, 20, 30});
        QCOMPARE(k.durchgefallen(20), qsizetype(1));
        QCOMPARE(k.durchgefallen(20.5L), qsizetype(3));
        QCOMPARE(static_cast<double>(k.quote(20)), 25.0);
        QCOMPARE(k.stufen().size(), std::size_t(3));
        QCOMPARE(k.stufen()[1].punkte, 20.0);
        QCOMPARE(static_cast<double>(k.stufen()[1].vorher), 25.0);
        QCOMPARE(static_cast<double>(k.stufen()[1].nachher), 75.0);
    }

    // Each row: a list, the judgements, the intersection as a fraction z / n, whether it lies on a
    // step, the diagonal's height there, how many fail, and what goes into the scale.
    void schnittpunkt_data() {
        QTest::addColumn<QList<double>>("punkte");
        QTest::addColumn<HofsteeUrteile>("u");
        QTest::addColumn<double>("zaehler");
        QTest::addColumn<double>("nenner");
        QTest::addColumn<bool>("aufStufe");
        QTest::addColumn<double>("hoehe");
        QTest::addColumn<int>("durchgefallen");
        QTest::addColumn<double>("uebernahme");

        // Diagonal 50 - 4 (k - 20): the level 30 % on (20, 28] is met at 25.
        QTest::newRow("flat part") << kFlach << urteile(20, 30, 10, 50) << 25.0 << 1.0 << false << 30.0 << 3
                                   << 25.0;
        // Diagonal 40 - 3 (k - 20): the level 30 % is met at 70 / 3, written with two decimals.
        QTest::newRow("flat part, fraction")
            << kFlach << urteile(20, 30, 10, 40) << 70.0 << 3.0 << false << 30.0 << 3 << 23.33;
        // The step at 22 rises from 40 % to 50 %; the diagonal passes it at 42 %. The four below
        // 22 fail, the one with 22 passes.
        QTest::newRow("on a step") << QList<double>{5, 10, 15, 20, 22, 25, 28, 30, 35, 40}
                                   << urteile(20, 30, 10, 50) << 22.0 << 1.0 << true << 42.0 << 4 << 22.0;
        // The step at 20 from 40 % to 60 % takes the rectangle's corner (20, 50 %).
        QTest::newRow("step at the lowest pass points")
            << QList<double>{1, 2, 3, 4, 20, 20, 30, 31, 32, 33} << urteile(20, 30, 10, 50) << 20.0 << 1.0
            << true << 50.0 << 4 << 20.0;
        // Nobody below the rectangle with an accepted rate of 0 %: the corner (30, 0 %).
        QTest::newRow("flat at 0 % to the corner") << QList<double>{40, 45, 50} << urteile(20, 30, 0, 40)
                                                   << 30.0 << 1.0 << false << 0.0 << 0 << 30.0;
        // Everyone below the rectangle, 100 % accepted: the corner (20, 100 %).
        QTest::newRow("flat at 100 % from the corner") << QList<double>{1, 2, 3} << urteile(20, 30, 10, 100)
                                                       << 20.0 << 1.0 << false << 100.0 << 3 << 20.0;
        // Two decimals would let the student with 23,333 pass, three as well; four keep him failing.
        QTest::newRow("rounding keeps who fails")
            << QList<double>{0, 10, 23.333, 28, 30, 35, 40, 45, 48, 50} << urteile(20, 30, 10, 40) << 70.0
            << 3.0 << false << 30.0 << 3 << 23.3333;
        // Six decimals would let the student with 23,3333333 pass: the exact value is taken.
        QTest::newRow("no rounding keeps who fails")
            << QList<double>{0, 10, 23.3333333, 28, 30, 35, 40, 45, 48, 50} << urteile(20, 30, 10, 40) << 70.0
            << 3.0 << false << 30.0 << 3 << 70.0 / 3.0;
    }
    void schnittpunkt() {
        QFETCH(QList<double>, punkte);
        QFETCH(HofsteeUrteile, u);
        QFETCH(double, zaehler);
        QFETCH(double, nenner);
        QFETCH(bool, aufStufe);
        QFETCH(double, hoehe);
        QFETCH(int, durchgefallen);
        QFETCH(double, uebernahme);
        const Durchfallkurve k = kurve(punkte);
        const HofsteeErgebnis e = hofsteeGrenze(k, u);
        const long double erwartet = static_cast<long double>(zaehler) / nenner;
        QVERIFY2(std::fabs(e.punkte - erwartet) <= 2 * LDBL_EPSILON * erwartet,
                 qPrintable(zahltext::kurz(static_cast<double>(e.punkte))));
        QCOMPARE(e.aufStufe, aufStufe);
        QVERIFY(std::fabs(e.hoehe - hoehe) <= 200 * LDBL_EPSILON);
        QCOMPARE(e.durchgefallen, qsizetype(durchgefallen));
        QCOMPARE(static_cast<double>(e.quote), 100.0 * durchgefallen / static_cast<double>(punkte.size()));
        QCOMPARE(static_cast<double>(hofsteeUebernahmewert(k, e)), uebernahme);
    }

    void keinSchnittpunkt_data() {
        QTest::addColumn<QList<double>>("punkte");
        QTest::addColumn<HofsteeUrteile>("u");
        QTest::addColumn<QString>("meldung");
        const QString ausserhalb =
            QStringLiteral(" Die Diagonale trifft die Durchfallkurve nicht innerhalb des Rechtecks.");
        QTest::newRow("too many fail at the lowest pass points")
            << QList<double>{0, 5, 10, 15, 18, 27, 35, 40, 45, 50} << urteile(20, 30, 10, 40)
            << QStringLiteral("Bei der niedrigsten annehmbaren Bestehensgrenze von 20 Punkten fallen schon "
                              "50,0 % durch, "
                              "mehr als die höchste annehmbare Durchfallquote von 40,0 %.") +
                   ausserhalb;
        QTest::newRow("too few fail at the highest pass points")
            << QList<double>{30, 35, 40, 45} << urteile(20, 30.5, 30, 40)
            << QStringLiteral("Auch bei der höchsten annehmbaren Bestehensgrenze von 30,5 Punkten fallen nur "
                              "25,0 % durch, "
                              "weniger als die niedrigste annehmbare Durchfallquote von 30,0 %.") +
                   ausserhalb;
        QTest::newRow("empty list")
            << QList<double>{} << urteile(20, 30, 10, 40)
            << QStringLiteral("Die Liste enthält keine Ergebnisse, es gibt also keine Durchfallkurve.");
        QTest::newRow("pass points reversed")
            << kFlach << urteile(30, 20, 10, 40)
            << QStringLiteral("Die niedrigste annehmbare Bestehensgrenze muss unter der höchsten liegen.");
        QTest::newRow("equal rates")
            << kFlach << urteile(20, 30, 40, 40)
            << QStringLiteral("Die niedrigste annehmbare Durchfallquote muss unter der höchsten liegen.");
        QTest::newRow("rate above 100 %")
            << kFlach << urteile(20, 30, 10, 120)
            << QStringLiteral("Die Durchfallquoten müssen zwischen 0 und 100 % liegen.");
        QTest::newRow("rate below 0 %")
            << kFlach << urteile(20, 30, -10, 40)
            << QStringLiteral("Die Durchfallquoten müssen zwischen 0 und 100 % liegen.");
    }
    void keinSchnittpunkt() {
        QFETCH(QList<double>, punkte);
        QFETCH(HofsteeUrteile, u);
        QFETCH(QString, meldung);
        try {
            hofsteeGrenze(kurve(punkte), u);
            QFAIL("no message");
        } catch (const Meldungsfehler& f) {
            QCOMPARE(f.text(), meldung);
        }
    }

    // Random lists and judgements against the definition: the point found lies on the diagonal
    // and on the curve (between the rates below and up to it); no point means the curve passes
    // the rectangle above its left edge or below its right one.
    void gegenDefinition() {
        std::mt19937 zufall(15);
        for (int lauf = 0; lauf < 2000; ++lauf) {
            QList<double> punkte;
            const int n = 1 + static_cast<int>(zufall() % 40);
            for (int i = 0; i < n; ++i)
                punkte << static_cast<double>(zufall() % 101) / 2;
            const long double kMin = zufall() % 40, kMax = kMin + 1 + zufall() % 20;
            const long double fMin = zufall() % 60, fMax = fMin + 1 + zufall() % 40;
            const HofsteeUrteile u = urteile(kMin, kMax, fMin, std::min<long double>(fMax, 100));
            const Durchfallkurve k = kurve(punkte);
            try {
                const HofsteeErgebnis e = hofsteeGrenze(k, u);
                const long double toleranz = 1e-15L;
                QVERIFY(e.punkte >= kMin && e.punkte <= kMax);
                QVERIFY(std::fabs(hofsteeDiagonale(u, e.punkte) - e.hoehe) <= toleranz);
                QVERIFY(anteil(punkte, e.punkte, false) <= e.hoehe + toleranz);
                QVERIFY(e.hoehe <= anteil(punkte, e.punkte, true) + toleranz);
                // Off a step a score can only be met at a step's foot or top.
                const bool punktzahl = punkte.contains(static_cast<double>(e.punkte));
                if (e.aufStufe)
                    QVERIFY(punktzahl);
                else
                    QVERIFY(!punktzahl || std::fabs(anteil(punkte, e.punkte, false) - e.hoehe) <= toleranz ||
                            std::fabs(anteil(punkte, e.punkte, true) - e.hoehe) <= toleranz);
            } catch (const Meldungsfehler&) {
                QVERIFY(anteil(punkte, kMin, false) > u.maxQuote || anteil(punkte, kMax, true) < u.minQuote);
            }
        }
    }

    // Where the diagonal meets the flat part exactly at a corner of the rectangle, the corner is
    // the answer, however the judgements' extended values round: the scores 1 and 3 with
    // fMin 50 and fMax 92 meet at (kMax, 50 %) for every kMin < 1 < kMax, as the numeric fields
    // hold them (kMin in hundredths, kMax in tenths).
    void eckeDesRechtecks() {
        const Durchfallkurve k = kurve({1, 3});
        for (int kMinHundertstel = 0; kMinHundertstel < 100; ++kMinHundertstel) {
            for (int kMaxZehntel = 11; kMaxZehntel <= 30; ++kMaxZehntel) {
                const QString kMinText = QStringLiteral("0,%1").arg(kMinHundertstel, 2, 10, QLatin1Char('0'));
                const QString kMaxText = QStringLiteral("%1,%2").arg(kMaxZehntel / 10).arg(kMaxZehntel % 10);
                const HofsteeUrteile u =
                    urteile(*zahltext::lese(kMinText), *zahltext::lese(kMaxText), 50, 92);
                HofsteeErgebnis e;
                try {
                    e = hofsteeGrenze(k, u);
                } catch (const Fehler& f) {
                    QFAIL(qPrintable(kMinText + QStringLiteral(" bis ") + kMaxText + QStringLiteral(": ") +
                                     f.text()));
                }
                QVERIFY2(e.punkte == u.maxPunkte, qPrintable(kMinText + QStringLiteral(" bis ") + kMaxText));
                QCOMPARE(e.durchgefallen, qsizetype(1));
            }
        }
    }

    // Judgements typed as extended values can span more than the extended range.
    void spanneUeberlaeuft() {
        try {
            hofsteeGrenze(kurve(kFlach), urteile(-LDBL_MAX, LDBL_MAX, 10, 40));
            QFAIL("no fault raised");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), fehler::Ueberlauf);
        }
    }

    // An empty list makes a curve too: no step, and a rate of 0 rather than 0 / 0.
    void leereKurve() {
        const Durchfallkurve k = kurve({});
        QCOMPARE(k.anzahl(), qsizetype(0));
        QCOMPARE(static_cast<double>(k.quote(5)), 0.0);
        QVERIFY(k.stufen().empty());
    }

    void ungueltigePunkte() { QVERIFY_THROWS_EXCEPTION(Fehler, kurve({1, std::nan(""), 3})); }
};

QTEST_MAIN(TestHofstee)
#include "tst_hofstee.moc"
