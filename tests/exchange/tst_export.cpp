// SPDX-License-Identifier: GPL-3.0-or-later
// CSV export: line form and number text, the file, and reading an export back.
#include "Ansi.h"
#include "Dateigrenze.h"
#include "Export.h"
#include "Fehler.h"
#include "Import.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {
QByteArray alsBytes(const Notenliste& l) {
    QBuffer puffer;
    puffer.open(QIODevice::WriteOnly);
    exportiereCsv(puffer, l);
    return puffer.data();
}
} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void init() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    // The whole file against the plain line form with the general number text: random names,
    // random doubles of every kind, over more than one written piece.
    void zufallslisteWieZeilenform_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << "de_DE";
        QTest::newRow("English") << "en_US";
    }
    void zufallslisteWieZeilenform() {
        QFETCH(QString, locale);
        zahltext::uebernehmeGebietsschema(QLocale(locale));
        std::mt19937_64 z(56);
        std::uniform_int_distribution<int> art(0, 3), laenge(0, 30), stellen(0, 6), zaehler(-2000, 2000);
        auto zahl = [&]() -> double {
            switch (art(z)) {
            case 0: {
                double w;
                do
                    w = std::bit_cast<double>(z());
                while (std::isnan(w) && art(z) != 0); // now and then a NaN
                return w;
            }
            case 1:
                return zaehler(z) / std::pow(10.0, stellen(z));
            case 2:
                return 1.0 + zaehler(z) / 3.0;
            default:
                return art(z) == 0 ? std::numeric_limits<double>::infinity() : -0.0;
            }
        };
        // A spreadsheet would take these names for formulas: they get an apostrophe.
        auto formel = [](QByteArrayView n) {
            qsizetype i = 0;
            while (i < n.size() && n[i] == '\'')
                ++i;
            return i < n.size() && QByteArrayView("=+-@\t\r").contains(n[i]);
        };
        Notenliste liste(50'000, leererEintrag());
        QByteArray erwartet;
        for (TNotenEintrag& e : liste) {
            char name[30];
            const int n = laenge(z);
            for (int i = 0; i < n; ++i)
                name[i] = static_cast<char>(z() % 2 ? 32 + z() % 224 : "=+-@'\t\rA"[z() % 8]);
            e.setzeName(QByteArrayView(name, n));
            e.punkte = zahl();
            e.note = zahl();
            // Quoted, inner quotation marks doubled, only where the name holds ";", one of them or
            // a line break.
            const QByteArray roh = e.nameBytes().toByteArray();
            QByteArray zelle = (formel(e.nameBytes()) ? "'" : "") + roh;
            if (roh.contains(';') || roh.contains('"') || roh.contains('\r') || roh.contains('\n'))
                zelle = '"' + zelle.replace("\"", "\"\"") + '"';
            erwartet += zelle + ';' + ansi::ausText(zahltext::kurz(e.punkte)) + ';' +
                        ansi::ausText(zahltext::kurz(e.note)) + "\r\n";
        }
        QVERIFY(erwartet.size() > (1 << 20));
        const QByteArray bytes = alsBytes(liste);
        if (bytes != erwartet) {
            qsizetype i = 0;
            while (i < bytes.size() && i < erwartet.size() && bytes[i] == erwartet[i])
                ++i;
            QFAIL(
                qPrintable(QStringLiteral("differs at byte %1: %2 against %3")
                               .arg(i)
                               .arg(QString::fromLatin1(bytes.mid(std::max<qsizetype>(i - 20, 0), 40)),
                                    QString::fromLatin1(erwartet.mid(std::max<qsizetype>(i - 20, 0), 40)))));
        }
    }

    void zahlen_data() {
        QTest::addColumn<QString>("gebiet");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QByteArray>("text");
        for (const char* gebiet : {"de_DE", "en_US"}) {
            const char komma = QByteArray(gebiet) == "de_DE" ? ',' : '.';
            auto zeile = [&](const char* name, double wert, QByteArray text) {
                QTest::addRow("%s %s", gebiet, name)
                    << QString::fromLatin1(gebiet) << wert << text.replace('.', komma);
            };
            zeile("half", 17.5, "17.5");
            zeile("whole", 40, "40");
            zeile("15 digits", 7.0 / 3.0, "2.33333333333333");
            zeile("zero", 0, "0");
            zeile("tiny", 1.5e-7, "1.5E-7");
            zeile("negative", -2.25, "-2.25");
        }
    }
    void zahlen() {
        QFETCH(QString, gebiet);
        QFETCH(double, wert);
        QFETCH(QByteArray, text);
        zahltext::uebernehmeGebietsschema(QLocale(gebiet));
        QCOMPARE(alsBytes({testeintrag("Anna", wert, wert, u'C')}), "Anna;" + text + ';' + text + "\r\n");
    }

    void zeilenform() {
        // Windows-1252, blanks and a 30-character name as they stand, CR LF after each line.
        const Notenliste l{testeintrag("\xC4rger Zo\xEB ", 3, 1, u'C'),
                           testeintrag("Maximiliane-Friederike von Hoh", 0.5, 6, u'C')};
        QCOMPARE(alsBytes(l), QByteArray("\xC4rger Zo\xEB ;3;1\r\nMaximiliane-Friederike von Hoh;0,5;6\r\n"));
    }

    // Formula injection: a spreadsheet reads a cell that begins with = + - @ TAB or CR as a
    // formula, so such a name is written after an apostrophe, and read back without it.
    void formelschutz_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("zeile");
        QTest::newRow("equals") << QByteArray("=1+2") << QByteArray("'=1+2;0;0\r\n");
        QTest::newRow("plus") << QByteArray("+49 171") << QByteArray("'+49 171;0;0\r\n");
        QTest::newRow("minus") << QByteArray("-Meier") << QByteArray("'-Meier;0;0\r\n");
        QTest::newRow("at") << QByteArray("@SUM(A1)") << QByteArray("'@SUM(A1);0;0\r\n");
        QTest::newRow("tab") << QByteArray("\tAnna") << QByteArray("'\tAnna;0;0\r\n");
        QTest::newRow("carriage return") << QByteArray("\rAnna") << QByteArray("\"'\rAnna\";0;0\r\n");
        QTest::newRow("30 characters become 31")
            << QByteArray("=" + QByteArray(29, 'x')) << "'=" + QByteArray(29, 'x') + ";0;0\r\n";
        QTest::newRow("apostrophe and formula") << QByteArray("'=x") << QByteArray("''=x;0;0\r\n");
        QTest::newRow("apostrophe and letter") << QByteArray("'Brien") << QByteArray("'Brien;0;0\r\n");
        QTest::newRow("formula character later")
            << QByteArray("Anna=Bert") << QByteArray("Anna=Bert;0;0\r\n");
        QTest::newRow("blank first") << QByteArray(" =x") << QByteArray(" =x;0;0\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray(";0;0\r\n");
    }
    void formelschutz() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, zeile);
        QCOMPARE(alsBytes({testeintrag(name)}), zeile);
        // The written field, byte-wise and as UTF-16, loses exactly the added apostrophe.
        QByteArray feld = zeile.left(zeile.indexOf(";0;0\r\n"));
        if (feld.startsWith('"')) // a line break in it: quoted, no inner quotation marks here
            feld = feld.mid(1, feld.size() - 2);
        const std::string_view ohne =
            formelschutz::entferne(std::string_view(feld.constData(), static_cast<std::size_t>(feld.size())));
        QCOMPARE(QByteArray(ohne.data(), static_cast<qsizetype>(ohne.size())), name);
        const QString feld16 = QString::fromLatin1(feld);
        QCOMPARE(formelschutz::entferne(QStringView(feld16)).toString(), QString::fromLatin1(name));
        // Back through the import with the export's columns (a tab or a line break in a name
        // comes back as a blank).
        if (name.isEmpty())
            return;
        name.replace('\t', ' ').replace('\r', ' ');
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("liste.csv"));
        exportiereCsv(pfad, {testeintrag(name)});
        const ImportEinstellungen e{.vorname = 1, .punkte = 2, .titelzeilen = 0};
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(importiereDatei(a, pfad, u';', e).uebernommen, qsizetype(1));
        QCOMPARE(a.FEintraege[0].nameBytes(), QByteArrayView(name));
    }

    // A name holding the separator or a quotation mark is quoted as spreadsheets read it, and
    // comes back whole; every other name is written as it stands.
    void anfuehrung_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("zeile");
        QTest::newRow("separator") << QByteArray("Nachname; Vorname")
                                   << QByteArray("\"Nachname; Vorname\";1;2\r\n");
        QTest::newRow("quotation marks")
            << QByteArray("Jo \"Bo\" X") << QByteArray("\"Jo \"\"Bo\"\" X\";1;2\r\n");
        QTest::newRow("quotation mark first") << QByteArray("\"Bo\"") << QByteArray("\"\"\"Bo\"\"\";1;2\r\n");
        QTest::newRow("formula and separator") << QByteArray("=a;b") << QByteArray("\"'=a;b\";1;2\r\n");
        QTest::newRow("30 characters of quotation marks")
            << QByteArray(30, '"') << '"' + QByteArray(60, '"') + "\";1;2\r\n";
        QTest::newRow("comma and apostrophe stay plain")
            << QByteArray("O'Brien, Anna") << QByteArray("O'Brien, Anna;1;2\r\n");
    }
    void anfuehrung() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, zeile);
        const Notenliste l{testeintrag(name, 1, 2, u'C'), testeintrag("Bert", 3, 4, u'C')};
        QCOMPARE(alsBytes(l), zeile + "Bert;3;4\r\n");
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("liste.csv"));
        exportiereCsv(pfad, l);
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(importiereDatei(a, pfad, u';', {.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0})
                     .uebernommen,
                 qsizetype(2));
        QCOMPARE(a.FEintraege[0].nameBytes(), QByteArrayView(name));
        QCOMPARE(a.FEintraege[0].punkte, 1.0);
        QCOMPARE(a.FEintraege[1].nameBytes(), QByteArrayView("Bert"));
    }

    // A record may hold a name with a line break: it is quoted, so it stays one line of the file
    // and comes back as one student, the break as a blank.
    void zeilenumbruchImNamen_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QByteArray>("zurueck");
        QTest::newRow("LF") << QByteArray("Anna\nMeier") << QByteArray("\"Anna\nMeier\";1;2\r\n")
                            << QByteArray("Anna Meier");
        QTest::newRow("CR LF") << QByteArray("Anna\r\nMeier") << QByteArray("\"Anna\r\nMeier\";1;2\r\n")
                               << QByteArray("Anna Meier");
        QTest::newRow("CR first, behind the apostrophe")
            << QByteArray("\rAnna") << QByteArray("\"'\rAnna\";1;2\r\n") << QByteArray(" Anna");
        QTest::newRow("CR after a formula character")
            << QByteArray("=\rx") << QByteArray("\"'=\rx\";1;2\r\n") << QByteArray("= x");
    }
    void zeilenumbruchImNamen() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, zeile);
        QFETCH(QByteArray, zurueck);
        const Notenliste l{testeintrag(name, 1, 2, u'C'), testeintrag("Bert", 3, 4, u'C')};
        QCOMPARE(alsBytes(l), zeile + "Bert;3;4\r\n");
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("liste.csv"));
        exportiereCsv(pfad, l);
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(importiereDatei(a, pfad, u';', {.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0})
                     .uebernommen,
                 qsizetype(2));
        QCOMPARE(a.FEintraege[0].nameBytes(), QByteArrayView(zurueck));
        QCOMPARE(a.FEintraege[0].punkte, 1.0);
        QCOMPARE(a.FEintraege[1].nameBytes(), QByteArrayView("Bert"));
    }

    // The "Grenzfälle" table quotes such a name as the list's own export does.
    void grenzfaelleAnfuehrung() {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("grenz.csv"));
        grenzfaelle::Grenzfall f;
        f.index = 1;
        exportiereGrenzfaelle(pfad, {f}, {testeintrag("Anna", 1), testeintrag("Meier; \"Jo\"", 2)});
        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::ReadOnly));
        const QList<QByteArray> zeilen = datei.readAll().split('\n');
        QCOMPARE(zeilen.size(), 3);
        QVERIFY2(zeilen[1].startsWith("\"Meier; \"\"Jo\"\"\";"), zeilen[1].constData());
    }

    // A spreadsheet cell of two lines becomes one name, so the program's own CSV of it reads
    // back as one student with the points.
    void tabellenzelleZurueck() {
        Auswertung a;
        a.FErsetzen = true;
        const QChar zelle(u'\xFFFF');
        ImportAuswerten(a, {"M\u00FCller\n(Wiederholer)" + QString(zelle) + "20"}, zelle,
                        {.vorname = 1, .punkte = 2, .titelzeilen = 0});
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("liste.csv"));
        exportiereCsv(pfad, a.FEintraege);
        Auswertung b;
        b.FErsetzen = true;
        QCOMPARE(importiereDatei(b, pfad, u';', {.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0})
                     .uebernommen,
                 qsizetype(1));
        QCOMPARE(b.FEintraege[0].nameText(), QStringLiteral("Müller (Wiederholer)"));
        QCOMPARE(b.FEintraege[0].punkte, 20.0);
    }

    void leereListeLeereDatei() {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("leer.csv"));
        QFile alt(pfad);
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write("vorher\r\n");
        alt.close();
        exportiereCsv(pfad, {});
        QCOMPARE(QFileInfo(pfad).size(), 0);
        QVERIFY(QFileInfo::exists(pfad));
    }

    void fehlgeschlagenerExportLaesstDateiGanz() {
        // The disk fills up while exporting: an error, and the file that was there stays.
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("liste.csv"));
        exportiereCsv(pfad, {testeintrag("Anna", 1, 1, u'C')});
        {
            const Dateigrenze grenze(10);
            QVERIFY(grenze.aktiv());
            QVERIFY_THROWS_EXCEPTION(Fehler, exportiereCsv(pfad, {testeintrag("Bert", 2, 2, u'C'),
                                                                  testeintrag("Carl", 3, 3, u'C')}));
        }
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Anna;1;1\r\n"));
    }

    void zurueckGelesen() {
        const Notenliste l{testeintrag("\xC4nne \xD6hl", 17.5, 2.3, u'C'),
                           testeintrag(" Bert", 7.0 / 3.0, 4.0 / 3.0, u'C'),
                           testeintrag("Carl", 0, 6, u'C'),
                           testeintrag("=HYPERLINK(\"x\")", 1, 1, u'C'),
                           testeintrag("'-1", 2, 2, u'C'),
                           testeintrag("@Dora", 3, 3, u'C')};
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("liste.csv"));
        exportiereCsv(pfad, l);

        const ImportEinstellungen e{.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0};
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(importiereDatei(a, pfad, trennerAus(QStringLiteral(";")), e).ergebnis,
                 ImportErgebnis::Gelesen);
        QCOMPARE(a.FEintraege.size(), l.size());
        for (qsizetype i = 0; i < l.size(); ++i) {
            QCOMPARE(a.FEintraege[i].nameBytes(), l[i].nameBytes());
            QCOMPARE(a.FEintraege[i].punkte, l[i].punkte); // fuzzy: 15 digits come back
            QCOMPARE(a.FEintraege[i].note, l[i].note);
            QCOMPARE(a.FEintraege[i].ects, u'A');
        }
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
