// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: layout, reading with defaults, encodings, marker and backup, failed saves.
#include "Dateigrenze.h"
#include "Fehler.h"
#include "IniDatei.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>
#include <sys/resource.h>

namespace {

void schreibeDatei(const QString& pfad, const QByteArray& inhalt) {
    QFile::remove(pfad);
    if (inhalt.isNull())
        return;
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(inhalt), inhalt.size());
}

// "ansi" is Windows-1252 for the characters used here: Latin-1 plus the euro sign at 0x80.
QByteArray kodiert(const QString& text, const QString& art) {
    if (art == u"ansi") {
        QByteArray b;
        for (const QChar c : text)
            b.append(c == u'€' ? '\x80' : static_cast<char>(c.unicode()));
        return b;
    }
    const auto kodierung = art == u"utf8"      ? QStringConverter::Utf8
                           : art == u"utf16le" ? QStringConverter::Utf16LE
                                               : QStringConverter::Utf16BE;
    QStringEncoder encoder(kodierung, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}
} // namespace

Q_DECLARE_METATYPE(long double)

class TestIniDatei : public QObject {
    Q_OBJECT

    QTemporaryDir* m_ordner = nullptr;
    QString pfad() const { return m_ordner->filePath(QStringLiteral("skalora.ini")); }

private slots:
    void init() {
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
        m_ordner = new QTemporaryDir;
        QVERIFY(m_ordner->isValid());
    }
    void cleanup() {
        delete m_ordner;
        m_ordner = nullptr;
    }

    // The import settings dialog and then the settings dialog saved with their design defaults.
    void beispielDatei() {
        {
            IniDatei ini = IniDatei::laden(pfad());
            const QString a = QStringLiteral("Importeinstellungen");
            markiereGeschrieben(ini, a);
            ini.schreibe(a, u"trenner", QStringLiteral(";"));
            for (const char16_t* name : {u"vorname", u"nachname", u"punkte", u"noten"}) {
                const QString n = QString::fromUtf16(name);
                ini.schreibe(a, n, QStringLiteral("Nicht genutzt"));
                ini.schreibeGanz(a, n + u'I', 0);
            }
            ini.schreibeZahl(a, u"ueberspringen", 1);
            ini.speichern();
        }
        {
            IniDatei ini = IniDatei::laden(pfad());
            const QString a = QStringLiteral("einstellungsdialog");
            markiereGeschrieben(ini, a);
            ini.schreibeGanz(a, u"auswahl", 1);
            ini.schreibeBool(a, u"includegrafik", false);
            ini.schreibeZahl(a, u"grenznote", 4);
            ini.speichern();
        }
        const QByteArray erwartet = "[Importeinstellungen]\r\n"
                                    "SektionVorhanden=1\r\n"
                                    "trenner=;\r\n"
                                    "vorname=Nicht genutzt\r\n"
                                    "vornameI=0\r\n"
                                    "nachname=Nicht genutzt\r\n"
                                    "nachnameI=0\r\n"
                                    "punkte=Nicht genutzt\r\n"
                                    "punkteI=0\r\n"
                                    "noten=Nicht genutzt\r\n"
                                    "notenI=0\r\n"
                                    "ueberspringen=1\r\n"
                                    "\r\n"
                                    "[Check]\r\n"
                                    "WroteSuccesful=1\r\n"
                                    "\r\n"
                                    "[einstellungsdialog]\r\n"
                                    "SektionVorhanden=1\r\n"
                                    "auswahl=1\r\n"
                                    "includegrafik=0\r\n"
                                    "grenznote=4\r\n"
                                    "\r\n";
        QCOMPARE(inhaltVon(pfad()), erwartet);
    }

    void zahlSchreibenUndLesen() {
        IniDatei ini;
        ini.schreibeZahl(u"einstellungsdialog", u"grenznote", 4.5L);
        QCOMPARE(ini.alsBytes(), QByteArray("[einstellungsdialog]\r\ngrenznote=4,5\r\n\r\n"));
        const IniDatei gelesen = IniDatei::ausBytes(ini.alsBytes());
        QCOMPARE(gelesen.leseZahl(u"einstellungsdialog", u"grenznote", 0), 4.5L);
    }

    // The extremes come back from the file as the extended values of their text; beyond the
    // doubles, the largest double.
    void zahlRundreise_data() {
        QTest::addColumn<long double>("wert");
        QTest::addColumn<QString>("text");
        QTest::addColumn<long double>("zurueck");
        const long double groesste = std::numeric_limits<double>::max();
        const long double kleinste = std::numeric_limits<double>::denorm_min();
        QTest::newRow("largest double") << groesste << "1,79769313486232E308" << groesste;
        QTest::newRow("most negative double") << -groesste << "-1,79769313486232E308" << -groesste;
        QTest::newRow("smallest subnormal") << kleinste << "4,94065645841247E-324" << 4.94065645841247E-324L;
        QTest::newRow("extended beyond the doubles") << 1e400L << "1,79769313486232E308" << groesste;
        QTest::newRow("negative extended beyond") << -1e400L << "-1,79769313486232E308" << -groesste;
        QTest::newRow("extended written as its double's text") << 4.1L << "4,1" << 4.1L;
    }
    // A stored number is read straight into an extended, never through a double: near a tie
    // of one decimal the two round apart (the double nearest 1,05 lies above it, the extended
    // below), bit for bit as the compiler reads the same decimal.
    void zahlAlsExtended_data() {
        QTest::addColumn<QByteArray>("wert");
        QTest::addColumn<long double>("erwartet");
        QTest::newRow("1,05") << QByteArray("1,05") << 1.05L;
        QTest::newRow("1,45") << QByteArray("1,45") << 1.45L;
        QTest::newRow("4,05") << QByteArray("4,05") << 4.05L;
        QTest::newRow("-2,35") << QByteArray("-2,35") << -2.35L;
        QTest::newRow("exponent") << QByteArray("1,5E-7") << 1.5E-7L;
        QTest::newRow("16 digits") << QByteArray("0,1000000000000001") << 0.1000000000000001L;
    }
    void zahlAlsExtended() {
        QFETCH(QByteArray, wert);
        QFETCH(long double, erwartet);
        const IniDatei ini = IniDatei::ausBytes("[notenvergabeform]\r\nvollenote=" + wert + "\r\n");
        const long double gelesen = ini.leseZahl(u"notenvergabeform", u"vollenote", 0);
        QVERIFY(std::memcmp(&gelesen, &erwartet, 10) == 0);
    }

    void zahlRundreise() {
        QFETCH(long double, wert);
        QFETCH(QString, text);
        QFETCH(long double, zurueck);
        IniDatei ini;
        ini.schreibeZahl(u"a", u"z", wert);
        QCOMPARE(ini.lese(u"a", u"z", {}), text);
        const IniDatei gelesen = IniDatei::ausBytes(ini.alsBytes());
        QCOMPARE(gelesen.leseZahl(u"a", u"z", 3), zurueck);
    }

    // Files that are a byte-order mark or less: read as empty in that encoding, written back in it.
    void kurzeDateien_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<int>("kodierung");
        QTest::addColumn<QByteArray>("danach"); // after writing [a] b=c
        const QByteArray utf16le("[\0a\0]\0\r\0\n\0b\0=\0c\0\r\0\n\0\r\0\n\0", 24);
        const QByteArray utf16be("\0[\0a\0]\0\r\0\n\0b\0=\0c\0\r\0\n\0\r\0\n", 24);
        const auto K = [](IniDatei::Kodierung k) { return static_cast<int>(k); };
        QTest::newRow("empty") << QByteArray("") << K(IniDatei::Kodierung::Ansi)
                               << QByteArray("[a]\r\nb=c\r\n\r\n");
        QTest::newRow("FF FE") << QByteArray("\xFF\xFE") << K(IniDatei::Kodierung::Utf16LE)
                               << "\xFF\xFE" + utf16le;
        QTest::newRow("FF FE and an odd byte")
            << QByteArray("\xFF\xFE[") << K(IniDatei::Kodierung::Utf16LE) << "\xFF\xFE" + utf16le;
        QTest::newRow("FE FF") << QByteArray("\xFE\xFF") << K(IniDatei::Kodierung::Utf16BE)
                               << "\xFE\xFF" + utf16be;
        QTest::newRow("FE FF and an odd byte")
            << QByteArray("\xFE\xFF\0", 3) << K(IniDatei::Kodierung::Utf16BE) << "\xFE\xFF" + utf16be;
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF") << K(IniDatei::Kodierung::Utf8)
                                    << QByteArray("\xEF\xBB\xBF[a]\r\nb=c\r\n\r\n");
        QTest::newRow("half a UTF-8 mark")
            << QByteArray("\xEF\xBB") << K(IniDatei::Kodierung::Ansi) << QByteArray("[a]\r\nb=c\r\n\r\n");
        QTest::newRow("one byte FF") << QByteArray("\xFF") << K(IniDatei::Kodierung::Ansi)
                                     << QByteArray("[a]\r\nb=c\r\n\r\n");
    }
    void kurzeDateien() {
        QFETCH(QByteArray, inhalt);
        QFETCH(int, kodierung);
        QFETCH(QByteArray, danach);
        schreibeDatei(pfad(), inhalt);
        IniDatei ini = IniDatei::laden(pfad());
        QCOMPARE(static_cast<int>(ini.kodierung()), kodierung);
        QVERIFY(!ini.hatAbschnitt(u"a"));
        ini.schreibe(u"a", u"b", QStringLiteral("c"));
        ini.speichern();
        QCOMPARE(inhaltVon(pfad()), danach);
    }

    // Each reader with its default: text "VORGABE", integer -1, boolean true, number 3.
    void lesen_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("erwartet");
        const QByteArray kopf = "[Importeinstellungen]\r\n";
        QTest::newRow("section and key in other case")
            << QByteArray("[IMPORTEINSTELLUNGEN]\r\nSCHLUESSEL=2\r\n") << "ganz"
            << "2";
        QTest::newRow("comments and blank lines")
            << QByteArray("; Kopf\r\n\r\n[Importeinstellungen]\r\n;schluessel=1\r\n \t \r\nschluessel=7")
            << "ganz"
            << "7";
        QTest::newRow("commented key is none") << kopf + ";schluessel=1\r\n"
                                               << "text"
                                               << "VORGABE";
        QTest::newRow("blanks and controls trimmed") << kopf + "\t schluessel \t=  #9 \t\r\n"
                                                     << "text"
                                                     << "#9";
        QTest::newRow("blank value is empty text") << kopf + "schluessel= \r\n"
                                                   << "text"
                                                   << "";
        QTest::newRow("split at first =") << kopf + "schluessel=a=b\r\n"
                                          << "text"
                                          << "a=b";
        QTest::newRow("bare LF and CR") << QByteArray("[Importeinstellungen]\nx=1\rschluessel=5\n") << "ganz"
                                        << "5";
        QTest::newRow("key of another section") << kopf + "x=1\r\n[b]\r\nschluessel=5\r\n"
                                                << "ganz"
                                                << "-1";
        QTest::newRow("key before any section") << "schluessel=5\r\n" + kopf << "ganz"
                                                << "-1";
        QTest::newRow("negative integer") << kopf + "schluessel=-12\r\n"
                                          << "ganz"
                                          << "-12";
        QTest::newRow("integer with text") << kopf + "schluessel=12a\r\n"
                                           << "ganz"
                                           << "-1";
        QTest::newRow("integer as decimal") << kopf + "schluessel=4,5\r\n"
                                            << "ganz"
                                            << "-1";
        QTest::newRow("integer too large") << kopf + "schluessel=99999999999999999999\r\n"
                                           << "ganz"
                                           << "-1";
        QTest::newRow("empty integer") << kopf + "schluessel=\r\n"
                                       << "ganz"
                                       << "-1";
        QTest::newRow("boolean 0") << kopf + "schluessel=0\r\n"
                                   << "bool"
                                   << "0";
        QTest::newRow("boolean 2 is true") << kopf + "schluessel=2\r\n"
                                           << "bool"
                                           << "1";
        QTest::newRow("boolean as word") << kopf + "schluessel=falsch\r\n"
                                         << "bool"
                                         << "1";
        QTest::newRow("number with comma") << kopf + "schluessel=4,5\r\n"
                                           << "zahl"
                                           << "4,5";
        QTest::newRow("number with point") << kopf + "schluessel=4.5\r\n"
                                           << "zahl"
                                           << "3";
        QTest::newRow("number with exponent") << kopf + "schluessel=-1,5E-7\r\n"
                                              << "zahl"
                                              << "-1,5E-7";
        QTest::newRow("empty number") << kopf + "schluessel=\r\n"
                                      << "zahl"
                                      << "3";
    }
    void lesen() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, art);
        QFETCH(QString, erwartet);
        const IniDatei ini = IniDatei::ausBytes(inhalt);
        const auto a = u"Importeinstellungen";
        const auto s = u"schluessel";
        QString ergebnis;
        if (art == u"text")
            ergebnis = ini.lese(a, s, QStringLiteral("VORGABE"));
        else if (art == u"ganz")
            ergebnis = QString::number(ini.leseGanz(a, s, -1));
        else if (art == u"bool")
            ergebnis = ini.leseBool(a, s, true) ? QStringLiteral("1") : QStringLiteral("0");
        else
            ergebnis = zahltext::kurz(static_cast<double>(ini.leseZahl(a, s, 3)));
        QCOMPARE(ergebnis, erwartet);
    }

    void schreibenAnOrt() {
        IniDatei ini =
            IniDatei::ausBytes("vorab=1\r\n[a]\r\nx=1\r\nohne Gleichheitszeichen\r\ny=2\r\n[b]\r\nz=3\r\n");
        ini.schreibe(u"A", u"X", QStringLiteral("9"));
        ini.schreibe(u"a", u"neu", QStringLiteral("n"));
        ini.schreibe(u"c", u"k", QStringLiteral("v"));
        QVERIFY(ini.hatAbschnitt(u"B"));
        QVERIFY(!ini.hatAbschnitt(u"d"));
        QCOMPARE(ini.alsBytes(), QByteArray("[a]\r\nx=9\r\nohne Gleichheitszeichen\r\ny=2\r\nneu=n\r\n\r\n"
                                            "[b]\r\nz=3\r\n\r\n[c]\r\nk=v\r\n\r\n"));
    }

    // A null QByteArray stands for a missing file.
    void gesichert_data() {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QByteArray>("sicherung");
        QTest::addColumn<QByteArray>("dateiDanach");
        QTest::addColumn<QByteArray>("sicherungDanach");
        QTest::addColumn<QString>("grenznote");
        const QByteArray fertig =
            "[einstellungsdialog]\r\ngrenznote=4\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n";
        const QByteArray alt =
            "[einstellungsdialog]\r\ngrenznote=1\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n";
        const QByteArray ohneMarker = "[einstellungsdialog]\r\ngrenznote=2\r\n\r\n[Check]\r\n\r\n";
        const QByteArray markerNull =
            "[einstellungsdialog]\r\ngrenznote=2\r\n\r\n[Check]\r\nWroteSuccesful=0\r\n";
        const QByteArray keine;
        QTest::newRow("marker present") << fertig << alt << fertig << fertig << "4";
        QTest::newRow("marker present, no backup") << fertig << keine << fertig << fertig << "4";
        QTest::newRow("marker removed") << ohneMarker << fertig << fertig << fertig << "4";
        QTest::newRow("marker zero") << markerNull << fertig << fertig << fertig << "4";
        QTest::newRow("marker removed, no backup") << ohneMarker << keine << ohneMarker << keine << "2";
        QTest::newRow("first start") << keine << keine << keine << keine << "";
    }
    void gesichert() {
        QFETCH(QByteArray, datei);
        QFETCH(QByteArray, sicherung);
        QFETCH(QByteArray, dateiDanach);
        QFETCH(QByteArray, sicherungDanach);
        QFETCH(QString, grenznote);
        const QString bak = m_ordner->filePath(QStringLiteral("skalora.bak"));
        QCOMPARE(sicherungsdatei(pfad()), bak);
        schreibeDatei(pfad(), datei);
        schreibeDatei(bak, sicherung);

        const IniDatei ini = ladeGesichert(pfad());
        QCOMPARE(ini.lese(u"einstellungsdialog", u"grenznote", QString()), grenznote);
        QCOMPARE(QFile::exists(pfad()), !dateiDanach.isNull());
        QCOMPARE(inhaltVon(pfad()), dateiDanach);
        QCOMPARE(QFile::exists(bak), !sicherungDanach.isNull());
        QCOMPARE(inhaltVon(bak), sicherungDanach);
    }

    void kodierung_data() {
        QTest::addColumn<QString>("art");
        QTest::newRow("UTF-16 LE") << "utf16le";
        QTest::newRow("UTF-16 BE") << "utf16be";
        QTest::newRow("UTF-8") << "utf8";
        QTest::newRow("Windows-1252") << "ansi";
    }
    void kodierung() {
        QFETCH(QString, art);
        const QString vorher = QStringLiteral("[Importeinstellungen]\r\nvorname=Jürgen 5 €\r\n\r\n");
        const QString nachher =
            QStringLiteral("[Importeinstellungen]\r\nvorname=Jürgen 5 €\r\nnachname=Öztürk\r\n\r\n");
        schreibeDatei(pfad(), kodiert(vorher, art));
        IniDatei ini = IniDatei::laden(pfad());
        QCOMPARE(ini.lese(u"Importeinstellungen", u"vorname", QString()), QStringLiteral("Jürgen 5 €"));
        ini.schreibe(u"Importeinstellungen", u"nachname", QStringLiteral("Öztürk"));
        ini.speichern();
        QCOMPARE(inhaltVon(pfad()), kodiert(nachher, art));
    }

    // Reading what was written gives what was read, also where Windows-1252 bytes form UTF-8.
    void lesenSchreibenLesen_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::newRow("a mark only, nothing written") << QByteArray("\xFF\xFE");
        QTest::newRow("big-endian mark only") << QByteArray("\xFE\xFF");
        // The line before the first section is dropped, and with it the one byte that kept the
        // rest from being UTF-8: "\xC7\x8C" is the Windows-1252 text "ÇŒ" and UTF-8 for "ǌ".
        QTest::newRow("Windows-1252 that becomes UTF-8") << QByteArray("\xFF\r\n[a]\r\nb=\xC7\x8C\r\n");
        QTest::newRow("plain Windows-1252") << QByteArray("[a]\r\nb=\xE4\r\n");
    }
    void lesenSchreibenLesen() {
        QFETCH(QByteArray, inhalt);
        const IniDatei erst = IniDatei::ausBytes(inhalt);
        const IniDatei wieder = IniDatei::ausBytes(erst.alsBytes());
        QCOMPARE(wieder.lese(u"a", u"b", QStringLiteral("-")), erst.lese(u"a", u"b", QStringLiteral("-")));
        QCOMPARE(wieder.alsBytes(), erst.alsBytes());
    }

    void neueDateiInAnsi() {
        IniDatei ini = IniDatei::laden(pfad());
        ini.schreibe(u"a", u"name", QStringLiteral("ä"));
        ini.speichern();
        QCOMPARE(inhaltVon(pfad()), QByteArray("[a]\r\nname=\xE4\r\n\r\n"));
    }

    void speichernInFehlendenOrdner() {
        IniDatei ini = IniDatei::laden(m_ordner->filePath(QStringLiteral("fehlt/skalora.ini")));
        ini.schreibe(u"a", u"b", QStringLiteral("c"));
        try {
            ini.speichern();
            QFAIL("no error");
        } catch (const Fehler& f) {
            const QString voll =
                QDir::toNativeSeparators(m_ordner->filePath(QStringLiteral("fehlt/skalora.ini")));
            QCOMPARE(f.text(), QStringLiteral("Datei nicht gefunden\n") + voll);
            QCOMPARE(f.pfad(), voll);
        }
    }

    // Every file error has a German text; the ones without a text of their own read "E/A-Fehler n".
    void dateifehlerTexte_data() {
        QTest::addColumn<int>("nummer");
        QTest::addColumn<QString>("text");
        QTest::newRow("ENOENT") << ENOENT << "Datei nicht gefunden";
        QTest::newRow("EACCES") << EACCES << "Dateizugriff verweigert";
        QTest::newRow("ENOSPC") << ENOSPC << "Zu wenig Speicherplatz auf dem Datenträger";
        QTest::newRow("EDQUOT") << EDQUOT << "Das Speicherkontingent auf dem Datenträger ist erschöpft";
        QTest::newRow("EFBIG") << EFBIG << "Die Datei ist zu groß für den Datenträger";
        QTest::newRow("EROFS") << EROFS << "Der Datenträger ist schreibgeschützt";
        QTest::newRow("EIO") << EIO << "Der Datenträger meldet einen Lese- oder Schreibfehler";
        QTest::newRow("no text of its own") << 4095 << "E/A-Fehler 4095";
    }
    void dateifehlerTexte() {
        QFETCH(int, nummer);
        QFETCH(QString, text);
        QCOMPARE(fehler::ausErrno(nummer), text);
        try {
            fehler::wirfErrno(nummer, QStringLiteral("/ordner/liste.csv"));
        } catch (const Fehler& f) {
            // The design's text first and unchanged, the file's full path below it.
            QCOMPARE(f.text(), text + QStringLiteral("\n/ordner/liste.csv"));
            QCOMPARE(f.pfad(), QStringLiteral("/ordner/liste.csv"));
        }
    }

    // A folder where the settings file should be: reading and writing it name the file.
    void ordnerStattDatei() {
        QVERIFY(QDir().mkpath(pfad()));
        const QString erwartet = QStringLiteral("Dateizugriff verweigert\n") + pfad();
        try {
            IniDatei::laden(pfad());
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), erwartet);
        }
        try {
            IniDatei leer = IniDatei::laden(m_ordner->filePath(QStringLiteral("anders.ini")));
            QDir().mkpath(leer.pfad());
            leer.speichern();
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), QStringLiteral("Dateizugriff verweigert\n") +
                                   m_ordner->filePath(QStringLiteral("anders.ini")));
        }
    }

    // A write cut short (here by a file size limit, as by a full disk) leaves the old file whole.
    void abgebrochenesSpeichernLaesstDateiGanz() {
        const QByteArray alt = "[a]\r\nb=1\r\n\r\n";
        schreibeDatei(pfad(), alt);
        IniDatei ini = IniDatei::laden(pfad());
        ini.schreibe(u"a", u"lang", QString(100, u'x'));

        {
            const Dateigrenze grenze(32);
            QVERIFY(grenze.aktiv());
            try {
                ini.speichern();
                QFAIL("no error");
            } catch (const Fehler& f) {
                QCOMPARE(f.text(), QStringLiteral("Die Datei ist zu groß für den Datenträger\n") + pfad());
            }
        }
        QCOMPARE(inhaltVon(pfad()), alt);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::Files), QStringList{QStringLiteral("skalora.ini")});
    }
};

QTEST_GUILESS_MAIN(TestIniDatei)
#include "tst_inidatei.moc"
