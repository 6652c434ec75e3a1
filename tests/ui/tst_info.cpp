// SPDX-License-Identifier: GPL-3.0-or-later
// The about box offscreen: its texts, the "Info" command, and the update check against a
// plain-HTTP server of the test's own on 127.0.0.1.
#include "Aktualisierer.h"
#include "Aktualisierung.h"
#include "Geometrie.h"
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Info.h"
#include "Konfiguration.h"
#include "Testserver.h"
#include "UiTesthilfe.h"
#include "version.h"

#include <QAction>
#include <QBuffer>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <functional>
#include <memory>
#include <utility>

using aktualisierung::Text;

Q_DECLARE_METATYPE(routinen::Sprache)

using namespace testnetz;

namespace {

QByteArray versionAlsText(int major, int minor) {
    return QByteArray::number(major) + ',' + QByteArray::number(minor).rightJustified(2, '0');
}

double eigeneVersion() {
    double v = 0;
    routinen::Versionsnummer(v);
    return v;
}

QByteArray archivBytes() {
    QByteArray b;
    for (int i = 0; i < 300000; ++i)
        b += char((i * 7 + i / 251) & 0xff);
    return b;
}

} // namespace

class TestInfo : public QObject {
    Q_OBJECT

    QWidget m_besitzer;
    QStringList m_meldungen;
    bool m_ja = false; // the answer to the update question
    QList<QUrl> m_geoeffnet;
    bool m_oeffnenGelingt = true;

    // A box whose transfers must succeed gets a no-progress limit far beyond any answer of the
    // local server on a loaded machine; a test of the time-out itself sets a short one.
    static constexpr int kLangeGrenze = 20000;
    static constexpr int kKurzeGrenze = 400;

    Tinfodialog* neueBox(const QString& basis, routinen::Sprache sprache = routinen::Sprache::Deutsch,
                         int zeitlimit = kLangeGrenze) {
        auto* box = new Tinfodialog(&m_besitzer, sprache);
        box->FArchivName = QStringLiteral("skalora.zip");
        box->FDownloadBasis = basis;
        box->Http->setzeZeitlimit(zeitlimit);
        box->oeffne = [this](const QUrl& adresse) {
            m_geoeffnet << adresse;
            return m_oeffnenGelingt;
        };
        box->show();
        return box;
    }

    // Starts the check and waits for its end, which the box's own limit bounds.
    void pruefe(Tinfodialog* box) {
        box->getnewversion->click();
        QTRY_VERIFY_WITH_TIMEOUT(!box->prueftGerade(), kLangeGrenze + 5000);
    }

private slots:
    void initTestCase() {
        uitest::umgebung();
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        meldung::setzeAnzeige([this](meldung::Art art, const QString& text) {
            m_meldungen << text;
            return art == meldung::Art::Bestaetigung ? m_ja : true;
        });
        m_besitzer.setGeometry(100, 100, 900, 700);
        m_besitzer.show();
    }

    void init() {
        aktualisierung::waehleSprache(routinen::Sprache::Deutsch);
        m_meldungen.clear();
        m_geoeffnet.clear();
        m_ja = false;
        m_oeffnenGelingt = true;
    }

    void cleanup() { qDeleteAll(m_besitzer.findChildren<Tinfodialog*>(Qt::FindDirectChildrenOnly)); }

    void texte_data() {
        QTest::addColumn<routinen::Sprache>("sprache");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("datum");
        QTest::addColumn<QStringList>("knoepfe");
        QTest::newRow("German") << routinen::Sprache::Deutsch << "Info über Skalora"
                                << "vom "
                                << QStringList{"&OK", "&Neue Version", "&Homepage", "&Mail schreiben"};
        QTest::newRow("English") << routinen::Sprache::Englisch << "Info about Skalora"
                                 << "from : "
                                 << QStringList{"&OK", "&Get new version", "Visit &homepage", "Send &email"};
        QTest::newRow("French") << routinen::Sprache::Andere << "Info about Skalora"
                                << "from : "
                                << QStringList{"&OK", "&Get new version", "Visit &homepage", "Send &email"};
    }
    void texte() {
        QFETCH(routinen::Sprache, sprache);
        QFETCH(QString, titel);
        QFETCH(QString, datum);
        QFETCH(QStringList, knoepfe);
        Tinfodialog* box = neueBox(QString(), sprache);
        QCOMPARE(box->objectName(), QStringLiteral("InfoDialog"));
        QCOMPARE(box->windowTitle(), titel);
        QCOMPARE(QStringList({box->okbut->text(), box->getnewversion->text(), box->homepagebut->text(),
                              box->emailbut->text()}),
                 knoepfe);
        QString version;
        QVERIFY(routinen::Versionstext(version));
        QCOMPARE(box->Versionlabel->text(), QStringLiteral("Version : ") + version);
        QCOMPARE(box->Homepagelabel->text(),
                 QStringLiteral("Homepage: ") + konfiguration::herstellerHomepage());
        QCOMPARE(box->Copyrightlabel->text(), konfiguration::autorzeile());
        // The program file's date in the short date and long time format of the locale.
        const QDateTime geaendert = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
        QVERIFY2(box->Datumlabel->text().startsWith(datum +
                                                    geaendert.toString(QStringLiteral("dd.MM.yy HH:mm:ss"))),
                 qPrintable(box->Datumlabel->text()));
        // The hints stay German.
        QCOMPARE(box->getnewversion->toolTip(),
                 QStringLiteral("Holt eine neue Version dieses Programmes über das Internet"));
        QCOMPARE(box->Datumlabel->toolTip(), QStringLiteral("Speicherdatum dieser Version"));
        QCOMPARE(box->size(), geometrie::groesse(489, 194));
        QVERIFY(box->okbut->isDefault());
        // The shared texts follow the last box's language, for boxes made later as well.
        QCOMPARE(aktualisierung::text(Text::KeineNeuere),
                 sprache == routinen::Sprache::Deutsch
                     ? QStringLiteral("Derzeit befindet sich keine aktuellere Version auf dem Server")
                     : QStringLiteral("You have the actual version installed!"));
    }

    void knoepfeUndTasten() {
        Tinfodialog* box = neueBox(QString());
        QVERIFY(QTest::qWaitForWindowActive(box));
        QVERIFY(std::abs(box->geometry().center().x() - m_besitzer.geometry().center().x()) <= 2);
        box->homepagebut->click();
        box->emailbut->click();
        QCOMPARE(m_geoeffnet, QList<QUrl>({QUrl(konfiguration::herstellerHomepage()),
                                           QUrl(QStringLiteral("mailto:") + konfiguration::mailAdresse())}));
        QCOMPARE(QUrl::fromPercentEncoding(m_geoeffnet[1].toEncoded()),
                 QStringLiteral("mailto:\"Torvane Skalora\" <skalora@torvane.example>"));
        QTest::keyClick(box, Qt::Key_F1);
        QCOMPARE(hilfe::letzterKontext(), 32000);
        hilfe::fenster()->close();
        QVERIFY(QTest::qWaitForWindowActive(box));
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(box->isVisible());
        QPointer<Tinfodialog> zeiger(box);
        box->okbut->click();
        QTRY_VERIFY(zeiger.isNull());
    }

    void infoBefehl() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        // The box made at start is never shown.
        int verborgen = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<Tinfodialog*>(w) && !w->isVisible())
                ++verborgen;
        QCOMPARE(verborgen, 1);

        h->Info1->trigger();
        h->Info1->trigger();
        const QList<Tinfodialog*> boxen = h->findChildren<Tinfodialog*>(Qt::FindDirectChildrenOnly);
        QCOMPARE(boxen.size(), 2);
        for (Tinfodialog* b : boxen) {
            QVERIFY(b->isVisible());
            QCOMPARE(b->FArchivName, QStringLiteral("skalora.zip"));
            QCOMPARE(b->Homepagelabel->text(),
                     QStringLiteral("Homepage: ") + konfiguration::produktHomepage());
        }
        QPointer<Tinfodialog> erste(boxen[0]);
        erste->close();
        QTRY_VERIFY(erste.isNull());
        QVERIFY(boxen[1]->isVisible());
    }

    void pruefung_data() {
        QTest::addColumn<Route>("version");
        QTest::addColumn<QString>("meldung"); // empty: the version is read, as in `server`
        QTest::addColumn<double>("server");
        const QString verbindung = QStringLiteral("Problem beim Verbinden mit dem Server");
        const QString keine =
            QStringLiteral("Die Versionsdatei auf dem Server enthält keine gültige Versionsnummer");
        const int major = SKALORA_VERSION_MAJOR, minor = SKALORA_VERSION_MINOR;
        const double eigene = eigeneVersion();
        QTest::newRow("equal") << Route(200, versionAlsText(major, minor) + "\r\n") << QString() << eigene;
        QTest::newRow("higher") << Route(200, versionAlsText(major + 1, 10) + "\r\n") << QString()
                                << routinen::versionsnummerAus(major + 1, 10);
        QTest::newRow("lower") << Route(200, "0,50") << QString() << 0.5;
        QTest::newRow("a point ends the number") << Route(200, "1.10") << QString() << 1.0;
        QTest::newRow("not found") << Route(404, "1,10") << verbindung << 0.0;
        QTest::newRow("server error") << Route(500, "1,10") << verbindung << 0.0;
        QTest::newRow("two commas") << Route(200, "1,0,5") << keine << 0.0;
        // Fetched, but no version number in it: not a connection problem, and nothing offered.
        QTest::newRow("a sign first") << Route(200, "-1,00") << keine << 0.0;
        QTest::newRow("twenty digits") << Route(200, "100000000000000000000") << keine << 0.0;
        QTest::newRow("empty") << Route(200, "") << keine << 0.0;
        QTest::newRow("stalls after the headers") << Route(200, "1,10").haengend() << verbindung << 0.0;
        QTest::newRow("HEAD beyond 32 bits")
            << Route(200, "1,10").kopfMeldet("5000000000") << verbindung << 0.0;
    }
    void pruefung() {
        QFETCH(Route, version);
        QFETCH(QString, meldung);
        QFETCH(double, server);
        Testserver s;
        s.routen.insert("/skalora.ver", version);
        s.routen.insert("/skalora.zip", Route(200, "PK"));
        Tinfodialog* box =
            neueBox(s.basis(), routinen::Sprache::Deutsch, version.haengt ? kKurzeGrenze : kLangeGrenze);
        pruefe(box);

        const double eigene = eigeneVersion();
        const QString erwartet =
            !meldung.isEmpty() ? meldung
            : server == eigene
                ? QStringLiteral("Derzeit befindet sich keine aktuellere Version auf dem Server")
                : aktualisierung::frage(eigene, server);
        QCOMPARE(m_meldungen, QStringList{erwartet});
        QCOMPARE(s.anzahl("HEAD /skalora.zip") + s.anzahl("GET /skalora.zip"),
                 0); // answered "No", or nothing to ask
        QCOMPARE(s.anfragen.value(0), QByteArray("HEAD /skalora.ver"));
        const QHash<QByteArray, QByteArray>& kopf = s.koepfe.value(0);
        QCOMPARE(kopf.value("user-agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
        QCOMPARE(kopf.value("accept"), QByteArray("text/html, */*"));
        QCOMPARE(kopf.value("content-type"), QByteArray("text/html"));
    }

    void keineVerbindung() {
        quint16 port = 0;
        {
            QTcpServer frei;
            QVERIFY(frei.listen(QHostAddress::LocalHost));
            port = frei.serverPort();
        }
        Tinfodialog* box = neueBox(QStringLiteral("http://127.0.0.1:%1/").arg(port));
        pruefe(box);
        QCOMPARE(m_meldungen, QStringList{QStringLiteral("Problem beim Verbinden mit dem Server")});
    }

    void archivSpeichern_data() {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<bool>("oeffnenGelingt");
        QTest::newRow("typed .exe, opened") << "neu.exe"
                                            << "neu.zip" << true;
        QTest::newRow("no extension, no unpacker") << "neu"
                                                   << "neu.zip" << false;
    }
    void archivSpeichern() {
        QFETCH(QString, getippt);
        QFETCH(QString, gespeichert);
        QFETCH(bool, oeffnenGelingt);
        QTemporaryDir ordner;
        Testserver s;
        const double server = routinen::versionsnummerAus(SKALORA_VERSION_MAJOR + 1, 0);
        s.routen.insert("/skalora.ver", Route(200, versionAlsText(SKALORA_VERSION_MAJOR + 1, 0)));
        const QByteArray archiv = archivBytes();
        s.routen.insert("/skalora.zip", Route(200, archiv));
        m_ja = true;
        m_oeffnenGelingt = oeffnenGelingt;
        Tinfodialog* box = neueBox(s.basis());

        box->getnewversion->click();
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((dialog = box->findChild<QFileDialog*>()) && dialog->isVisible(), 5000);
        QCOMPARE(dialog->defaultSuffix(), QStringLiteral("zip"));
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Alles (*.*)")});
        QCOMPARE(dialog->directory().absolutePath(), QCoreApplication::applicationDirPath());
        QCOMPARE(box->Statusbar->currentMessage(), aktualisierung::fortschritt(archiv.size(), archiv.size()));
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(ordner.filePath(getippt));
        static_cast<QDialog*>(dialog)->accept();
        QTRY_VERIFY_WITH_TIMEOUT(!box->prueftGerade(), kLangeGrenze + 5000);

        const QString datei = ordner.filePath(gespeichert);
        QFile f(datei);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll() == archiv);
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files), QStringList{gespeichert});
        QCOMPARE(m_geoeffnet, QList<QUrl>{QUrl::fromLocalFile(datei)});
        const double eigene = eigeneVersion();
        QStringList erwartet{aktualisierung::frage(eigene, server)};
        if (!oeffnenGelingt)
            erwartet << QStringLiteral("ZIP Entpacker kann nicht geöffnet werden !");
        erwartet << aktualisierung::nachDownload(eigene, server);
        QCOMPARE(m_meldungen, erwartet);
        QCOMPARE(s.anfragen, QList<QByteArray>({"HEAD /skalora.ver", "GET /skalora.ver", "HEAD /skalora.zip",
                                                "GET /skalora.zip"}));
        QTRY_VERIFY(!box->findChild<QFileDialog*>()); // discarded with the check's end
    }

    void archivFehlt() {
        Testserver s;
        s.routen.insert("/skalora.ver", Route(200, versionAlsText(SKALORA_VERSION_MAJOR + 1, 0)));
        m_ja = true;
        Tinfodialog* box = neueBox(s.basis());
        pruefe(box);
        QCOMPARE(m_meldungen.value(1), QStringLiteral("Problem beim Verbinden mit dem Server"));
        QCOMPARE(m_meldungen.size(), 2);
        QVERIFY(!box->findChild<QFileDialog*>());
    }

    // A transfer cut short is no archive: nothing offered for saving, nothing opened, no file left.
    void abgeschnittenesArchiv_data() {
        QTest::addColumn<Route>("archiv");
        const QByteArray ganz = archivBytes();
        QTest::newRow("HEAD announced more, GET named no length")
            << Route(200, ganz.left(100000)).kopfMeldet(QByteArray::number(ganz.size())).unangekuendigt();
        QTest::newRow("closed before the GET's own length") << Route(200, ganz).kappen(100000);
    }
    void abgeschnittenesArchiv() {
        QFETCH(Route, archiv);
        QTemporaryDir ordner;
        const QByteArray vorher = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(ordner.path()));
        const auto zurueck = qScopeGuard([&] { qputenv("TMPDIR", vorher); });
        Testserver s;
        const double server = routinen::versionsnummerAus(SKALORA_VERSION_MAJOR + 1, 0);
        s.routen.insert("/skalora.ver", Route(200, versionAlsText(SKALORA_VERSION_MAJOR + 1, 0)));
        s.routen.insert("/skalora.zip", archiv);
        m_ja = true;
        Tinfodialog* box = neueBox(s.basis());
        box->getnewversion->click();
        QTRY_VERIFY_WITH_TIMEOUT(!box->prueftGerade() || box->findChild<QFileDialog*>(), kLangeGrenze + 5000);

        QVERIFY(!box->findChild<QFileDialog*>());
        QCOMPARE(s.anzahl("GET /skalora.zip"), 1);
        QCOMPARE(m_meldungen, QStringList({aktualisierung::frage(eigeneVersion(), server),
                                           QStringLiteral("Problem beim Verbinden mit dem Server")}));
        QVERIFY(m_geoeffnet.isEmpty());
        QCOMPARE(QDir(ordner.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void abbrechenBeimSpeichern() {
        Testserver s;
        s.routen.insert("/skalora.ver", Route(200, versionAlsText(SKALORA_VERSION_MAJOR + 1, 0)));
        s.routen.insert("/skalora.zip", Route(200, "PK"));
        m_ja = true;
        Tinfodialog* box = neueBox(s.basis());
        box->getnewversion->click();
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((dialog = box->findChild<QFileDialog*>()) && dialog->isVisible(), 5000);
        dialog->reject();
        QVERIFY(!box->prueftGerade());
        QCOMPARE(m_meldungen.size(), 1); // the question only
        QVERIFY(m_geoeffnet.isEmpty());
    }

    // Closing the box while a request hangs stops it; the box goes away and nothing follows.
    void schliessenWaehrendDerUebertragung_data() {
        QTest::addColumn<bool>("imArchiv");
        QTest::addColumn<QByteArray>("haengt");
        QTest::newRow("version file") << false << QByteArray("GET /skalora.ver");
        QTest::newRow("archive") << true << QByteArray("GET /skalora.zip");
    }
    void schliessenWaehrendDerUebertragung() {
        QFETCH(bool, imArchiv);
        QFETCH(QByteArray, haengt);
        Testserver s;
        const Route version(200, versionAlsText(SKALORA_VERSION_MAJOR + 1, 0));
        s.routen.insert("/skalora.ver", imArchiv ? version : version.haengend());
        s.routen.insert("/skalora.zip", Route(200, archivBytes()).haengend());
        m_ja = true;
        // The hanging request is seen long before its limit runs out; after the close, the
        // wait outlasts the limit, so a time-out that still fired would show its message.
        constexpr int kGrenze = 3000;
        Tinfodialog* box = neueBox(s.basis(), routinen::Sprache::Deutsch, kGrenze);
        box->getnewversion->click();
        QTRY_VERIFY_WITH_TIMEOUT(s.anfragen.contains(haengt), kGrenze / 2);
        box->getnewversion->click(); // a second click while it runs does nothing
        QCOMPARE(s.anzahl("HEAD /skalora.ver"), 1);
        QVERIFY(box->prueftGerade());

        QPointer<Tinfodialog> zeiger(box);
        box->close();
        QTRY_VERIFY(zeiger.isNull());
        QTest::qWait(kGrenze + 1000);
        QCOMPARE(m_meldungen.size(), imArchiv ? 1 : 0);
    }

    void zweiBoxen() {
        Testserver langsam, schnell;
        langsam.routen.insert("/skalora.ver", Route(200, "1,10").haengend());
        schnell.routen.insert("/skalora.ver",
                              Route(200, versionAlsText(SKALORA_VERSION_MAJOR, SKALORA_VERSION_MINOR)));
        // The first box's limit outlasts its own wait and the whole check of the second.
        Tinfodialog* erste = neueBox(langsam.basis(), routinen::Sprache::Deutsch, 3 * kLangeGrenze);
        Tinfodialog* zweite = neueBox(schnell.basis());
        erste->getnewversion->click();
        QTRY_VERIFY_WITH_TIMEOUT(langsam.anfragen.contains("GET /skalora.ver"), kLangeGrenze);
        pruefe(zweite);
        QCOMPARE(m_meldungen, QStringList{QStringLiteral(
                                  "Derzeit befindet sich keine aktuellere Version auf dem Server")});
        QVERIFY(erste->prueftGerade());
        erste->close();
        QVERIFY(zweite->isVisible());
    }

    // The transfer itself: the limit holds whether or not the server announces the size, and a
    // body counts only when it is as long as every length announced.
    void grenze_data() {
        QTest::addColumn<Route>("route");
        QTest::addColumn<bool>("erfolg");
        const QByteArray hundert(100, 'x');
        QTest::newRow("exactly the limit") << Route(200, QByteArray(1000, 'x')) << true;
        QTest::newRow("HEAD announces more") << Route(200, QByteArray(10, 'x')).kopfMeldet("1001") << false;
        QTest::newRow("GET announces more") << Route(200, QByteArray(1001, 'x')) << false;
        QTest::newRow("more, unannounced") << Route(200, QByteArray(200000, 'x')).unangekuendigt() << false;
        QTest::newRow("no length anywhere, ends with the connection")
            << Route(200, hundert).unangekuendigt() << true;
        QTest::newRow("HEAD's length, GET none, all there")
            << Route(200, hundert).kopfMeldet("100").unangekuendigt() << true;
        QTest::newRow("HEAD's length, GET none, cut short")
            << Route(200, hundert).kopfMeldet("300").unangekuendigt() << false;
        QTest::newRow("HEAD's length, GET none, longer")
            << Route(200, hundert).kopfMeldet("60").unangekuendigt() << false;
        QTest::newRow("GET announces less than HEAD") << Route(200, hundert).kopfMeldet("300") << false;
        QTest::newRow("GET announces more than HEAD") << Route(200, hundert).kopfMeldet("60") << false;
        QTest::newRow("closed before the GET's length") << Route(200, hundert).kappen(40) << false;
    }
    void grenze() {
        QFETCH(Route, route);
        QFETCH(bool, erfolg);
        Testserver s;
        s.routen.insert("/datei", route);
        Aktualisierer http;
        QBuffer ziel;
        ziel.open(QIODevice::WriteOnly);
        std::optional<bool> ergebnis;
        connect(&http, &Aktualisierer::fertig, this, [&](bool ok) { ergebnis = ok; });
        http.hole(QUrl(s.basis() + QStringLiteral("datei")), &ziel, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(ergebnis.has_value(), 5000);
        QCOMPARE(*ergebnis, erfolg);
        QVERIFY(ziel.data().size() <= 1000);
        if (erfolg)
            QVERIFY(ziel.data() == route.koerper);
    }

    // A steady trickle keeps the no-progress limit quiet; only the overall deadline ends it.
    void frist_data() {
        QTest::addColumn<QByteArray>("koerper");
        QTest::addColumn<int>("frist");
        QTest::addColumn<bool>("erfolg");
        QTest::newRow("done well within the deadline") << QByteArray(4, 'x') << 3000 << true;
        QTest::newRow("a trickle beyond the deadline") << QByteArray(1000, 'x') << 1000 << false;
    }
    void frist() {
        QFETCH(QByteArray, koerper);
        QFETCH(int, frist);
        QFETCH(bool, erfolg);
        Testserver s;
        s.routen.insert("/datei", Route(200, koerper).tropfend());
        Aktualisierer http;
        // Longer than the whole wait below: had it fired, the deadline would not be what was tested.
        http.setzeZeitlimit(kLangeGrenze);
        http.setzeFrist(frist);
        QBuffer ziel;
        ziel.open(QIODevice::WriteOnly);
        std::optional<bool> ergebnis;
        connect(&http, &Aktualisierer::fertig, this, [&](bool ok) { ergebnis = ok; });
        http.hole(QUrl(s.basis() + QStringLiteral("datei")), &ziel, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(ergebnis.has_value(), aktualisierung::frist(frist, koerper.size()) + 4000);
        QCOMPARE(*ergebnis, erfolg);
        QVERIFY(!ziel.data().isEmpty());
        if (erfolg)
            QVERIFY(ziel.data() == koerper);
    }

    // While the window's thread is busy, an endless fast sender gets no further than the read
    // buffer and the system's socket buffers; the limit then ends the transfer and closes it.
    void flut() {
        Flut flut;
        flut.start();
        QTRY_VERIFY_WITH_TIMEOUT(flut.port != 0, 5000);
        constexpr qint64 kGrenze = 16 * 1024 * 1024;
        constexpr qint64 kZuviel = 128 * 1024 * 1024; // far beyond any socket buffer
        Aktualisierer http;
        qint64 aufgestaut = -1;
        Haltepunkt ziel([&] {
            // Held still until the sender stops for a second, or has sent far too much.
            flut.los = true;
            QElapsedTimer uhr, ruhe;
            uhr.start();
            ruhe.start();
            qint64 zuletzt = flut.gesendet;
            while (uhr.elapsed() < 10000 && flut.gesendet < kZuviel && ruhe.elapsed() < 1000) {
                QThread::msleep(20);
                if (flut.gesendet != zuletzt) {
                    zuletzt = flut.gesendet;
                    ruhe.restart();
                }
            }
            aufgestaut = flut.gesendet;
        });
        ziel.open(QIODevice::WriteOnly);
        std::optional<bool> ergebnis;
        connect(&http, &Aktualisierer::fertig, this, [&](bool ok) { ergebnis = ok; });
        http.hole(QUrl(QStringLiteral("http://127.0.0.1:%1/flut").arg(flut.port)), &ziel, kGrenze);
        QTRY_VERIFY_WITH_TIMEOUT(ergebnis.has_value(), 20000);
        QVERIFY2(aufgestaut >= 0 && aufgestaut < kZuviel, QByteArray::number(aufgestaut).constData());
        QCOMPARE(*ergebnis, false);
        QVERIFY(ziel.data().size() <= kGrenze);
        QTRY_VERIFY_WITH_TIMEOUT(flut.getrennt, 5000);
    }
};

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
