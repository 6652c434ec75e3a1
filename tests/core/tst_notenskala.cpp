// SPDX-License-Identifier: GPL-3.0-or-later
// Points to grades: the worked examples of the grading scale, the cases only extended
// precision grades right, and the faults of a piece of zero width.
#include "Exakt.h"
#include "Fehler.h"
#include "Notenskala.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

// The dialog's anchor grades 1,0 / 4,0 / 6,0 with minimum 0 points; the examples vary the points.
TNotenskala skala(double vollepunkte, double bestandenpunkte, int notenschluessel, int runden,
                  double vollenote = 1.0) {
    TNotenskala s;
    s.vollepunkte = vollepunkte;
    s.vollenote = vollenote;
    s.bestandenpunkte = bestandenpunkte;
    s.notenschluessel = notenschluessel;
    s.runden = runden;
    return s;
}

constexpr double kOhne = std::numeric_limits<double>::quiet_NaN(); // no exact value to check

// QCOMPARE on doubles is fuzzy; grades are compared exactly, the sign of zero included.
QString genau(double x) {
    return (std::signbit(x) ? QStringLiteral("-") : QString()) + QString::number(std::fabs(x), 'g', 17);
}

// A scale whose raw grade is the score itself, exactly, for scores up to `grenze` (a power of
// two or a value whose quotient with itself is 1): anchors 0 -> 0 and grenze -> grenze.
TNotenskala identisch(double grenze, int notenschluessel, int runden) {
    TNotenskala s;
    s.nichtbestandenpunkte = 0;
    s.nichtbestandennote = 0;
    s.bestandenpunkte = grenze;
    s.bestandennote = grenze;
    s.vollepunkte = 2 * grenze;
    s.vollenote = 2 * grenze;
    s.notenschluessel = notenschluessel;
    s.runden = runden;
    return s;
}

// Tenths in exact rationals: the double nearest to k/10, and for a raw grade r the steps u
// and t: the largest tenth whose double is not above r and the next tenth, as doubles.
namespace modell {
double naechster(const mpz_class& k) {
    return exakt::dbl(mpq_class(k, 10));
}

std::pair<double, double> zehntel(double r) {
    mpz_class k;
    const mpq_class zehnR = mpq_class(r) * 10;
    mpz_fdiv_q(k.get_mpz_t(), zehnR.get_num_mpz_t(), zehnR.get_den_mpz_t());
    // The tenths whose double is r lie within half a double's gap above it.
    const double luecke = std::nextafter(std::fabs(r), HUGE_VAL) - std::fabs(r);
    k += static_cast<long>(luecke * 5) + 2;
    while (naechster(k) > r)
        --k;
    return {naechster(k), naechster(k + 1)};
}
} // namespace modell

const char* const kRunden[] = {"besser", "schlechter", "kaufm"};
const char* const kSchluessel[] = {"Halbe", "Drittel", "Zehntel"};

} // namespace

class TestNotenskala : public QObject {
    Q_OBJECT

private:
    // One row per rounding rule; `ergebnisse` holds the three results "better / worse / nearer".
    static void zeilen(double vp, double bp, double punkte, int schluessel, const QStringList& ergebnisse,
                       const QList<double>& werte = {kOhne, kOhne, kOhne}, double vollenote = 1.0) {
        for (int runden = 0; runden < 3; ++runden)
            QTest::addRow("%g/%g best %g, %g P. %s %s", vp, bp, vollenote, punkte, kSchluessel[schluessel],
                          kRunden[runden])
                << vp << bp << vollenote << punkte << schluessel << runden << ergebnisse[runden]
                << werte[runden];
    }

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale("de_DE")); }

    void noteBerechnen_data() {
        QTest::addColumn<double>("vollepunkte");
        QTest::addColumn<double>("bestandenpunkte");
        QTest::addColumn<double>("vollenote");
        QTest::addColumn<double>("punkte");
        QTest::addColumn<int>("notenschluessel");
        QTest::addColumn<int>("runden");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert"); // the exact double, where it matters

        // The worked examples with the dialog's defaults 50 -> 1,0, 25 -> 4,0, 0 -> 6,0.
        const struct {
            double punkte;
            const char *halbe, *drittel;
        } beispiele[] = {
            {55, "0,0 0,5 0,5", "0,3 0,7 0,3"}, {50, "1,0 1,5 1,0", "1,0 1,3 1,0"},
            {47, "1,0 1,5 1,5", "1,3 1,7 1,3"}, {45, "1,5 2,0 1,5", "1,3 1,7 1,7"},
            {40, "2,0 2,5 2,0", "2,0 2,3 2,3"}, {37.5, "2,5 3,0 2,5", "2,3 2,7 2,3"},
            {30, "3,0 3,5 3,5", "3,3 3,7 3,3"}, {26, "3,5 4,0 4,0", "3,7 4,0 4,0"},
            {25, "4,0 4,5 4,0", "4,0 4,3 4,0"}, {20, "4,0 4,5 4,5", "4,3 4,7 4,3"},
            {10, "5,0 5,5 5,0", "5,0 5,3 5,3"}, {0, "6,0 6,5 6,0", "6,0 6,3 6,0"},
        };
        for (const auto& b : beispiele) {
            zeilen(50, 25, b.punkte, 0, QString::fromUtf8(b.halbe).split(u' '));
            zeilen(50, 25, b.punkte, 1, QString::fromUtf8(b.drittel).split(u' '));
        }

        // Tenths. A raw grade held as the double of a tenth keeps that tenth as its lower step,
        // and every tenth is the double nearest to it: 30 points (r just below 3,4) give 3,4.
        zeilen(50, 25, 50, 2, {"1,0", "1,1", "1,0"});
        zeilen(50, 25, 47, 2, {"1,3", "1,4", "1,4"});
        zeilen(50, 25, 26, 2, {"3,8", "3,9", "3,9"});
        zeilen(50, 25, 25, 2, {"4,0", "4,1", "4,0"});
        zeilen(50, 25, 30, 2, {"3,4", "3,5", "3,4"}, {3.4, 3.5, 3.4});
        zeilen(50, 25, 35, 2, {"2,8", "2,9", "2,8"}, {2.8, 2.9, 2.8});

        // Beyond the anchors: no clamping, and a negative raw grade is split toward zero.
        // 60 points: r = -0,2, the halves candidates are -0 and 0,5; the -0 comes out as +0.
        zeilen(50, 25, 60, 0, {"0,0", "0,5", "0,0"}, {0.0, 0.5, 0.0});
        zeilen(50, 25, 70, 0, {"-1,0", "-0,5", "-1,0"}, {-1.0, -0.5, -1.0});

        // An exact tie under "kaufmännisch" goes to the better grade: 8 -> 1,0, 4 -> 4,0, 5 P. is 3,25.
        QTest::newRow("tie 3,25 to the better grade") << 8.0 << 4.0 << 1.0 << 5.0 << 0 << 2 << "3,0" << 3.0;

        // 60 -> 1,0, 30 -> 4,0: 47 points give a raw grade held just below 2,3, so it stays in 2,0..2,3.
        zeilen(60, 30, 47, 1, {"2,0", "2,3", "2,3"});

        // No choice: the raw grade itself (26 points: 3,88).
        QTest::newRow("runden -1") << 50.0 << 25.0 << 1.0 << 26.0 << 1 << -1 << "3,9" << 3.88;
        for (int runden = 0; runden < 3; ++runden)
            QTest::addRow("notenschluessel -1 %s", kRunden[runden])
                << 50.0 << 25.0 << 1.0 << 26.0 << -1 << runden << "3,9" << 3.88;

        // Scores only a 64-bit significand grades right: with plain doubles the raw grade lands a
        // hair on the other side of a step (found by comparing both over many scales and scores).
        // 47,5 of 50: extended r is the double of 1,3; double arithmetic gives 1,2999999999999998.
        zeilen(50, 25, 47.5, 1, {"1,3", "1,7", "1,3"}); // doubles: 1,0 / 1,3 / 1,3
        // 45 of 50: extended r is the double of 1,6; doubles give 1,5999999999999996.
        zeilen(50, 25, 45, 2, {"1,6", "1,7", "1,6"}, {1.6, 1.7, 1.6}); // doubles: 1,5 / 1,6 / 1,6
        // 97,5 of 100 (pass 50): extended r is 1,1499999999999999, doubles 1,1500000000000004.
        zeilen(100, 50, 97.5, 1, {"1,0", "1,3", "1,0"}); // doubles: 1,0 / 1,3 / 1,3
        // 50,5 of 60 (pass 30): extended r is 1,95 (held below), doubles 1,9500000000000002.
        zeilen(60, 30, 50.5, 2, {"1,9", "2,0", "1,9"}, {1.9, 2.0, 1.9}); // doubles: 1,9 / 2,0 / 2,0

        // The thirds' bounds are the extended values nearest to ,3 and ,7, a hair above the doubles:
        // full points with the best grade 0,7 give r = the double of 0,7, which lies below the bound
        // and so in the interval 0,3..0,7 (with double bounds: 0,7 / 1,0 / 0,7).
        zeilen(50, 25, 50, 1, {"0,3", "0,7", "0,7"}, {0.3, 0.7, 0.7}, 0.7);
    }
    void noteBerechnen() {
        QFETCH(double, vollepunkte);
        QFETCH(double, bestandenpunkte);
        QFETCH(double, vollenote);
        QFETCH(double, punkte);
        QFETCH(int, notenschluessel);
        QFETCH(int, runden);
        QFETCH(QString, text);
        QFETCH(double, wert);

        const double note =
            NoteBerechnen(punkte, skala(vollepunkte, bestandenpunkte, notenschluessel, runden, vollenote));
        QCOMPARE(zahltext::fest(note, 1), text);
        if (!std::isnan(wert))
            QCOMPARE(genau(note), genau(wert));
    }

    // Anchor grades of -0 make the raw grade itself -0; it is handed out as +0.
    void minusNullWirdNull() {
        TNotenskala s = skala(50, 25, 1, -1, -0.0);
        s.bestandennote = -0.0;
        QCOMPARE(genau(NoteBerechnen(30, s)), QStringLiteral("0"));
    }

    // Tenths that print alike are one double, whatever the score: the grade classes rely on it.
    void zehntelSindEindeutig() {
        for (int runden = 0; runden < 3; ++runden) {
            const TNotenskala s = skala(50, 25, 2, runden);
            for (int viertel = -40; viertel <= 240; ++viertel) {
                const double note = NoteBerechnen(viertel / 4.0, s);
                const double zehntel = static_cast<double>(std::llround(note * 10)) / 10.0;
                if (note != zehntel)
                    QFAIL(qPrintable(QStringLiteral("%1 points, rule %2: %3 is no tenth")
                                         .arg(viertel / 4.0)
                                         .arg(runden)
                                         .arg(note, 0, 'g', 17)));
            }
        }
    }

    // Where doubles are coarser than tenths the worse grade is still the double nearest the
    // next tenth above r, never r itself.
    void grosseZehntel_data() {
        QTest::addColumn<double>("roh");
        QTest::addColumn<double>("besser");
        QTest::addColumn<double>("schlechter");
        const double p49 = std::ldexp(1.0, 49), p50 = std::ldexp(1.0, 50), p52 = std::ldexp(1.0, 52),
                     p53 = std::ldexp(1.0, 53);
        QTest::newRow("2^49") << p49 << p49 << p49 + 0.125;
        QTest::newRow("2^49 + 1/4: 0,3 is its double too") << p49 + 0.25 << p49 + 0.25 << p49 + 0.375;
        QTest::newRow("2^50") << p50 << p50 << p50 + 0.25;
        QTest::newRow("2^50 + 3/4") << p50 + 0.75 << p50 + 0.75 << p50 + 1;
        QTest::newRow("2^52") << p52 << p52 << p52 + 1;
        QTest::newRow("2^53 - 1: the tie goes to the even 2^53") << p53 - 1 << p53 - 1 << p53;
        QTest::newRow("2^53") << p53 << p53 << p53 + 2;
        QTest::newRow("2^60") << std::ldexp(1.0, 60) << std::ldexp(1.0, 60) << std::ldexp(1.0, 60) + 256;
        QTest::newRow("-2^49: the gap above is finer") << -p49 << -p49 << -p49 + 0.125;
        QTest::newRow("-2^53") << -p53 << -p53 << -p53 + 1;
    }
    void grosseZehntel() {
        QFETCH(double, roh);
        QFETCH(double, besser);
        QFETCH(double, schlechter);
        const double grenze = std::ldexp(1.0, 62);
        QCOMPARE(genau(NoteBerechnen(roh, identisch(grenze, 2, 0))), genau(besser));
        QCOMPARE(genau(NoteBerechnen(roh, identisch(grenze, 2, 1))), genau(schlechter));
        QCOMPARE(genau(NoteBerechnen(roh, identisch(grenze, 2, 2))), genau(besser));
    }

    // Beyond the largest double there is no next tenth.
    void zehntelUeberDemGroesstenDouble() {
        const double groesste = std::numeric_limits<double>::max();
        QCOMPARE(genau(NoteBerechnen(groesste, identisch(groesste, 2, 0))), genau(groesste));
        try {
            NoteBerechnen(groesste, identisch(groesste, 2, 1));
            QFAIL("no fault raised");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), fehler::Ueberlauf);
        }
    }

    // Tenths of raw grades of every size, all three rules, against the exact model.
    void zehntelWieDasExakteModell_data() {
        QTest::addColumn<int>("vonExponent");
        QTest::addColumn<int>("bisExponent");
        QTest::addColumn<bool>("negativ");
        QTest::newRow("grades") << -4 << 4 << false;
        QTest::newRow("below 2^49") << 4 << 49 << false;
        QTest::newRow("2^49 to 2^53") << 49 << 53 << false;
        QTest::newRow("2^53 to 2^60") << 53 << 60 << false;
        QTest::newRow("negative grades") << -4 << 4 << true;
        QTest::newRow("negative, 2^49 to 2^53") << 49 << 53 << true;
        QTest::newRow("negative, 2^53 to 2^60") << 53 << 60 << true;
    }
    void zehntelWieDasExakteModell() {
        QFETCH(int, vonExponent);
        QFETCH(int, bisExponent);
        QFETCH(bool, negativ);
        std::mt19937_64 z(4242 + vonExponent + negativ);
        std::uniform_real_distribution<double> mantisse(1.0, 2.0);
        std::uniform_int_distribution<int> exponent(vonExponent, bisExponent - 1), stellen(0, 3);
        const TNotenskala regeln[] = {identisch(std::ldexp(1.0, 62), 2, 0),
                                      identisch(std::ldexp(1.0, 62), 2, 1),
                                      identisch(std::ldexp(1.0, 62), 2, 2)};
        for (int i = 0; i < 20'000; ++i) {
            double r = std::ldexp(mantisse(z), exponent(z));
            if (i % 2) { // few binary digits: whole, halves, quarters, eighths
                const int k = stellen(z);
                r = std::ldexp(std::round(std::ldexp(r, k)), -k);
            }
            if (negativ)
                r = -r;
            const auto [u, t] = modell::zehntel(r);
            const mpq_class exaktR(r);
            const double naeher = abs(mpq_class(t) - exaktR) < abs(mpq_class(u) - exaktR) ? t : u;
            const double erwartet[] = {u, t, naeher};
            for (int regel = 0; regel < 3; ++regel) {
                const double note = NoteBerechnen(r, regeln[regel]);
                if (std::bit_cast<quint64>(note) !=
                    std::bit_cast<quint64>(erwartet[regel] == 0 ? 0.0 : erwartet[regel]))
                    QFAIL(
                        qPrintable(QStringLiteral("raw grade %1, rule %2: %3 against %4")
                                       .arg(genau(r), kRunden[regel], genau(note), genau(erwartet[regel]))));
            }
        }
    }

    // A piece whose two ends have the same points: only the scores on it fail.
    void nullbreite_data() {
        QTest::addColumn<double>("vollepunkte");
        QTest::addColumn<double>("bestandenpunkte");
        QTest::addColumn<double>("punkte");
        QTest::addColumn<QString>("fehlertext"); // empty: computes
        QTest::addColumn<QString>("text");

        QTest::newRow("upper piece, above the pass points")
            << 25.0 << 25.0 << 30.0 << fehler::DivisionDurchNull << "";
        QTest::newRow("upper piece, at the pass points") << 25.0 << 25.0 << 25.0 << ""
                                                         << "4,3";
        QTest::newRow("upper piece, lower scores") << 25.0 << 25.0 << 10.0 << ""
                                                   << "5,3";
        QTest::newRow("lower piece, 0 / 0") << 50.0 << 0.0 << 0.0 << fehler::UngueltigeOperation << "";
        QTest::newRow("lower piece, below") << 50.0 << 0.0 << -5.0 << fehler::DivisionDurchNull << "";
        QTest::newRow("lower piece, upper scores") << 50.0 << 0.0 << 10.0 << ""
                                                   << "3,7";
    }
    void nullbreite() {
        QFETCH(double, vollepunkte);
        QFETCH(double, bestandenpunkte);
        QFETCH(double, punkte);
        QFETCH(QString, fehlertext);
        QFETCH(QString, text);

        TNotenskala s = skala(vollepunkte, bestandenpunkte, 1, 1);
        s.nichtbestandenpunkte = 0;
        try {
            const double note = NoteBerechnen(punkte, s);
            QVERIFY2(fehlertext.isEmpty(), "no fault raised");
            QCOMPARE(zahltext::fest(note, 1), text);
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), fehlertext);
        }
    }

    // Without a fault every entry, across several blocks, gets the grade NoteBerechnen gives it.
    void alleNotenWieEinzeln() {
        const TNotenskala s = skala(50, 25, 1, 2);
        Notenliste liste;
        for (int i = 0; i < 600; ++i)
            liste.append(testeintrag("Anna", (i * 7 % 501) / 10.0, 9, u'C'));
        const Notenliste vorher = liste;
        AlleNotenBerechnen(liste, s);
        for (qsizetype i = 0; i < liste.size(); ++i) {
            QCOMPARE(liste[i].note, NoteBerechnen(vorher[i].punkte, s));
            QCOMPARE(liste[i].punkte, vorher[i].punkte);
            QCOMPARE(liste[i].ects, u'C');
        }
    }

    // The fault stops the list at its entry: the entries before it are regraded, the rest keep theirs.
    void alleNotenBrichtAmFehlerAb_data() {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<int>("fehlerBei");
        QTest::newRow("first entry") << 3 << 0;
        QTest::newRow("third entry") << 4 << 2;
        QTest::newRow("far into a long list") << 600 << 520;
    }
    void alleNotenBrichtAmFehlerAb() {
        QFETCH(int, laenge);
        QFETCH(int, fehlerBei);

        const TNotenskala s = skala(25, 25, 1, 1); // no room above the pass points
        Notenliste liste;
        for (int i = 0; i < laenge; ++i)
            liste.append(testeintrag("Anna", i == fehlerBei ? 30 : 20, 9, u'C'));
        try {
            AlleNotenBerechnen(liste, s);
            QFAIL("no fault raised");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), fehler::DivisionDurchNull);
        }
        for (int i = 0; i < laenge; ++i)
            QCOMPARE(zahltext::fest(liste[i].note, 1),
                     i < fehlerBei ? QStringLiteral("4,7") : QStringLiteral("9,0"));
        // Only the grade changes.
        QCOMPARE(liste[0].nameText(), QStringLiteral("Anna"));
        QCOMPARE(liste[0].punkte, fehlerBei == 0 ? 30.0 : 20.0);
        QCOMPARE(liste[0].ects, u'C');
    }
};

QTEST_GUILESS_MAIN(TestNotenskala)
#include "tst_notenskala.moc"
