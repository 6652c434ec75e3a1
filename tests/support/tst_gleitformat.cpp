// SPDX-License-Identifier: GPL-3.0-or-later
// The five float formats under a German and an English locale.
#include "Gleitformat.h"
#include "Zahltext.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <limits>

class TestGleitformat : public QObject {
    Q_OBJECT

private slots:
    void formatiere_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<TFloatFormat>("format");
        QTest::addColumn<int>("precision");
        QTest::addColumn<int>("digits");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        const auto G = TFloatFormat::ffGeneral, E = TFloatFormat::ffExponent, F = TFloatFormat::ffFixed,
                   N = TFloatFormat::ffNumber, C = TFloatFormat::ffCurrency;
        const QString de = QStringLiteral("de_DE"), en = QStringLiteral("en_US");

        QTest::newRow("general whole") << de << G << 8 << 0 << 4.0 << "4";
        QTest::newRow("general zero") << de << G << 8 << 0 << -0.0 << "0";
        QTest::newRow("general decimals") << de << G << 8 << 0 << -1234.5678 << "-1234,5678";
        QTest::newRow("general sum noise cut") << de << G << 8 << 0 << 0.1 + 0.2 << "0,3";
        QTest::newRow("general exact tie") << de << G << 2 << 0 << 0.125 << "0,13";
        QTest::newRow("general below tie in binary") << de << G << 3 << 0 << 2.675 << "2,67";
        QTest::newRow("general small fixed") << de << G << 8 << 0 << 0.0001 << "0,0001";
        QTest::newRow("general small exponent") << de << G << 8 << 0 << 0.00001 << "1E-5";
        QTest::newRow("general integer digits = precision") << de << G << 8 << 0 << 12345678.0 << "12345678";
        QTest::newRow("general too many integer digits") << de << G << 8 << 0 << 123456789.0 << "1,2345679E8";
        QTest::newRow("general exponent digits") << de << G << 8 << 3 << 1.5e20 << "1,5E020";
        QTest::newRow("general carry") << de << G << 4 << 0 << 999.96 << "1000";
        QTest::newRow("general carry past precision") << de << G << 3 << 0 << 999.96 << "1E3";
        QTest::newRow("general 2^70 exact")
            << de << G << 18 << 0 << std::ldexp(1.0, 70) << "1,1805916207174113E21";
        QTest::newRow("general english") << en << G << 8 << 0 << 2.5 << "2.5";

        QTest::newRow("exponent") << de << E << 8 << 3 << 1234.5 << "1,2345000E+003";
        QTest::newRow("exponent negative") << de << E << 3 << 2 << -0.00012 << "-1,20E-04";
        QTest::newRow("exponent zero") << de << E << 4 << 1 << 0.0 << "0,000E+0";

        QTest::newRow("fixed pads") << de << F << 8 << 1 << 4.0 << "4,0";
        QTest::newRow("fixed no decimals") << de << F << 8 << 0 << 1.0 << "1";
        QTest::newRow("fixed exact tie") << de << F << 8 << 1 << 2.25 << "2,3";
        QTest::newRow("fixed negative tie") << de << F << 8 << 1 << -2.25 << "-2,3";
        QTest::newRow("fixed above tie in binary") << de << F << 8 << 1 << 0.05 << "0,1";
        QTest::newRow("fixed below tie in binary") << de << F << 8 << 1 << 0.15 << "0,1";
        QTest::newRow("fixed rounds to zero") << de << F << 8 << 1 << -0.04 << "0,0";
        QTest::newRow("fixed precision limits digits")
            << de << F << 8 << 10 << 1.23456789123 << "1,2345679000";
        QTest::newRow("fixed beyond precision") << de << F << 8 << 2 << 123456789.0 << "1,2345679E8";
        QTest::newRow("fixed english") << en << F << 8 << 2 << 0.5 << "0.50";

        QTest::newRow("number") << de << N << 8 << 1 << 1234.5 << "1.234,5";
        QTest::newRow("number millions") << de << N << 10 << 2 << 1234567.891 << "1.234.567,89";
        QTest::newRow("number carry") << de << N << 8 << 1 << 999.95 << "1.000,0";
        QTest::newRow("number negative") << de << N << 8 << 0 << -123456.0 << "-123.456";
        QTest::newRow("number small") << de << N << 8 << 1 << 999.0 << "999,0";
        QTest::newRow("number english") << en << N << 10 << 2 << 1234567.891 << "1,234,567.89";

        QTest::newRow("currency german") << de << C << 8 << 2 << 1234.5 << "1.234,50 €";
        QTest::newRow("currency english") << en << C << 8 << 2 << 1234.5 << "$1,234.50";

        QTest::newRow("nan") << de << F << 8 << 1 << std::numeric_limits<double>::quiet_NaN() << "NAN";
        QTest::newRow("-inf") << de << G << 8 << 0 << -std::numeric_limits<double>::infinity() << "-INF";
    }
    void formatiere() {
        QFETCH(QString, locale);
        QFETCH(TFloatFormat, format);
        QFETCH(int, precision);
        QFETCH(int, digits);
        QFETCH(double, wert);
        QFETCH(QString, text);
        zahltext::uebernehmeGebietsschema(QLocale(locale));
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(formatiereGleitkomma(wert, format, precision, digits), text);
    }

    // The 15-digit forms of the extreme doubles read back through the number reader: the
    // largest and smallest exactly, the others as the double nearest to their digits.
    void extremwerteLesenZurueck_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("allgemein");
        QTest::addColumn<double>("zurueck");
        const double groesste = std::numeric_limits<double>::max();
        const double kleinste = std::numeric_limits<double>::denorm_min();
        QTest::newRow("largest") << groesste << "1,79769313486232E308" << groesste;
        QTest::newRow("most negative") << -groesste << "-1,79769313486232E308" << -groesste;
        QTest::newRow("next below the largest")
            << std::nextafter(groesste, 0.0) << "1,79769313486232E308" << groesste;
        QTest::newRow("smallest subnormal") << kleinste << "4,94065645841247E-324" << kleinste;
        QTest::newRow("smallest normal")
            << std::numeric_limits<double>::min() << "2,2250738585072E-308" << 2.2250738585072e-308;
    }
    void extremwerteLesenZurueck() {
        QFETCH(double, wert);
        QFETCH(QString, allgemein);
        QFETCH(double, zurueck);
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(formatiereGleitkomma(wert, TFloatFormat::ffGeneral, 15, 0), allgemein);
        for (const TFloatFormat format :
             {TFloatFormat::ffGeneral, TFloatFormat::ffExponent, TFloatFormat::ffFixed}) {
            const QString text =
                formatiereGleitkomma(wert, format, 15, format == TFloatFormat::ffFixed ? 2 : 0);
            const auto gelesen = zahltext::leseDouble(text);
            if (format == TFloatFormat::ffFixed && std::fabs(wert) < 1)
                continue; // "0,00"
            QVERIFY2(gelesen, qPrintable(text));
            QCOMPARE(std::bit_cast<quint64>(*gelesen), std::bit_cast<quint64>(zurueck));
        }
    }

    // Values a double cannot hold: the expansion must stay exact far from 1.
    void extendedBereich() {
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(formatiereGleitkomma(1e4000L, TFloatFormat::ffGeneral, 8, 0), QStringLiteral("1E4000"));
        QCOMPARE(formatiereGleitkomma(std::ldexp(1.0L, -14000), TFloatFormat::ffExponent, 5, 4),
                 QStringLiteral("3,8024E-4215"));
        QCOMPARE(formatiereGleitkomma(-std::ldexp(1.0L, 13000), TFloatFormat::ffExponent, 6, 0),
                 QStringLiteral("-2,45439E+3913"));
        QCOMPARE(formatiereGleitkomma(std::numeric_limits<long double>::denorm_min(), TFloatFormat::ffGeneral,
                                      3, 0),
                 QStringLiteral("3,65E-4951"));
    }
};

QTEST_GUILESS_MAIN(TestGleitformat)
#include "tst_gleitformat.moc"
