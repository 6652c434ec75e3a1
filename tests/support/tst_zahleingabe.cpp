// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric field's reader: where the thousands separator groups, where it was a decimal
// separator typed the other way, and what stays unreadable, under a German and the C locale.
#include "Zahleingabe.h"
#include "Zahltext.h"

#include <QTest>

class TestZahleingabe : public QObject {
    Q_OBJECT

private slots:
    void lies_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<bool>("lesbar");
        QTest::addColumn<double>("wert");
        QTest::addColumn<bool>("mehrdeutig");
        const QString de = QStringLiteral("de_DE"), c = QStringLiteral("C");

        QTest::newRow("de 1.0 is one") << de << "1.0" << true << 1.0 << false;
        QTest::newRow("de 1,0") << de << "1,0" << true << 1.0 << false;
        QTest::newRow("de 1.000 groups, ambiguous") << de << "1.000" << true << 1000.0 << true;
        QTest::newRow("de 1.000,5") << de << "1.000,5" << true << 1000.5 << false;
        QTest::newRow("de 12.5") << de << "12.5" << true << 12.5 << false;
        QTest::newRow("de 1.00") << de << "1.00" << true << 1.0 << false;
        QTest::newRow("de 1.0000") << de << "1.0000" << true << 1.0 << false;
        QTest::newRow("de 1.234.567") << de << "1.234.567" << true << 1234567.0 << false;
        QTest::newRow("de 1,234") << de << "1,234" << true << 1.234 << false;
        QTest::newRow("de blanks around") << de << " 1,3 " << true << 1.3 << false;
        QTest::newRow("de point with blanks") << de << " 1.3 " << true << 1.3 << false;
        QTest::newRow("de signed point") << de << "-1.0" << true << -1.0 << false;
        QTest::newRow("de four digits before point") << de << "1234.567" << true << 1234.567 << false;
        QTest::newRow("de point first") << de << ".5" << true << 0.5 << false;
        QTest::newRow("de point last") << de << "1." << true << 1.0 << false;
        QTest::newRow("de point with exponent") << de << "1.5E3" << true << 1500.0 << false;
        QTest::newRow("de point beside comma") << de << "1.0,5" << false << 0.0 << false;
        QTest::newRow("de comma before point") << de << "1,5.000" << false << 0.0 << false;
        QTest::newRow("de two points no grouping") << de << "1.2.3" << false << 0.0 << false;
        QTest::newRow("de grouping broken at the end") << de << "1.234.5" << false << 0.0 << false;
        QTest::newRow("de two commas") << de << "4,0,1" << false << 0.0 << false;
        QTest::newRow("de empty") << de << "" << true << 0.0 << false;

        QTest::newRow("C 1.0") << c << "1.0" << true << 1.0 << false;
        QTest::newRow("C 1,0 is one") << c << "1,0" << true << 1.0 << false;
        QTest::newRow("C 1.000") << c << "1.000" << true << 1.0 << false;
        QTest::newRow("C 1.000,5") << c << "1.000,5" << false << 0.0 << false;
        QTest::newRow("C 12.5") << c << "12.5" << true << 12.5 << false;
        QTest::newRow("C 1.00") << c << "1.00" << true << 1.0 << false;
        QTest::newRow("C 1.0000") << c << "1.0000" << true << 1.0 << false;
        QTest::newRow("C 1.234.567") << c << "1.234.567" << false << 0.0 << false;
        QTest::newRow("C 1,234 groups, ambiguous") << c << "1,234" << true << 1234.0 << true;
        QTest::newRow("C blanks around") << c << " 1,3 " << true << 1.3 << false;
        QTest::newRow("C 1,234.5") << c << "1,234.5" << true << 1234.5 << false;
    }
    void lies() {
        QFETCH(QString, locale);
        QFETCH(QString, eingabe);
        QFETCH(bool, lesbar);
        QFETCH(double, wert);
        QFETCH(bool, mehrdeutig);
        zahltext::uebernehmeGebietsschema(QLocale(locale));
        const zahleingabe::Lesung l = zahleingabe::lies(eingabe);
        QCOMPARE(l.lesbar, lesbar);
        QCOMPARE(static_cast<double>(l.wert), wert);
        QCOMPARE(l.mehrdeutig, mehrdeutig);
    }
};

QTEST_APPLESS_MAIN(TestZahleingabe)
#include "tst_zahleingabe.moc"
