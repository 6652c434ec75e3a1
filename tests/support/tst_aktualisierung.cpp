// SPDX-License-Identifier: GPL-3.0-or-later
// The update check's rules without a network: reading the version file, the decision, the texts.
#include "Aktualisierung.h"
#include "Routinen.h"
#include "Zahltext.h"

#include <QTest>
#include <cmath>
#include <limits>

using aktualisierung::Folge;
using aktualisierung::Text;

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(std::optional<qint64>)
Q_DECLARE_METATYPE(Folge)
Q_DECLARE_METATYPE(routinen::Sprache)

class TestAktualisierung : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }
    void init() { aktualisierung::waehleSprache(routinen::Sprache::Deutsch); }

    void serverVersion_data() {
        QTest::addColumn<QByteArray>("koerper");
        QTest::addColumn<bool>("lesbar");
        QTest::addColumn<double>("version");
        QTest::newRow("1,10 and a line break") << QByteArray("1,10\r\n") << true << 1.1;
        QTest::newRow("text after the number") << QByteArray("2,05 vom 3. Mai") << true << 2.05;
        QTest::newRow("a point ends the number") << QByteArray("1.10") << true << 1.0;
        QTest::newRow("whole number") << QByteArray("3") << true << 3.0;
        QTest::newRow("no leading digit") << QByteArray(",5") << true << 0.5;
        QTest::newRow("two commas") << QByteArray("1,0,5") << false << 0.0;
        QTest::newRow("empty") << QByteArray() << false << 0.0;
        QTest::newRow("comma only") << QByteArray(",\n") << false << 0.0;
        QTest::newRow("a page instead") << QByteArray("<html>1,2</html>") << false << 0.0;
        QTest::newRow("blank before") << QByteArray(" 1,2") << false << 0.0;
        QTest::newRow("beyond double") << QByteArray(400, '9') << false << 0.0;
        QTest::newRow("a sign first") << QByteArray("-1,00") << false << 0.0;
        QTest::newRow("twenty digits") << QByteArray("100000000000000000000") << false << 0.0;
        QTest::newRow("largest major") << QByteArray("65535,99") << true << 65535.99;
        QTest::newRow("major beyond 16 bits") << QByteArray("65536,00") << false << 0.0;
        QTest::newRow("leading zeros") << QByteArray("0001,10") << true << 1.1;
        QTest::newRow("three decimals") << QByteArray("1,105") << false << 0.0;
    }
    void serverVersion() {
        QFETCH(QByteArray, koerper);
        QFETCH(bool, lesbar);
        QFETCH(double, version);
        const std::optional<double> v = aktualisierung::serverVersion(koerper);
        QCOMPARE(v.has_value(), lesbar);
        if (lesbar)
            QVERIFY(*v == version); // exact, as the check compares
    }

    // Fetched but no version in it is no connection problem.
    void ohneServerversion() {
        QCOMPARE(aktualisierung::ohneServerversion(false),
                 QStringLiteral("Problem beim Verbinden mit dem Server"));
        QCOMPARE(aktualisierung::ohneServerversion(true),
                 QStringLiteral("Die Versionsdatei auf dem Server enthält keine gültige Versionsnummer"));
        aktualisierung::waehleSprache(routinen::Sprache::Englisch);
        QCOMPARE(aktualisierung::ohneServerversion(true),
                 QStringLiteral("The version file on the server holds no valid version number!"));
    }

    // The own version is major + minor / 100; the server writes it with two decimals. Every
    // version the program can carry must compare equal to its own text, or the check would
    // offer the installed version as an update.
    void eigeneVersionGleichIhremText() {
        for (int major = 0; major <= 30; ++major)
            for (int minor = 0; minor <= 99; ++minor) {
                const double eigene = routinen::versionsnummerAus(major, minor);
                const QByteArray text =
                    QByteArray::number(major) + ',' + QByteArray::number(minor).rightJustified(2, '0');
                const auto server = aktualisierung::serverVersion(text);
                QVERIFY2(server && *server == eigene, text.constData());
                QCOMPARE(aktualisierung::entscheide(server, eigene), Folge::KeineNeuere);
            }
    }

    void entscheide_data() {
        QTest::addColumn<std::optional<double>>("server");
        QTest::addColumn<std::optional<double>>("eigene");
        QTest::addColumn<Folge>("folge");
        using O = std::optional<double>;
        QTest::newRow("equal") << O(1.1) << O(1.1) << Folge::KeineNeuere;
        QTest::newRow("higher") << O(1.1) << O(1.05) << Folge::Frage;
        QTest::newRow("lower") << O(1.0) << O(1.05) << Folge::Frage;
        QTest::newRow("nearly equal") << O(1.1) << O(std::nextafter(1.1, 2.0)) << Folge::Frage;
        QTest::newRow("unreadable server") << O() << O(1.0) << Folge::Verbindungsproblem;
        QTest::newRow("unreadable server, own unknown") << O() << O() << Folge::Verbindungsproblem;
        QTest::newRow("own unknown") << O(1.0) << O() << Folge::Ende;
    }
    void entscheide() {
        QFETCH(std::optional<double>, server);
        QFETCH(std::optional<double>, eigene);
        QFETCH(Folge, folge);
        QCOMPARE(aktualisierung::entscheide(server, eigene), folge);
    }

    // When a downloaded body counts as whole (limit 1000 bytes in every row).
    void laengen_data() {
        QTest::addColumn<std::optional<qint64>>("kopf");
        QTest::addColumn<std::optional<qint64>>("koerper");
        QTest::addColumn<qint64>("erhalten");
        QTest::addColumn<bool>("moeglich");
        QTest::addColumn<bool>("ganz");
        using L = std::optional<qint64>;
        QTest::newRow("both agree, all there") << L(300) << L(300) << qint64(300) << true << true;
        QTest::newRow("both agree, halfway") << L(300) << L(300) << qint64(150) << true << false;
        QTest::newRow("HEAD only, cut short") << L(300) << L() << qint64(100) << true << false;
        QTest::newRow("HEAD only, more than said") << L(300) << L() << qint64(301) << false << false;
        QTest::newRow("GET only, all there") << L() << L(300) << qint64(300) << true << true;
        QTest::newRow("HEAD and GET disagree") << L(300) << L(100) << qint64(100) << false << false;
        QTest::newRow("no length anywhere") << L() << L() << qint64(100) << true << true;
        QTest::newRow("no length, nothing at all") << L() << L() << qint64(0) << true << true;
        QTest::newRow("no length, beyond the limit") << L() << L() << qint64(1001) << false << false;
        QTest::newRow("exactly the limit") << L(1000) << L(1000) << qint64(1000) << true << true;
        QTest::newRow("GET announces beyond the limit") << L() << L(1001) << qint64(0) << false << false;
        QTest::newRow("empty file announced") << L(0) << L(0) << qint64(0) << true << true;
    }
    void laengen() {
        QFETCH(std::optional<qint64>, kopf);
        QFETCH(std::optional<qint64>, koerper);
        QFETCH(qint64, erhalten);
        QFETCH(bool, moeglich);
        QFETCH(bool, ganz);
        const aktualisierung::Erwartung e{kopf, koerper, 1000};
        QCOMPARE(aktualisierung::nochMoeglich(e, erhalten), moeglich);
        QCOMPARE(aktualisierung::vollstaendig(e, erhalten), ganz);
    }

    void frist_data() {
        QTest::addColumn<int>("grund");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<int>("frist");
        QTest::newRow("nothing expected") << 60000 << qint64(0) << 60000;
        QTest::newRow("a version file") << 60000 << qint64(64 * 1024) << 61000;
        QTest::newRow("an archive of 20 MiB") << 60000 << qint64(20 * 1024 * 1024) << 380000;
        QTest::newRow("the limit of 500 MB") << 60000 << qint64(500LL * 1024 * 1024) << 60000 + 8000000;
        QTest::newRow("beyond a timer's range")
            << 60000 << std::numeric_limits<qint64>::max() << std::numeric_limits<int>::max();
    }
    void frist() {
        QFETCH(int, grund);
        QFETCH(qint64, bytes);
        QFETCH(int, frist);
        QCOMPARE(aktualisierung::frist(grund, bytes), frist);
    }

    void mitEndung_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("ergebnis");
        QTest::newRow("archive to version file") << "skalora.zip"
                                                 << "skalora.ver";
        QTest::newRow("typed .exe") << "/home/anna/neu.exe"
                                    << "/home/anna/neu.zip";
        QTest::newRow("no extension") << "/opt/skalora/skalora"
                                      << "/opt/skalora/skalora.zip";
        QTest::newRow("dot in the folder only") << "/opt/v1.2/skalora"
                                                << "/opt/v1.2/skalora.zip";
        QTest::newRow("last extension only") << "C:\\Programme\\skalora.1.exe"
                                             << "C:\\Programme\\skalora.1.zip";
    }
    void mitEndung() {
        QFETCH(QString, datei);
        QFETCH(QString, ergebnis);
        const QString endung =
            ergebnis.endsWith(QStringLiteral(".ver")) ? QStringLiteral(".ver") : QStringLiteral(".zip");
        QCOMPARE(aktualisierung::mitEndung(datei, endung), ergebnis);
    }

    void texte_data() {
        QTest::addColumn<routinen::Sprache>("sprache");
        QTest::addColumn<QString>("frage");
        QTest::addColumn<QString>("fortschritt");
        QTest::addColumn<QString>("nachDownload");
        QTest::addColumn<QString>("verbindung");
        QTest::newRow("German")
            << routinen::Sprache::Deutsch << "Version 1,05, auf dem Server ist 1,10.\nAktualisieren?"
            << "Heruntergeladen 1234567 von 2000000 Bytes"
            << "Installierte Version 1,05\nVersion auf dem Server 1,10\nBitte beenden Sie nun zuerst dieses "
               "Programm.\nDanach entpacken Sie nun die Dateien im Zip Archiv in ihr Programmverzeichnis"
            << "Problem beim Verbinden mit dem Server";
        QTest::newRow("other language")
            << routinen::Sprache::Andere
            << "Version 1,05, on the Server you find 1,10.\ndo you want to upgrade?"
            << "1234567 of 2000000 Bytes downloaded"
            << "Installed version 1,05\nVersion on the Server 1,10\nPlease close now this program.\nafter "
               "that "
               "pleas unzip the files of the zip archive in the installation folder"
            << "Error when connecting the server!";
    }
    void texte() {
        QFETCH(routinen::Sprache, sprache);
        QFETCH(QString, frage);
        QFETCH(QString, fortschritt);
        QFETCH(QString, nachDownload);
        QFETCH(QString, verbindung);
        aktualisierung::waehleSprache(sprache);
        QCOMPARE(aktualisierung::frage(1.05, 1.1), frage);
        QCOMPARE(aktualisierung::fortschritt(1234567, 2000000), fortschritt);
        QCOMPARE(aktualisierung::nachDownload(1.05, 1.1), nachDownload);
        QCOMPARE(aktualisierung::text(Text::Verbindungsproblem), verbindung);
    }

    // The numbers follow the user's separator, not the comma of the version file.
    void frageMitEnglischemTrennzeichen() {
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("en_US")));
        QCOMPARE(aktualisierung::frage(1.05, 1.1),
                 QStringLiteral("Version 1.05, auf dem Server ist 1.10.\nAktualisieren?"));
        QVERIFY(*aktualisierung::serverVersion("1,10") == 1.1);
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    }
};

QTEST_GUILESS_MAIN(TestAktualisierung)
#include "tst_aktualisierung.moc"
