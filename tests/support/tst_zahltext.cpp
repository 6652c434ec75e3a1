// SPDX-License-Identifier: GPL-3.0-or-later
// Number text under a German and an English locale.
#include "Zahltext.h"

#include <QTest>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

class TestZahltext : public QObject {
    Q_OBJECT

private:
    static void gebietsschema(const QString& name) { zahltext::uebernehmeGebietsschema(QLocale(name)); }

    // Texts near the number form: digit runs around the 19-digit and 27-decimal limits of the
    // shortcut, separators of both locales, signs, blanks, exponents and stray letters.
    static QString zufallsText(std::mt19937_64& z) {
        static const char16_t zeichen[] = u"0123456789,.+- eEx";
        std::uniform_int_distribution<int> art(0, 3), laenge(0, 32), wahl(0, 17), ziffer(0, 9);
        QString t;
        const int n = laenge(z);
        switch (art(z)) {
        case 0: // anything from the alphabet
            for (int i = 0; i < n; ++i)
                t += QChar(zeichen[wahl(z)]);
            break;
        default: { // sign, digits, perhaps a separator, perhaps an exponent
            if (art(z) == 0)
                t += art(z) % 2 ? u'-' : u'+';
            const int komma = std::uniform_int_distribution<int>(-1, n)(z);
            for (int i = 0; i < n; ++i) {
                if (i == komma)
                    t += art(z) == 0 ? u'.' : u',';
                t += QChar(u'0' + (art(z) == 0 ? 0 : ziffer(z)));
            }
            if (art(z) == 0)
                t += QStringLiteral("e-") + QChar(u'0' + ziffer(z));
            if (art(z) == 0)
                t = QStringLiteral(" ") + t + QStringLiteral(" ");
        }
        }
        return t;
    }

    static bool gleich(const std::optional<long double>& a, const std::optional<long double>& b) {
        if (a.has_value() != b.has_value())
            return false;
        return !a || (*a == *b && std::signbit(*a) == std::signbit(*b));
    }

private slots:
    void fest_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("wert");
        QTest::addColumn<int>("stellen");
        QTest::addColumn<int>("breite");
        QTest::addColumn<QString>("text");
        QTest::newRow("tie away from zero") << "de_DE" << 12.25 << 1 << 0 << "12,3";
        QTest::newRow("negative tie") << "de_DE" << -12.25 << 1 << 0 << "-12,3";
        QTest::newRow("below tie in binary") << "de_DE" << 0.15 << 1 << 0 << "0,1";
        QTest::newRow("above tie in binary") << "de_DE" << 0.35 << 1 << 0 << "0,3";
        QTest::newRow("zero") << "de_DE" << 0.0 << 1 << 0 << "0,0";
        QTest::newRow("minus zero") << "de_DE" << -0.0 << 1 << 0 << "0,0";
        QTest::newRow("rounds to zero") << "de_DE" << -0.04 << 1 << 0 << "0,0";
        QTest::newRow("17.5") << "de_DE" << 17.5 << 1 << 0 << "17,5";
        QTest::newRow("english") << "en_US" << 12.25 << 1 << 0 << "12.3";
        QTest::newRow("%4.1f") << "de_DE" << 2.5 << 1 << 4 << " 2,5";
        QTest::newRow("%4.1f wider") << "de_DE" << 123.45 << 1 << 4 << "123,5";
        QTest::newRow("%f") << "de_DE" << 2.125 << 2 << 0 << "2,13";
        QTest::newRow("huge") << "de_DE" << 1e20 << 1 << 0 << "100000000000000000000,0";
        QTest::newRow("nan") << "de_DE" << std::numeric_limits<double>::quiet_NaN() << 1 << 0 << "NAN";
        // Every precision it accepts, and the ones it clamps.
        QTest::newRow("0: tie") << "de_DE" << 2.5 << 0 << 0 << "3";
        QTest::newRow("0: negative tie") << "de_DE" << -2.5 << 0 << 0 << "-3";
        QTest::newRow("0: below half") << "de_DE" << 0.49999999999999994 << 0 << 0 << "0";
        QTest::newRow("0: rounds to zero") << "de_DE" << -0.4 << 0 << 0 << "0";
        QTest::newRow("0: width") << "de_DE" << 7.0 << 0 << 3 << "  7";
        QTest::newRow("0: below 2^52") << "de_DE" << 4503599627370495.5 << 0 << 0 << "4503599627370496";
        QTest::newRow("0: huge") << "de_DE" << 1e20 << 0 << 0 << "100000000000000000000";
        QTest::newRow("2: pads") << "de_DE" << 3.0 << 2 << 0 << "3,00";
        QTest::newRow("2: leading decimal zero") << "de_DE" << 0.05078125 << 2 << 0 << "0,05";
        QTest::newRow("3: tie") << "de_DE" << 1.0625 << 3 << 0 << "1,063";
        QTest::newRow("3: pads") << "de_DE" << -2.0 << 3 << 0 << "-2,000";
        QTest::newRow("3: leading decimal zeros") << "de_DE" << 0.001 << 3 << 0 << "0,001";
        QTest::newRow("3: huge") << "de_DE" << 1e17 << 3 << 0 << "100000000000000000,000";
        QTest::newRow("below range is 0") << "de_DE" << 2.5 << -1 << 0 << "3";
        QTest::newRow("above range is 3") << "de_DE" << 1.23456 << 7 << 0 << "1,235";
    }
    void fest() {
        QFETCH(QString, locale);
        QFETCH(double, wert);
        QFETCH(int, stellen);
        QFETCH(int, breite);
        QFETCH(QString, text);
        gebietsschema(locale);
        QCOMPARE(zahltext::fest(wert, stellen, breite), text);
    }

    // For each precision: the text reads back within half a unit of its last decimal.
    void festJedeStelle_data() {
        QTest::addColumn<int>("stellen");
        for (int stellen = 0; stellen <= 3; ++stellen)
            QTest::addRow("%d decimals", stellen) << stellen;
    }
    void festJedeStelle() {
        QFETCH(int, stellen);
        gebietsschema(QStringLiteral("de_DE"));
        const long double einheit = std::pow(10.0L, -stellen);
        std::mt19937_64 z(77 + stellen);
        std::uniform_real_distribution<double> betrag(-1e6, 1e6);
        std::uniform_int_distribution<int> skala(-6, 12);
        for (int i = 0; i < 50'000; ++i) {
            const double w = betrag(z) * std::pow(10.0, skala(z) - 6);
            const QString text = zahltext::fest(w, stellen);
            const qsizetype komma = text.indexOf(u',');
            QCOMPARE(komma < 0 ? 0 : text.size() - komma - 1, qsizetype(stellen));
            const auto zurueck = zahltext::lese(text);
            QVERIFY2(zurueck, qPrintable(text));
            if (std::fabs(*zurueck - w) > einheit / 2 * (1 + 1e-12L) + std::fabs(w) * 1e-18L)
                QFAIL(qPrintable(QStringLiteral("%1 for %2").arg(text, zahltext::kurz(w))));
        }
    }

    void ganz() {
        QCOMPARE(zahltext::ganz(7, 3), QStringLiteral("  7"));
        QCOMPARE(zahltext::ganz(1000, 3), QStringLiteral("1000"));
        QCOMPARE(zahltext::ganz(-5), QStringLiteral("-5"));
        QCOMPARE(zahltext::linksbuendig(QStringLiteral("Anna"), 6), QStringLiteral("Anna  "));
        QCOMPARE(zahltext::linksbuendig(QStringLiteral("Annabella"), 6), QStringLiteral("Annabella"));
    }

    void muster_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prozent");
        QTest::newRow("2.3") << 2.3 << "2,3"
                             << "2,3%";
        QTest::newRow("1.0") << 1.0 << "1"
                             << "1%";
        QTest::newRow("0.5") << 0.5 << ",5"
                             << ",5%";
        QTest::newRow("0") << 0.0 << ""
                           << "%";
        QTest::newRow("tie") << 0.25 << ",3"
                             << ",3%";
        QTest::newRow("rounds up to whole") << 9.96 << "10"
                                            << "10%";
        QTest::newRow("negative") << -0.5 << "-,5"
                                  << "-,5%";
        QTest::newRow("33.3") << 33.333333 << "33,3"
                              << "33,3%";
    }
    void muster() {
        QFETCH(double, wert);
        QFETCH(QString, text);
        QFETCH(QString, prozent);
        gebietsschema(QStringLiteral("de_DE"));
        QCOMPARE(zahltext::muster(wert), text);
        QCOMPARE(zahltext::musterProzent(wert), prozent);
    }

    void kurz_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("17.5") << "de_DE" << 17.5 << "17,5";
        QTest::newRow("40") << "de_DE" << 40.0 << "40";
        QTest::newRow("thirds") << "de_DE" << 2.3333333333333335 << "2,33333333333333";
        QTest::newRow("zero") << "de_DE" << 0.0 << "0";
        QTest::newRow("minus zero") << "de_DE" << -0.0 << "0";
        QTest::newRow("negative") << "de_DE" << -1.5 << "-1,5";
        QTest::newRow("0.00001 stays plain") << "de_DE" << 0.00001 << "0,00001";
        QTest::newRow("tiny") << "de_DE" << 1.5e-7 << "1,5E-7";
        QTest::newRow("tiny whole mantissa") << "de_DE" << 3e-6 << "3E-6";
        QTest::newRow("15 integer digits") << "de_DE" << 999999999999999.0 << "999999999999999";
        QTest::newRow("16 integer digits") << "de_DE" << 1e15 << "1E15";
        QTest::newRow("large mantissa") << "de_DE" << 1.25e20 << "1,25E20";
        QTest::newRow("0.1") << "de_DE" << 0.1 << "0,1";
        QTest::newRow("english") << "en_US" << 17.5 << "17.5";
        QTest::newRow("english tiny") << "en_US" << -1.5e-7 << "-1.5E-7";
    }
    void kurz() {
        QFETCH(QString, locale);
        QFETCH(double, wert);
        QFETCH(QString, text);
        gebietsschema(locale);
        QCOMPARE(zahltext::kurz(wert), text);
    }

    void lese_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gueltig");
        QTest::addColumn<double>("wert");
        QTest::newRow("blanks sign exponent") << "de_DE"
                                              << " +1,5e2 " << true << 150.0;
        QTest::newRow("negative") << "de_DE"
                                  << "-17,5" << true << -17.5;
        QTest::newRow("no integer part") << "de_DE"
                                         << ",5" << true << 0.5;
        QTest::newRow("trailing separator") << "de_DE"
                                            << "5," << true << 5.0;
        QTest::newRow("exponent sign") << "de_DE"
                                       << "25E-1" << true << 2.5;
        QTest::newRow("full stop under German") << "de_DE"
                                                << "12.5" << false << 0.0;
        QTest::newRow("thousands separator") << "de_DE"
                                             << "1.234,5" << false << 0.0;
        QTest::newRow("two separators") << "de_DE"
                                        << "4,0,1" << false << 0.0;
        QTest::newRow("letters") << "de_DE"
                                 << "x" << false << 0.0;
        QTest::newRow("empty") << "de_DE"
                               << "" << false << 0.0;
        QTest::newRow("sign only") << "de_DE"
                                   << "-" << false << 0.0;
        QTest::newRow("separator only") << "de_DE"
                                        << "," << false << 0.0;
        QTest::newRow("exponent without digits") << "de_DE"
                                                 << "1e" << false << 0.0;
        QTest::newRow("blank inside") << "de_DE"
                                      << "1 5" << false << 0.0;
        QTest::newRow("tab is no blank") << "de_DE"
                                         << "\t15" << false << 0.0;
        QTest::newRow("out of range") << "de_DE"
                                      << "1e999" << false << 0.0;
        QTest::newRow("english") << "en_US"
                                 << "12.5" << true << 12.5;
        QTest::newRow("comma under English") << "en_US"
                                             << "12,5" << false << 0.0;
        const double groesste = std::numeric_limits<double>::max();
        QTest::newRow("file form of the largest") << "de_DE"
                                                  << "1,79769313486232E308" << true << groesste;
        QTest::newRow("file form of the most negative") << "de_DE"
                                                        << "-1,79769313486232E308" << true << -groesste;
        QTest::newRow("largest in 17 digits") << "de_DE"
                                              << "1,7976931348623157E308" << true << groesste;
        QTest::newRow("just below the 15-digit bound") << "de_DE"
                                                       << "1,7976931348623249E308" << true << groesste;
        QTest::newRow("15-digit bound is out of range") << "de_DE"
                                                        << "1,797693134862325E308" << false << 0.0;
        QTest::newRow("smallest subnormal")
            << "de_DE"
            << "4,94065645841247E-324" << true << std::numeric_limits<double>::denorm_min();
        QTest::newRow("below the smallest is zero") << "de_DE"
                                                    << "1E-330" << true << 0.0;
    }
    void lese() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, gueltig);
        QFETCH(double, wert);
        gebietsschema(locale);
        const auto gelesen = zahltext::leseDouble(text);
        QCOMPARE(gelesen.has_value(), gueltig);
        if (gueltig)
            QCOMPARE(*gelesen, wert);
    }

    void leseGanz_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gueltig");
        QTest::addColumn<qint64>("wert");
        QTest::newRow("plus") << "+12" << true << qint64(12);
        QTest::newRow("minus") << "-7" << true << qint64(-7);
        QTest::newRow("64-bit limit") << "-9223372036854775808" << true << std::numeric_limits<qint64>::min();
        QTest::newRow("beyond 64 bits") << "9223372036854775808" << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("blank") << " 5" << false << qint64(0);
        QTest::newRow("trailing letter") << "5x" << false << qint64(0);
        QTest::newRow("decimal") << "5,0" << false << qint64(0);
    }
    void leseGanz() {
        QFETCH(QString, text);
        QFETCH(bool, gueltig);
        QFETCH(qint64, wert);
        const auto gelesen = zahltext::leseGanz(text);
        QCOMPARE(gelesen.has_value(), gueltig);
        if (gueltig)
            QCOMPARE(*gelesen, wert);
    }

    void leseAbkuerzungWieAllgemein_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << "de_DE";
        QTest::newRow("English") << "en_US";
    }
    void leseAbkuerzungWieAllgemein() {
        QFETCH(QString, locale);
        gebietsschema(locale);
        std::mt19937_64 z(20260611);
        for (int i = 0; i < 200'000; ++i) {
            const QString t = zufallsText(z);
            const auto schnell = zahltext::lese(t);
            if (!gleich(schnell, zahltext::leseAllgemein(t)))
                QFAIL(qPrintable(QStringLiteral("lese(\"%1\") differs from the general reader").arg(t)));
            const QByteArray bytes = t.toLatin1();
            const auto ausBytes =
                zahltext::leseDouble(std::string_view(bytes.constData(), std::size_t(bytes.size())));
            const auto ausText = zahltext::leseDouble(t);
            if (ausBytes.has_value() != ausText.has_value() ||
                (ausBytes && std::bit_cast<quint64>(*ausBytes) != std::bit_cast<quint64>(*ausText)))
                QFAIL(qPrintable(QStringLiteral("leseDouble of the bytes \"%1\" differs").arg(t)));
        }
    }

    void kurzAsciiWieKurz() {
        gebietsschema(QStringLiteral("de_DE"));
        std::mt19937_64 z(4711);
        std::uniform_int_distribution<int> art(0, 2), stellen(0, 8), zaehler(-100000, 100000);
        auto pruefe = [](double w) {
            char puffer[zahltext::kKurzPlatz];
            QString text = QString::fromLatin1(puffer, zahltext::kurzAscii(w, puffer));
            text.replace(u'.', u',');
            if (text != zahltext::kurz(w))
                QFAIL(qPrintable(QStringLiteral("%1 against %2").arg(text, zahltext::kurz(w))));
        };
        for (int i = 0; i < 300'000; ++i) {
            double w = 0;
            switch (art(z)) {
            case 0: // any finite bit pattern
                do
                    w = std::bit_cast<double>(z());
                while (!std::isfinite(w));
                break;
            case 1: // points and grades as they occur: k / 10^j, thirds
                w = zaehler(z) / std::pow(10.0, stellen(z));
                break;
            default:
                w = zaehler(z) / 3.0 * std::pow(10.0, stellen(z) - 4);
            }
            pruefe(w);
            if (QTest::currentTestFailed())
                return;
        }
        for (double w : {0.0, -0.0, 1e-5, 9.999999999999999e-6, 1e15, 999999999999999.9, 1e16,
                         std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(), -2.5})
            pruefe(w);
    }

    void kurzLiestSichZurueck() {
        gebietsschema(QStringLiteral("de_DE"));
        for (double w : {17.5, 2.3333333333333335, 1.5e-7, 1e15, -0.1, 123456.789}) {
            const auto zurueck = zahltext::leseDouble(zahltext::kurz(w));
            QVERIFY(zurueck.has_value());
            QVERIFY(std::fabs(*zurueck - w) <= std::fabs(w) * 1e-14);
        }
    }

    // The extremes read back from their file form: the largest and smallest exactly, their
    // neighbours as the double nearest to their 15 digits.
    void kurzExtremwerte_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<double>("zurueck");
        const double groesste = std::numeric_limits<double>::max();
        const double kleinste = std::numeric_limits<double>::denorm_min();
        QTest::newRow("largest") << groesste << groesste;
        QTest::newRow("most negative") << -groesste << -groesste;
        QTest::newRow("below the largest") << std::nextafter(groesste, 0.0) << groesste;
        QTest::newRow("4 below the largest") << groesste - std::ldexp(4.0, 971) << 1.79769313486231e308;
        QTest::newRow("smallest subnormal") << kleinste << kleinste;
        QTest::newRow("negative smallest subnormal") << -kleinste << -kleinste;
        QTest::newRow("1000 smallest subnormals") << 1000 * kleinste << 1000 * kleinste;
        QTest::newRow("smallest normal") << std::numeric_limits<double>::min() << 2.2250738585072e-308;
        QTest::newRow("2^1023") << std::ldexp(1.0, 1023) << 8.98846567431158e307;
    }
    void kurzExtremwerte() {
        QFETCH(double, wert);
        QFETCH(double, zurueck);
        gebietsschema(QStringLiteral("de_DE"));
        const QString text = zahltext::kurz(wert);
        char puffer[zahltext::kKurzPlatz];
        const int n = zahltext::kurzAscii(wert, puffer);
        const auto ausText = zahltext::leseDouble(text);
        QVERIFY2(ausText, qPrintable(text));
        QCOMPARE(std::bit_cast<quint64>(*ausText), std::bit_cast<quint64>(zurueck));
        // The export writes '.'; under English that is the separator the reader takes.
        gebietsschema(QStringLiteral("en_US"));
        const auto ausAscii = zahltext::leseDouble(std::string_view(puffer, std::size_t(n)));
        QVERIFY(ausAscii);
        QCOMPARE(std::bit_cast<quint64>(*ausAscii), std::bit_cast<quint64>(zurueck));
    }
};

QTEST_GUILESS_MAIN(TestZahltext)
#include "tst_zahltext.moc"
