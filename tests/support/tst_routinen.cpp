// SPDX-License-Identifier: GPL-3.0-or-later
// The program's folders under a fresh per-user config folder, the version forms and the language.
#include "Routinen.h"
#include "Zahltext.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestRoutinen : public QObject {
    Q_OBJECT

    QTemporaryDir m_konfiguration;

private slots:
    void initTestCase() {
        QVERIFY(m_konfiguration.isValid());
        // Read by QStandardPaths on every call, so setting it before the first use is enough.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_konfiguration.path()));
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    }

    void ersterStart() {
        const QString ordner = m_konfiguration.path() + QStringLiteral("/Torvane/tst_routinen/");
        QVERIFY(!QFileInfo::exists(m_konfiguration.path() + QStringLiteral("/Torvane")));
        routinen::ordnerEinrichten();
        QCOMPARE(routinen::AnwendungsdatenOrdner(), ordner);
        QVERIFY(QFileInfo(ordner).isDir());
        QCOMPARE(routinen::Einstellungsdatei(), ordner + QStringLiteral("tst_routinen.ini"));
        QVERIFY(!QFileInfo::exists(routinen::Einstellungsdatei()));
    }

    void version_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("release");
        QTest::addColumn<int>("build");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("nummer");
        QTest::newRow("2.5.0.117") << 2 << 5 << 0 << 117 << "2.5.0 Build: 117"
                                   << "2,05";
        QTest::newRow("2.15.3.4") << 2 << 15 << 3 << 4 << "2.15.3 Build: 4"
                                  << "2,15";
        QTest::newRow("3.0.0.0") << 3 << 0 << 0 << 0 << "3.0.0 Build: 0"
                                 << "3";
        QTest::newRow("1.9.0.0") << 1 << 9 << 0 << 0 << "1.9.0 Build: 0"
                                 << "1,09";
        QTest::newRow("1.10.0.0") << 1 << 10 << 0 << 0 << "1.10.0 Build: 0"
                                  << "1,1";
        QTest::newRow("minor above 99") << 1 << 150 << 0 << 0 << "1.150.0 Build: 0"
                                        << "2,5";
    }
    void version() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, release);
        QFETCH(int, build);
        QFETCH(QString, text);
        QFETCH(QString, nummer);
        QCOMPARE(routinen::versionstextAus(major, minor, release, build), text);
        QCOMPARE(zahltext::kurz(routinen::versionsnummerAus(major, minor)), nummer);
    }

    void versionVergleich() {
        QVERIFY(routinen::versionsnummerAus(1, 9) < routinen::versionsnummerAus(1, 10));
    }

    void eigeneVersion() {
        QString text;
        double nummer = 0;
        QVERIFY(routinen::Versionstext(text));
        QVERIFY(routinen::Versionsnummer(nummer));
        QVERIFY(
            QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+ Build: \\d+$")).match(text).hasMatch());
        QVERIFY(nummer >= 1);
    }

    void sprache_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<routinen::Sprache>("sprache");
        QTest::newRow("de_DE") << "de_DE" << routinen::Sprache::Deutsch;
        QTest::newRow("de_AT") << "de_AT" << routinen::Sprache::Deutsch;
        QTest::newRow("de_CH") << "de_CH" << routinen::Sprache::Deutsch;
        QTest::newRow("en_GB") << "en_GB" << routinen::Sprache::Englisch;
        QTest::newRow("en_US") << "en_US" << routinen::Sprache::Englisch;
        QTest::newRow("fr_FR") << "fr_FR" << routinen::Sprache::Andere;
    }
    void sprache() {
        QFETCH(QString, locale);
        QFETCH(routinen::Sprache, sprache);
        QCOMPARE(routinen::spracheVon(QLocale(locale)), sprache);
    }
};

QTEST_GUILESS_MAIN(TestRoutinen)
#include "tst_routinen.moc"
