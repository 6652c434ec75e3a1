// SPDX-License-Identifier: GPL-3.0-or-later
// How the program reads the bytes of a text file: a byte-order mark decides, valid UTF-8 with
// umlauts is UTF-8, everything else Windows-1252. The files in daten/calc_* were written by
// LibreOffice Calc from calc_liste.fods and calc_ascii.fods.
#include "Ansi.h"
#include "Import.h"
#include "IniDatei.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QTest>

Q_DECLARE_METATYPE(ansi::Kodierung)

namespace {
QString testdatei(const QString& name) {
    return QStringLiteral(SKALORA_TESTDATEN "/") + name;
}

// "name|points" per entry.
QStringList eintraege(const Notenliste& l) {
    QStringList r;
    for (const auto& e : l)
        r << e.nameText() + u'|' + zahltext::kurz(e.punkte);
    return r;
}
} // namespace

class TestKodierung : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    void calcDateien_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<ansi::Kodierung>("kodierung");
        QTest::addColumn<QStringList>("namen");
        const QStringList umlaute{"Jürgen Groß|17,5", "Zoë Müller-Ñúñez|12", "Anna Meier €|9,5"};
        QTest::newRow("UTF-8 without mark") << "calc_utf8.csv" << ansi::Kodierung::Utf8 << umlaute;
        QTest::newRow("UTF-8 with mark") << "calc_utf8_bom.csv" << ansi::Kodierung::Utf8 << umlaute;
        QTest::newRow("Windows-1252") << "calc_cp1252.csv" << ansi::Kodierung::Ansi << umlaute;
        QTest::newRow("UTF-16") << "calc_utf16.csv" << ansi::Kodierung::Utf16LE << umlaute;
        QTest::newRow("Windows-1252, ASCII only")
            << "calc_ascii.csv" << ansi::Kodierung::Ansi << QStringList{"Anna Meier|17,5", "Bert Roth|12"};
    }
    void calcDateien() {
        QFETCH(QString, datei);
        QFETCH(ansi::Kodierung, kodierung);
        QFETCH(QStringList, namen);
        const QString pfad = testdatei(datei);
        QCOMPARE(ansi::kodierungVon(inhaltVon(pfad)), kodierung);

        ImportEinstellungen e;
        e.vorname = 1;
        e.nachname = 2;
        e.punkte = 3;
        e.titelzeilen = 1;
        // The lines, and the file read straight from its bytes, give the same list.
        const QStringList zeilen = zeilenAusDatei(pfad);
        QCOMPARE(zeilen.value(0), QStringLiteral("Vorname;Nachname;Punkte"));
        Auswertung ueberZeilen, direkt;
        ueberZeilen.FErsetzen = direkt.FErsetzen = true;
        ImportAuswerten(ueberZeilen, zeilen, u';', e);
        importiereDatei(direkt, pfad, u';', e);
        QCOMPARE(eintraege(ueberZeilen.FEintraege), namen);
        QCOMPARE(eintraege(direkt.FEintraege), namen);
    }

    void utf8Pruefung_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("ASCII only, longer than a word") << QByteArray("Anna;Meier;17,5\r\n") << false;
        QTest::newRow("two-byte form") << QByteArray("M\xC3\xBCller") << true;
        QTest::newRow("after a whole ASCII word") << QByteArray("Vorname;M\xC3\xBCller") << true;
        QTest::newRow("three bytes, euro") << QByteArray("\xE2\x82\xAC") << true;
        QTest::newRow("four bytes, U+10FFFF") << QByteArray("x\xF4\x8F\xBF\xBF") << true;
        QTest::newRow("Windows-1252 umlaut") << QByteArray("M\xFCller;3") << false;
        QTest::newRow("umlaut after valid UTF-8") << QByteArray("\xC3\xBC and \xFC") << false;
        QTest::newRow("lone continuation byte") << QByteArray("a\x80") << false;
        QTest::newRow("overlong two bytes") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << false;
        QTest::newRow("overlong four bytes") << QByteArray("\xF0\x80\x80\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("Gro\xC3") << false;
        QTest::newRow("cut before ASCII") << QByteArray("\xE2\x82;abcdefgh") << false;
    }
    void utf8Pruefung() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QCOMPARE(ansi::istUtf8MitNichtAscii(bytes), utf8);
        QCOMPARE(ansi::kodierungVon(bytes), utf8 ? ansi::Kodierung::Utf8 : ansi::Kodierung::Ansi);
        QCOMPARE(ansi::textAusDatei(bytes), utf8 ? QString::fromUtf8(bytes) : ansi::zuText(bytes));
    }

    // The import ends its text at a NUL; only the bytes before it decide.
    void nulEndetDieEntscheidung() {
        const QByteArray bytes("J\xC3\xBCrgen;1\n\0\xFC", 13);
        QCOMPARE(zeilenAusBytes(bytes), QStringList{"Jürgen;1"});
    }

    // The settings file goes through the same codec; a file read as UTF-8 stays UTF-8.
    void einstellungsdatei_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QByteArray>("geschrieben");
        QTest::newRow("UTF-8 without mark") << QByteArray("[a]\r\nname=J\xC3\xBCrgen\r\n") << "Jürgen"
                                            << QByteArray("\xEF\xBB\xBF[a]\r\nname=J\xC3\xBCrgen\r\n\r\n");
        QTest::newRow("Windows-1252") << QByteArray("[a]\r\nname=J\xFCrgen\r\n") << "Jürgen"
                                      << QByteArray("[a]\r\nname=J\xFCrgen\r\n\r\n");
        QTest::newRow("ASCII") << QByteArray("[a]\nname=Anna\n") << "Anna"
                               << QByteArray("[a]\r\nname=Anna\r\n\r\n");
        QTest::newRow("UTF-16 BE, mark alone") << QByteArray("\xFE\xFF") << "" << QByteArray("\xFE\xFF");
    }
    void einstellungsdatei() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, wert);
        QFETCH(QByteArray, geschrieben);
        const IniDatei ini = IniDatei::ausBytes(bytes);
        QCOMPARE(ini.lese(u"a", u"name", QString()), wert);
        QCOMPARE(ini.alsBytes(), geschrieben);
    }
};

QTEST_GUILESS_MAIN(TestKodierung)
#include "tst_kodierung.moc"
