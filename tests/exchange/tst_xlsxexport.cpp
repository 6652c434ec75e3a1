// SPDX-License-Identifier: GPL-3.0-or-later
// The xlsx writer: the sheet it writes, under any locale of the process, with values that are
// no number and names that look like the format's escapes, and read back by the program's own
// reader however long the list.
#include "Meldungsfehler.h"
#include "Tabelle.h"
#include "Testdaten.h"
#include "XlsxExport.h"
#include "Zahltext.h"

#include <QTemporaryDir>
#include <QTest>
#include <zip.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace {

// The unpacked part `name` of the ZIP archive `pfad`; empty when it is missing.
QByteArray teil(const QString& pfad, const char* name) {
    int fehler = 0;
    zip_t* z = zip_open(QFile::encodeName(pfad).constData(), ZIP_RDONLY, &fehler);
    if (!z)
        return {};
    QByteArray inhalt;
    if (zip_file_t* f = zip_fopen(z, name, 0)) {
        char puffer[4096];
        for (zip_int64_t n; (n = zip_fread(f, puffer, sizeof puffer)) > 0;)
            inhalt.append(puffer, static_cast<qsizetype>(n));
        zip_fclose(f);
    }
    zip_discard(z);
    return inhalt;
}

// Restores the C library's LC_NUMERIC on every way out of a test.
struct Zahlenformat {
    QByteArray vorher = std::setlocale(LC_NUMERIC, nullptr);
    ~Zahlenformat() { std::setlocale(LC_NUMERIC, vorher.constData()); }
};

} // namespace

class TestXlsxExport : public QObject {
    Q_OBJECT

private slots:
    // The C library's printf, which libxlsxwriter formats numbers with, follows LC_NUMERIC; a
    // German one must not make "52,5" of 52.5 (a spreadsheet reads 52), nor of the margins.
    void deutschesZahlenformat() {
        const Zahlenformat zurueck;
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QSKIP("the locale de_DE.UTF-8 is not installed (scripts/install-deps generates it)");
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
        QTemporaryDir dir;
        const QString pfad = dir.filePath("liste.xlsx");
        exportiereXlsx(pfad, {testeintrag("Anna", 52.5, 1.3)});
        const QByteArray blatt = teil(pfad, "xl/worksheets/sheet1.xml");
        QVERIFY2(blatt.contains("<v>52.5</v>") && blatt.contains("<v>1.3</v>"), blatt.constData());
        QVERIFY2(blatt.contains("left=\"0.7\""), blatt.constData());
        QVERIFY2(!blatt.contains(','), blatt.constData());
        // The process keeps its own locale.
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
    }

    // A record file may hold NaN and infinities; a spreadsheet would show "NAN" or "INF" as 0.
    // Their cells stay empty and are counted, and the import leaves their lines out, as it does
    // with an empty points field.
    void keineZahlen() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTemporaryDir dir;
        const QString pfad = dir.filePath("liste.xlsx");
        const qsizetype leer =
            exportiereXlsx(pfad, {testeintrag("Anna", nan, 1), testeintrag("Bert", 7.5, inf),
                                  testeintrag("Cara", -inf, -inf)});
        QCOMPARE(leer, qsizetype(4));
        QCOMPARE(leereWerteText(leer),
                 QStringLiteral(
                     "4 Werte sind keine endlichen Zahlen; ihre Zellen in der Arbeitsmappe bleiben leer."));
        QCOMPARE(
            leereWerteText(1),
            QStringLiteral("1 Wert ist keine endliche Zahl; seine Zelle in der Arbeitsmappe bleibt leer."));
        QVERIFY(leereWerteText(0).isEmpty());
        const QByteArray blatt = teil(pfad, "xl/worksheets/sheet1.xml").toUpper();
        QVERIFY2(!blatt.contains("NAN") && !blatt.contains("INF"), blatt.constData());
        QCOMPARE(tabelle::lese(pfad),
                 tabelle::Zeilen({{"Anna", "", "1"}, {"Bert", zahltext::kurz(7.5)}, {"Cara"}}));

        Auswertung a;
        a.FErsetzen = true;
        const auto z = importiereTabelle(a, pfad, {.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0});
        QCOMPARE(z.uebernommen, qsizetype(1));
        QCOMPARE(z.uebergangen, qsizetype(2));
        QCOMPARE(a.FEintraege.value(0).nameText(), QStringLiteral("Bert"));
    }

    // Names come back as they were: a literal escape stays literal, a control character comes
    // back as itself.
    void namenZurueck_data() {
        QTest::addColumn<QByteArray>("name"); // Windows-1252
        QTest::newRow("literal escape") << QByteArray("_x0041_");
        QTest::newRow("literal escaped underscore") << QByteArray("a_x005F_b");
        QTest::newRow("lower-case hex, twice") << QByteArray("_x00e9__x00E9_");
        QTest::newRow("control characters") << QByteArray("a\x01"
                                                          "b\x1F"
                                                          "c\x0D"
                                                          "d");
        QTest::newRow("TAB and LF") << QByteArray("a\tb\nc");
        QTest::newRow("no escapes: too short, capital X, no hex") << QByteArray("_x004_ _X0041_ _x00G1_");
        QTest::newRow("umlauts") << QByteArray("J\xFCrgen Gro\xDF");
    }
    void namenZurueck() {
        QFETCH(QByteArray, name);
        const TNotenEintrag e = testeintrag(name, 1, 2);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("liste.xlsx");
        exportiereXlsx(pfad, {e});
        QCOMPARE(tabelle::lese(pfad).value(0).value(0), e.nameText());
    }

    // The reader takes back every list the writer writes: more rows than 2,000,000 cells hold.
    void grosseListeZurueck() {
        Notenliste liste;
        for (int i = 0; i < 700'000; ++i)
            liste.append(testeintrag(QByteArray("P") + QByteArray::number(i), i % 60, 1 + i % 5));
        QTemporaryDir dir;
        const QString pfad = dir.filePath("gross.xlsx");
        QCOMPARE(exportiereXlsx(pfad, liste), qsizetype(0));
        Auswertung a;
        a.FErsetzen = true;
        const auto z = importiereTabelle(a, pfad, {.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0});
        QCOMPARE(z.uebernommen, liste.size());
        QCOMPARE(a.FEintraege.constLast().nameText(), QStringLiteral("P699999"));
        QCOMPARE(a.FEintraege.constLast().punkte, double(699'999 % 60));
    }
};

QTEST_GUILESS_MAIN(TestXlsxExport)
#include "tst_xlsxexport.moc"
