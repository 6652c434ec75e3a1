// SPDX-License-Identifier: GPL-3.0-or-later
// The report lines built headless: both layouts, the group shares and the points-to-grade table.
#include "Fehler.h"
#include "Fortschritt.h"
#include "Report.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QRegularExpression>
#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(TNotenskala)
Q_DECLARE_METATYPE(QList<double>)
Q_DECLARE_METATYPE(std::vector<Reportzeile>)

namespace {

// One line as "<style>|<text>": b bold, u underlined, bu both, nothing for plain.
QString markiert(const Reportzeile& z) {
    switch (z.stil) {
    case Stil::Fett:
        return QStringLiteral("b|") + z.text;
    case Stil::Unterstrichen:
        return QStringLiteral("u|") + z.text;
    case Stil::FettUnterstrichen:
        return QStringLiteral("bu|") + z.text;
    case Stil::Normal:
        break;
    }
    return u'|' + z.text;
}

QStringList markiert(const Reportzeilen& zeilen) {
    QStringList r;
    for (const Reportzeile& z : zeilen)
        r << markiert(z);
    return r;
}

QString n30(const char* name) {
    return QString::fromLatin1(name).leftJustified(30);
}

// The table lines after the heading, without styles.
QStringList tabelle(const TNotenskala& skala) {
    Reportzeilen zeilen;
    ReportNotenspiegel(skala, zeilen);
    QStringList r;
    for (std::size_t i = 2; i < zeilen.size(); ++i)
        r << zeilen[i].text;
    return r;
}

TNotenskala rohnoten(double nichtPunkte, double nichtNote, double bestPunkte, double bestNote,
                     double vollPunkte, double vollNote) {
    TNotenskala s;
    s.nichtbestandenpunkte = nichtPunkte;
    s.nichtbestandennote = nichtNote;
    s.bestandenpunkte = bestPunkte;
    s.bestandennote = bestNote;
    s.vollepunkte = vollPunkte;
    s.vollenote = vollNote;
    s.notenschluessel = 3; // no step: the raw grade
    s.runden = 3;
    return s;
}

// Four students, one with a name of the full 30 characters; grades 1, 4, 3, 6.
Auswertung vierStudenten() {
    Auswertung a;
    a.FEintraege = {testeintrag("Anna", 50, 1.0), testeintrag("J\xFCrgen", 12.25, 4.0),
                    testeintrag("Maximiliane-Friederike von Hoh", 30, 3.0), testeintrag("Bert", 0, 6.0)};
    return a;
}

// The summary lines of the groups A..F.
QStringList gruppenzeilen(const Reportzeilen& zeilen) {
    QStringList r;
    for (std::size_t i = 0; i < zeilen.size(); ++i)
        if (zeilen[i].text == QStringLiteral("ECTS Gruppen"))
            for (std::size_t j = i + 1; j < i + 7 && j < zeilen.size(); ++j)
                r << zeilen[j].text;
    return r;
}

QStringList inGebiet(QStringList zeilen, const QString& gebiet) {
    if (gebiet == QStringLiteral("en_US"))
        zeilen.replaceInStrings(QStringLiteral(","), QStringLiteral("."));
    return zeilen;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { zahltext::uebernehmeGebietsschema(QLocale("de_DE")); }

    void aufbau_data() {
        QTest::addColumn<QString>("gebiet");
        QTest::addColumn<bool>("mitKlassen");
        QTest::addColumn<QStringList>("zeilen"); // German separators; English swaps them

        const QStringList kopf{"b|Prüfungsergebnisse",
                               "|Anzahl der Noten:   4",
                               "|Durchschnitt:       3,5",
                               "|Standardabweichung: 2,1",
                               "|Bestanden:          3",
                               "|Durchgefallen:      1",
                               "|",
                               "b|Einzelergebnisse"};
        const QStringList spiegel{"|", "bu|Notenspiegel", "| 0,0 P  =  6,0"};
        const QStringList ohne =
            kopf +
            QStringList{"u|" + n30("Name") + "  Punkte  Note", "|" + n30("Anna") + ": 50,0  1,0",
                        "|" + QStringLiteral(u"Jürgen").leftJustified(30) + ": 12,3  4,0",
                        "|Maximiliane-Friederike von Hoh: 30,0  3,0", "|" + n30("Bert") + ": 0,0  6,0"} +
            spiegel;
        // 3,0 has no class: that student gets no line. The class of 4,0 has no letter.
        const QStringList mit =
            kopf +
            QStringList{"u|" + n30("Name") + " Punkte   Note   ECTS Gruppe",
                        "|" + n30("Anna") + " 50,0P   1,0:  A",
                        "|" + QStringLiteral(u"Jürgen").leftJustified(30) + " 12,3P   4,0:  ",
                        "|" + n30("Bert") + " 0,0P   6,0:  F",
                        "|",
                        "b|ECTS Gruppen",
                        "|A:   1 Studenten = 33,3%",
                        "|B:   0 Studenten = %",
                        "|C:   0 Studenten = %",
                        "|D:   0 Studenten = %",
                        "|E:  12 Studenten = 400%",
                        "|F:   1 Studenten = 25% aller Studenten"} +
            spiegel;
        for (const char* gebiet : {"de_DE", "en_US"}) {
            QTest::addRow("without classes, %s", gebiet) << gebiet << false << ohne;
            QTest::addRow("with classes, %s", gebiet) << gebiet << true << mit;
        }
    }
    void aufbau() {
        QFETCH(QString, gebiet);
        QFETCH(bool, mitKlassen);
        QFETCH(QStringList, zeilen);

        zahltext::uebernehmeGebietsschema(QLocale(gebiet));
        Auswertung a = vierStudenten();
        if (mitKlassen) {
            // A second class of 6,0 behind the first: the first one's letter counts.
            a.FKlassen = {{1, 1.0, u'A'}, {1, 4.0, 0}, {1, 6.0, u'F'}, {1, 6.0, u'E'}};
            a.FEctsAnzahl = {1, 0, 0, 0, 12, 1};
        }
        const Reportzeilen r = reportZeilen(a, rohnoten(0, 6, 25, 4, -1, 1), 4.0);
        QCOMPARE(markiert(r), inGebiet(zeilen, gebiet));
        QCOMPARE(a.FBestanden, 3);
        QCOMPARE(a.FGrenznote, 4.0);
    }

    // Grades a last bit apart are two classes; each student shows the letter of his own.
    void letzteStelleTrenntKlassen() {
        const double knapp = std::nextafter(2.0, 3.0);
        Auswertung a;
        a.FEintraege = {testeintrag("Anna", 40, knapp), testeintrag("Bert", 40, 2.0)};
        a.FKlassen = {{1, 2.0, u'A'}, {1, knapp, u'B'}};
        Reportzeilen r;
        ReportEinzelergebnisseEcts(a, r);
        QCOMPARE(r.at(1).text, n30("Anna") + " 40,0P   2,0:  B");
        QCOMPARE(r.at(2).text, n30("Bert") + " 40,0P   2,0:  A");
    }

    // The shares as the class window forms them: count * 100 / passed (A-E), / all (F).
    void anteile_data() {
        QTest::addColumn<QString>("gebiet");
        QTest::addColumn<int>("bestanden");
        QTest::addColumn<int>("durchgefallen");
        QTest::addColumn<QList<int>>("gruppen"); // A..F
        QTest::addColumn<QStringList>("zeilen");

        // 21 / 80 * 100 lands a hair below 26,25 and would print 26,2.
        const QStringList einundzwanzig{"A:  21 Studenten = 26,3%", "B:  59 Studenten = 73,8%",
                                        "C:   0 Studenten = %",     "D:   0 Studenten = %",
                                        "E:   0 Studenten = %",     "F:   0 Studenten = % aller Studenten"};
        const QStringList fAnteil{"A:  59 Studenten = 100%", "B:   0 Studenten = %",
                                  "C:   0 Studenten = %",    "D:   0 Studenten = %",
                                  "E:   0 Studenten = %",    "F:  21 Studenten = 26,3% aller Studenten"};
        const QStringList niemand{
            "A:   0 Studenten = ", "B:   0 Studenten = ", "C:   0 Studenten = ",
            "D:   0 Studenten = ", "E:   0 Studenten = ", "F:   3 Studenten = 100% aller Studenten"};
        for (const char* gebiet : {"de_DE", "en_US"}) {
            QTest::addRow("21 of 80 passed, %s", gebiet)
                << gebiet << 80 << 0 << QList<int>{21, 59, 0, 0, 0, 0} << einundzwanzig;
            QTest::addRow("21 of 80 failed, %s", gebiet)
                << gebiet << 59 << 21 << QList<int>{59, 0, 0, 0, 0, 21} << fAnteil;
        }
        QTest::newRow("nobody passed") << "de_DE" << 0 << 3 << QList<int>{0, 0, 0, 0, 0, 3} << niemand;
    }
    void anteile() {
        QFETCH(QString, gebiet);
        QFETCH(int, bestanden);
        QFETCH(int, durchgefallen);
        QFETCH(QList<int>, gruppen);
        QFETCH(QStringList, zeilen);

        zahltext::uebernehmeGebietsschema(QLocale(gebiet));
        Auswertung a;
        for (int i = 0; i < bestanden + durchgefallen; ++i)
            a.FEintraege.push_back(testeintrag("Student", 30, i < bestanden ? 2.0 : 5.0));
        a.FKlassen = {{bestanden, 2.0, u'A'}, {durchgefallen, 5.0, u'F'}};
        std::copy(gruppen.cbegin(), gruppen.cend(), a.FEctsAnzahl.begin());
        QCOMPARE(gruppenzeilen(reportZeilen(a, rohnoten(0, 6, 25, 4, -1, 1), 4.0)), inGebiet(zeilen, gebiet));
    }

    void notenspiegel_data() {
        QTest::addColumn<QString>("gebiet");
        QTest::addColumn<TNotenskala>("skala");
        QTest::addColumn<QStringList>("zeilen");

        // The dialog's preset scale, thirds rounded to the worse grade: the first line stands at
        // 0 points, whose grade differs from the start value 0.
        const QStringList vorgabe{" 0,0 P  =  6,3", " 0,5 P  =  6,0", " 4,0 P  =  5,7", " 9,0 P  =  5,3",
                                  "13,0 P  =  5,0", "16,5 P  =  4,7", "21,5 P  =  4,3", "25,5 P  =  4,0",
                                  "28,0 P  =  3,7", "31,0 P  =  3,3", "33,5 P  =  3,0", "36,0 P  =  2,7",
                                  "39,5 P  =  2,3", "42,0 P  =  2,0", "44,5 P  =  1,7", "48,0 P  =  1,3"};
        for (const char* gebiet : {"de_DE", "en_US"})
            QTest::addRow("preset scale 0..50, %s", gebiet) << gebiet << TNotenskala{} << vorgabe;
        QTest::newRow("100 points in full")
            << "de_DE" << rohnoten(99, 5, 99.5, 3, 100, 1)
            << QStringList{"99,0 P  =  5,0", "99,5 P  =  3,0", "100,0 P  =  1,0"};
        QTest::newRow("maximum below minimum: one line")
            << "de_DE" << rohnoten(30, 6, 25, 4, 20, 1) << QStringList{"30,0 P  =  7,0"};
        // Raw grades falling by 0,05 per half point. 5,75 and 5,25 are exact ties: 57,5 goes to 58
        // (no line after 5,8), 52,5 to 52, so 7,5 P starts the tenth 5,2 printed as 5,3 and 8,0 P
        // gives no line. 1,5 P has 5,8499...: printed and compared as 5,8.
        QTest::newRow("raw grades on x,x5: halves to even")
            << "de_DE" << rohnoten(0, 6, 25, 3.5, 10, 5)
            << QStringList{" 0,0 P  =  6,0", " 1,0 P  =  5,9", " 1,5 P  =  5,8", " 3,0 P  =  5,7",
                           " 4,0 P  =  5,6", " 4,5 P  =  5,5", " 6,0 P  =  5,4", " 6,5 P  =  5,3",
                           " 7,5 P  =  5,3", " 9,0 P  =  5,1", " 9,5 P  =  5,0"};
    }
    void notenspiegel() {
        QFETCH(QString, gebiet);
        QFETCH(TNotenskala, skala);
        QFETCH(QStringList, zeilen);

        zahltext::uebernehmeGebietsschema(QLocale(gebiet));
        QCOMPARE(tabelle(skala), inGebiet(zeilen, gebiet));
    }

    // A range that would walk for ever (or nearly) is refused before the first step.
    void notenspiegelZuGross_data() {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::newRow("a million points") << 0.0 << 1e6;
        QTest::newRow("p + 0,5 rounds back to p") << 9007199254740992.0 << 9007199254740994.0;
    }
    void notenspiegelZuGross() {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        Reportzeilen r;
        try {
            ReportNotenspiegel(rohnoten(minimum, 6, (minimum + maximum) / 2, 4, maximum, 1), r);
            QFAIL("no fault raised");
        } catch (const KeineAuswertung&) {
            QFAIL("not a statistics fault");
        } catch (const Fehler& f) {
            QVERIFY(f.text().startsWith(QStringLiteral("Der Notenspiegel umfasst zu viele Punktzahlen")));
        }
        QCOMPARE(r.size(), std::size_t(2)); // the heading only
    }

    // Type 7: h = (n - 1) * q / 4, interpolated between the neighbours of floor(h).
    void quartil_data() {
        QTest::addColumn<QList<double>>("werte");    // ascending
        QTest::addColumn<QList<double>>("quartile"); // lower, median, upper

        QTest::newRow("odd count") << QList<double>{1, 2, 3, 4, 5} << QList<double>{2, 3, 4};
        QTest::newRow("even count") << QList<double>{1, 2, 3, 4} << QList<double>{1.75, 2.5, 3.25};
        QTest::newRow("one value") << QList<double>{7} << QList<double>{7, 7, 7};
        QTest::newRow("ties") << QList<double>{2, 2, 2, 9} << QList<double>{2, 2, 3.75};
        // The step between the two is beyond the largest double; formed in extended it is not.
        QTest::newRow("step beyond double")
            << QList<double>{-1.5e308, 1.5e308} << QList<double>{-7.5e307, 0, 7.5e307};
    }
    void quartil() {
        QFETCH(QList<double>, werte);
        QFETCH(QList<double>, quartile);
        const std::vector<double> v(werte.cbegin(), werte.cend());
        for (int q = 1; q <= 3; ++q)
            QVERIFY2(kennzahlen::quartil(v, q) == quartile[q - 1], qPrintable(QString::number(q)));
    }

    void prozent_data() {
        QTest::addColumn<qint64>("anzahl");
        QTest::addColumn<qint64>("nenner");
        QTest::addColumn<QString>("text");
        QTest::newRow("21 of 80") << qint64(21) << qint64(80)
                                  << "26,3%"; // 26,25 exactly, though not in binary
        QTest::newRow("none") << qint64(0) << qint64(5) << "0,0%";
        QTest::newRow("all") << qint64(3) << qint64(3) << "100,0%";
        QTest::newRow("two thirds") << qint64(2) << qint64(3) << "66,7%";
        QTest::newRow("no denominator") << qint64(1) << qint64(0) << "";
    }
    void prozent() {
        QFETCH(qint64, anzahl);
        QFETCH(qint64, nenner);
        QFETCH(QString, text);
        QCOMPARE(kennzahlen::prozent(anzahl, nenner), text);
    }

    // A NaN has no place in the order the quartiles are read from.
    void weitereKennzahlenOhneNaN_data() {
        QTest::addColumn<double>("punkte");
        QTest::addColumn<double>("note");
        QTest::newRow("points") << std::nan("") << 2.0;
        QTest::newRow("grade") << 20.0 << std::nan("");
    }
    void weitereKennzahlenOhneNaN() {
        QFETCH(double, punkte);
        QFETCH(double, note);
        Auswertung a;
        a.FEintraege.push_back(testeintrag("x", 10, 1));
        a.FEintraege.push_back(testeintrag("y", punkte, note));
        Reportzeilen r;
        try {
            ReportWeitereKennzahlen(a, false, r);
            QFAIL("no fault raised");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), fehler::UngueltigeOperation);
        }
    }

    // Seven students, five passed: the section after the table, with and without small groups.
    // Hidden, no figure may tell a count below 3: not a count, a share, a step of the cumulative
    // share, nor the pass rate beside the number of students.
    void weitereKennzahlen_data() {
        QTest::addColumn<bool>("kleineAusblenden");
        QTest::addColumn<QString>("quote");
        QTest::addColumn<QString>("kopf");
        QTest::addColumn<QStringList>("tabelle"); // the lines after the grade table's header

        QTest::newRow("all counts") << false << "Bestehensquote:      71,4%"
                                    << "Note  Anzahl   Anteil  kumuliert"
                                    << QStringList{" 1,0       3    60,0%      60,0%",
                                                   " 2,0       1    20,0%      80,0%",
                                                   " 3,0       1    20,0%     100,0%", " 5,0       1",
                                                   " 6,0       1"};
        QTest::newRow("small groups hidden")
            << true << "Bestehensquote:      ausgeblendet"
            << "Note       Anzahl   Anteil  kumuliert"
            << QStringList{" 1,0\u20133,0        5   100,0%     100,0%", " 5,0\u20136,0      < 3"};
    }
    void weitereKennzahlen() {
        QFETCH(bool, kleineAusblenden);
        QFETCH(QString, quote);
        QFETCH(QString, kopf);
        QFETCH(QStringList, tabelle);

        Auswertung a;
        const std::pair<double, double> werte[] = {{45, 1}, {0, 6},  {30, 2}, {50, 1},
                                                   {10, 5}, {20, 3}, {40, 1}};
        for (const auto& [punkte, note] : werte)
            a.FEintraege.push_back(testeintrag("x", punkte, note));
        const Reportzeilen ohne = reportZeilen(a, rohnoten(0, 6, 25, 4, -1, 1), 4.0);
        const Reportzeilen mit = reportZeilen(a, rohnoten(0, 6, 25, 4, -1, 1), 4.0, {true, kleineAusblenden});
        QVERIFY(std::equal(ohne.begin(), ohne.end(), mit.begin()));

        const QStringList abschnitt =
            markiert(Reportzeilen(mit.begin() + static_cast<std::ptrdiff_t>(ohne.size()), mit.end()));
        const QStringList erwartet =
            QStringList{"|",
                        "bu|Weitere Kennzahlen",
                        "u|                    Punkte    Note",
                        "|1. Quartil:           15,0     1,0",
                        "|Median:               30,0     2,0",
                        "|3. Quartil:           42,5     4,0",
                        "|",
                        "|" + quote,
                        "|",
                        "b|Notenverteilung",
                        "u|" + kopf} +
            tabelle.replaceInStrings(QRegularExpression("^"), "|") +
            QStringList{"|Anteil und kumuliert: von allen, die bestanden haben (ECTS-Notentabelle)"};
        QCOMPARE(abschnitt, erwartet);
    }

    // Without the section the small-groups box changes nothing.
    void kleineGruppenAllein() {
        Auswertung a = vierStudenten();
        const Reportzeilen ohne = reportZeilen(a, TNotenskala{}, 4.0);
        QCOMPARE(reportZeilen(a, TNotenskala{}, 4.0, {false, true}), ohne);
    }

    // The lines are kept one byte a character where they can be, two where they must: every
    // line comes back as it went in, whatever came before it.
    void zeilenBehalten_data() {
        QTest::addColumn<std::vector<Reportzeile>>("zeilen");
        QTest::newRow("Latin-1") << std::vector<Reportzeile>{{Stil::Fett, "Prüfung"},
                                                             {Stil::Normal, "Zoë ß"}};
        QTest::newRow("UTF-16 after an odd length")
            << std::vector<Reportzeile>{{Stil::Normal, "abc"},
                                        {Stil::Unterstrichen, "5 €"},
                                        {Stil::Normal, "ü"},
                                        {Stil::FettUnterstrichen, "Łódź"}};
        QTest::newRow("empty lines") << std::vector<Reportzeile>{
            {Stil::Normal, ""}, {Stil::Fett, ""}, {Stil::Normal, "x"}, {Stil::Normal, ""}};
        QTest::newRow("lone surrogate")
            << std::vector<Reportzeile>{{Stil::Normal, "a"}, {Stil::Normal, QString(QChar(0xD800)) + u'b'}};
    }
    void zeilenBehalten() {
        QFETCH(std::vector<Reportzeile>, zeilen);
        Reportzeilen r;
        for (const Reportzeile& z : zeilen)
            r.push_back(z);
        QCOMPARE(r.size(), zeilen.size());
        for (std::size_t i = 0; i < zeilen.size(); ++i) {
            QCOMPARE(r[i].text, zeilen[i].text);
            QCOMPARE(r.stil(i), zeilen[i].stil);
        }
        QCOMPARE(std::vector<Reportzeile>(r.begin(), r.end()), zeilen);
        QVERIFY(Reportzeilen(r.begin(), r.end()) == r);
        QVERIFY(!(Reportzeilen(r.begin(), r.end() - 1) == r));
    }

    // A student whose grade has no class gets no line, wherever he stands; the others keep
    // their order and letters.
    void ectsOhneKlasse_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QStringList>("namen"); // of the lines, in order
        QTest::newRow("all have one") << QList<double>{1, 2, 1} << QStringList{"a A", "b B", "c A"};
        QTest::newRow("the first has none") << QList<double>{3, 2, 1} << QStringList{"b B", "c A"};
        QTest::newRow("one in the middle") << QList<double>{1, 3, 2} << QStringList{"a A", "c B"};
        QTest::newRow("the last has none") << QList<double>{1, 2, 3} << QStringList{"a A", "b B"};
        QTest::newRow("two gaps") << QList<double>{3, 1, 3, 2} << QStringList{"b A", "d B"};
        QTest::newRow("none has one") << QList<double>{3, 4, 5} << QStringList{};
    }
    void ectsOhneKlasse() {
        QFETCH(QList<double>, noten);
        QFETCH(QStringList, namen);
        Auswertung a;
        for (qsizetype i = 0; i < noten.size(); ++i)
            a.FEintraege.append(testeintrag(QByteArray(1, char('a' + i)), 10, noten[i]));
        a.FKlassen = {{1, 1.0, u'A'}, {1, 2.0, u'B'}};
        Reportzeilen r;
        ReportEinzelergebnisseEcts(a, r);
        QStringList gelesen;
        for (std::size_t i = 1; i < r.size() && !r[i].text.isEmpty(); ++i)
            gelesen << r[i].text.left(1) + u' ' + r[i].text.right(1);
        QCOMPARE(gelesen, namen);
    }

    // A cancel on the way ends the report with fortschritt::Abgebrochen; the list stays.
    void abbruch() {
        Auswertung a;
        for (int i = 0; i < 10000; ++i)
            a.FEintraege.append(testeintrag("Name", i % 50, 1 + i % 5));
        const Notenliste vorher = a.FEintraege; // shares the entries while nothing writes them
        fortschritt::Stand stand;
        stand.abbrechen = true;
        const fortschritt::Bindung bindung(stand);
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, reportZeilen(a, TNotenskala{}, 4.0));
        QVERIFY(a.FEintraege.constData() == vorher.constData());
    }

    void statistikFehlt_data() {
        QTest::addColumn<int>("anzahl");
        QTest::newRow("empty list") << 0;
        QTest::newRow("one entry") << 1;
    }
    void statistikFehlt() {
        QFETCH(int, anzahl);
        Auswertung a;
        for (int i = 0; i < anzahl; ++i)
            a.FEintraege.push_back(testeintrag("Anna", 30, 2.0));
        a.FBestanden = 7;
        try {
            reportZeilen(a, TNotenskala{}, 4.0);
            QFAIL("no fault raised");
        } catch (const KeineAuswertung& f) {
            QCOMPARE(f.text(),
                     QStringLiteral(
                         "Bitte legen sie erst noch die Noten fest. Sonst ist keine Auswrtung möglich!"));
        }
        QCOMPARE(a.FBestanden, 7); // BestandeneZaehlen never ran
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
