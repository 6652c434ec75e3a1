// SPDX-License-Identifier: GPL-3.0-or-later
// Grade classes, the class grid's texts, ECTS letters, group shares and histogram ranges.
#include "Histogramm.h"
#include "Klassen.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(QList<double>)
Q_DECLARE_METATYPE(QList<int>)

namespace {

Auswertung mitNoten(const QList<double>& noten) {
    Auswertung a;
    for (double n : noten)
        a.FEintraege.push_back(testeintrag("x", 0, n));
    a.OriginalMerken();
    return a;
}

std::vector<TNotenklasse> klassenMit(const QList<int>& anzahlen) {
    std::vector<TNotenklasse> k;
    double note = 1;
    for (int n : anzahlen)
        k.push_back({n, note++, 0});
    return k;
}

QString genau(double x) {
    return QString::number(x, 'g', 17);
}

// Columns 1 to 4 of every class row, "|"-joined, rows joined by " / ".
QString zeilenText(const Klassenraster& r) {
    QStringList zeilen;
    for (int z = 1; z < r.zeilen(); ++z) {
        QStringList zellen;
        for (int s = 0; s <= Klassenraster::Gruppe; ++s)
            zellen << r.text(s, z);
        zeilen << zellen.join(u'|');
    }
    return zeilen.join(QStringLiteral(" / "));
}

} // namespace

class TestKlassen : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    void klassenBilden_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QString>("klassen"); // count x grade, ascending

        QTest::newRow("leer") << QList<double>{} << "";
        QTest::newRow("ungenotet") << QList<double>{0, 0, 0} << "3x0";
        QTest::newRow("unsortiert") << QList<double>{2.3, 1, 2.3, 4, 1} << "2x1 2x2.2999999999999998 1x4";
        QTest::newRow("ein Bit auseinander") << QList<double>{2.3, std::nextafter(2.3, 3.0), 2.3}
                                             << "2x2.2999999999999998 1x2.3000000000000003";
    }
    void klassenBilden() {
        QFETCH(QList<double>, noten);
        QFETCH(QString, klassen);
        Auswertung a = mitNoten(noten);
        a.FKlassen = {{7, 9.0, u'A'}}; // rebuilt, not added to
        KlassenBilden(a);
        QStringList ist;
        for (const TNotenklasse& k : a.FKlassen) {
            ist << QString::number(k.anzahl) + u'x' + genau(k.note);
            QCOMPARE(k.ects, char16_t(0));
        }
        QCOMPARE(ist.join(u' '), klassen);
        for (qsizetype i = 1; i < a.FEintraege.size(); ++i)
            QVERIFY(a.FEintraege[i - 1].note <= a.FEintraege[i].note);
    }

    void anteilText_data() {
        QTest::addColumn<qint64>("anzahl");
        QTest::addColumn<qint64>("nenner");
        QTest::addColumn<QString>("text");
        QTest::newRow("21 von 80") << qint64(21) << qint64(80) << "26,3%";
        QTest::newRow("ein Drittel") << qint64(1) << qint64(3) << "33,3%";
        QTest::newRow("alle") << qint64(9) << qint64(9) << "100%";
        QTest::newRow("keiner") << qint64(0) << qint64(5) << "%";
        QTest::newRow("halb") << qint64(1) << qint64(2) << "50%";
        // 12,05 exactly: the tie goes up, though 12.05 in binary lies below it.
        QTest::newRow("Gleichstand") << qint64(241) << qint64(2000) << "12,1%";
        QTest::newRow("unter einem Zehntel") << qint64(1) << qint64(3000) << "%";
        QTest::newRow("niemand bestanden") << qint64(4) << qint64(0) << "";
    }
    void anteilText() {
        QFETCH(qint64, anzahl);
        QFETCH(qint64, nenner);
        QFETCH(QString, text);
        QCOMPARE(::anteilText(anzahl, nenner), text);
    }

    void rasterFuellen_data() {
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<double>("grenznote");
        QTest::addColumn<QString>("zeilen");

        QTest::newRow("ungenotet") << QList<double>{0, 0} << 4.0 << "1||2|100%|A";
        QTest::newRow("alle durchgefallen")
            << QList<double>{5, 6, 4.3} << 4.0 << "1|4,3|1||A / 2|5|1||F / 3|6|1||F";
        QTest::newRow("ein Drittel") << QList<double>{1, 2.3, 3, 5} << 4.0
                                     << "1|1|1|33,3%|A / 2|2,3|1|33,3%| / 3|3|1|33,3%| / 4|5|1|33,3%|F";
        QTest::newRow("halbe Note") << QList<double>{0.5} << 4.0 << "1|,5|1|100%|A";
        QTest::newRow("leer") << QList<double>{} << 4.0 << "";
    }
    void rasterFuellen() {
        QFETCH(QList<double>, noten);
        QFETCH(double, grenznote);
        QFETCH(QString, zeilen);
        Auswertung a = mitNoten(noten);
        BestandeneZaehlenFuer(a, grenznote);
        KlassenBilden(a);
        Klassenraster r;
        klassen::rasterFuellen(r, a);
        QCOMPARE(r.zeilen(), static_cast<int>(a.FKlassen.size()) + 1);
        QCOMPARE(r.text(Klassenraster::Gruppe, 0), QStringLiteral("ECTS Gruppe (A-F)"));
        QCOMPARE(zeilenText(r), zeilen);
    }

    // Letters typed earlier stay where the classification writes none.
    void rasterBehaeltBuchstaben() {
        Auswertung a = mitNoten({1, 2, 3, 5});
        BestandeneZaehlenFuer(a, 4.0);
        KlassenBilden(a);
        Klassenraster r;
        r.setzeZeilen(5);
        for (int z = 1; z <= 4; ++z)
            r.setzeText(Klassenraster::Gruppe, z, QStringLiteral("C"));
        r.setzeText(Klassenraster::Gruppenteil, 2, QStringLiteral("alt"));
        klassen::rasterFuellen(r, a);
        QCOMPARE(r.text(Klassenraster::Gruppe, 1), QStringLiteral("A"));
        QCOMPARE(r.text(Klassenraster::Gruppe, 2), QStringLiteral("C"));
        QCOMPARE(r.text(Klassenraster::Gruppe, 4), QStringLiteral("F"));
        QCOMPARE(r.text(Klassenraster::Gruppenteil, 2), QStringLiteral("alt"));
    }

    void buchstaben_data() {
        QTest::addColumn<QStringList>("zellen");
        QTest::addColumn<QList<int>>("anzahlen");
        QTest::addColumn<QString>("buchstaben");
        QTest::addColumn<QList<int>>("ects"); // A..F

        QTest::newRow("klein") << QStringList{QStringLiteral("b")} << QList<int>{2} << "B"
                               << QList<int>{0, 2, 0, 0, 0, 0};
        QTest::newRow("Leerzeichen") << QStringList{QStringLiteral(" c \t")} << QList<int>{1} << "C"
                                     << QList<int>{0, 0, 1, 0, 0, 0};
        QTest::newRow("erstes Zeichen")
            << QStringList{QStringLiteral("Bx")} << QList<int>{1} << "B" << QList<int>{0, 1, 0, 0, 0, 0};
        QTest::newRow("Gruppen fortgesetzt")
            << QStringList{QStringLiteral("A"), {}, QStringLiteral("B"), {}, QStringLiteral(" ")}
            << QList<int>{3, 2, 4, 1, 5} << "AABBB" << QList<int>{5, 10, 0, 0, 0, 0};
        QTest::newRow("leere erste Zeile") << QStringList{{}, QStringLiteral("f")} << QList<int>{1, 2} << "AF"
                                           << QList<int>{1, 0, 0, 0, 0, 2};
        QTest::newRow("außerhalb A-F")
            << QStringList{QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("ä")}
            << QList<int>{1, 2, 3} << "AXä" << QList<int>{1, 0, 0, 0, 0, 0};
    }
    void buchstaben() {
        QFETCH(QStringList, zellen);
        QFETCH(QList<int>, anzahlen);
        QFETCH(QString, buchstaben);
        QFETCH(QList<int>, ects);

        Auswertung a;
        a.FKlassen = klassenMit(anzahlen);
        a.FEctsAnzahl = {9, 9, 9, 9, 9, 9};
        Klassenraster r;
        r.setzeZeilen(static_cast<int>(zellen.size()) + 1);
        for (qsizetype i = 0; i < zellen.size(); ++i)
            r.setzeText(Klassenraster::Gruppe, static_cast<int>(i) + 1, zellen[i]);
        klassen::buchstabenLesen(r, a);
        klassen::ectsZaehlen(a);
        QString ist;
        for (const TNotenklasse& k : a.FKlassen)
            ist += QChar(k.ects);
        QCOMPARE(ist, buchstaben);
        QCOMPARE(QList<int>(a.FEctsAnzahl.begin(), a.FEctsAnzahl.end()), ects);
    }

    // Entries take their class's letter by exact grade; one without a class keeps its letter.
    void buchstabenVerteilen() {
        const double knapp = std::nextafter(2.0, 3.0);
        // A grade above every class in the middle must not end the look-ups after it.
        Auswertung a = mitNoten({2.0, 7.0, knapp, 1.0, 2.0});
        a.FKlassen = {{1, 1.0, u'A'}, {2, 2.0, u'B'}, {1, knapp, u'C'}};
        a.FEintraege[1].ects = u'Z';
        klassen::buchstabenVerteilen(a);
        QString ist;
        for (const TNotenEintrag& e : std::as_const(a.FEintraege))
            ist += QChar(e.ects);
        QCOMPARE(ist, QStringLiteral("BZCAB"));
    }

    // The look-up the letters and the report share: the first class of exactly the grade asked
    // for, whatever order the grades come in and wherever the last look-up left off.
    void ersteKlasse_data() {
        QTest::addColumn<QList<double>>("klassen"); // grades, in class order
        QTest::addColumn<QList<double>>("gefragt");
        QTest::addColumn<QList<int>>("gefunden"); // class index, -1 for none

        const double nan = std::nan("");
        QTest::newRow("aufsteigend") << QList<double>{1, 2, 3} << QList<double>{1, 1, 2, 3}
                                     << QList<int>{0, 0, 1, 2};
        QTest::newRow("durcheinander")
            << QList<double>{1, 2, 3} << QList<double>{3, 1, 2, 1} << QList<int>{2, 0, 1, 0};
        QTest::newRow("ohne Klasse dazwischen")
            << QList<double>{1, 2, 3} << QList<double>{0.5, 1.5, 2, 3.5, 3} << QList<int>{-1, -1, 1, -1, 2};
        // A NaN entry between equal grades leaves two classes of one grade: the first one counts.
        QTest::newRow("zweimal dieselbe Note, gesucht")
            << QList<double>{2, nan, 2, 3} << QList<double>{3, 2, 3, 2} << QList<int>{3, 0, 3, 0};
        QTest::newRow("zweimal dieselbe Note, gleich danach")
            << QList<double>{1, 2, nan, 2} << QList<double>{1, 2, 2} << QList<int>{0, 1, 1};
        QTest::newRow("zweimal dieselbe Note, nach einer ohne Klasse")
            << QList<double>{1, nan, 1, 2} << QList<double>{0.5, 1, 1.5, 1} << QList<int>{-1, 0, -1, 0};
        QTest::newRow("Klassen nicht aufsteigend")
            << QList<double>{3, nan, 1, 3} << QList<double>{1, 3, 3} << QList<int>{2, 0, 0};
        QTest::newRow("0 und -0") << QList<double>{-0.0, 1} << QList<double>{0.0, -0.0, 1}
                                  << QList<int>{0, 0, 1};
        QTest::newRow("NaN findet keine")
            << QList<double>{nan, 1} << QList<double>{nan, 1, nan} << QList<int>{-1, 1, -1};
        QTest::newRow("keine Klassen") << QList<double>{} << QList<double>{1} << QList<int>{-1};
    }
    void ersteKlasse() {
        QFETCH(QList<double>, klassen);
        QFETCH(QList<double>, gefragt);
        QFETCH(QList<int>, gefunden);
        std::vector<TNotenklasse> k;
        for (double note : klassen)
            k.push_back({1, note, 0});
        ErsteKlasse erste(k);
        QList<int> ist;
        for (double note : gefragt) {
            const TNotenklasse* t = erste.zu(note);
            ist.append(t ? static_cast<int>(t - k.data()) : -1);
        }
        QCOMPARE(ist, gefunden);
    }

    void gruppenanteile_data() {
        QTest::addColumn<QStringList>("gruppen");
        QTest::addColumn<QList<int>>("anzahlen");
        QTest::addColumn<int>("bestanden");
        QTest::addColumn<QStringList>("anteile");

        const QString nb = klassen::kNichtBeruecksichtigt;
        QTest::newRow("A leer B F") << QStringList{"A", "", "B", "F"} << QList<int>{3, 2, 4, 1} << 9
                                    << QStringList{"55,6%", "", "44,4%", nb};
        QTest::newRow("b unter B") << QStringList{"B", "b", "B"} << QList<int>{1, 2, 3} << 6
                                   << QStringList{"16,7%", "33,3%", "50%"};
        QTest::newRow("f klein, F-Gruppe fortgesetzt")
            << QStringList{"A", "f", ""} << QList<int>{1, 1, 1} << 1 << QStringList{"100%", nb, ""};
        QTest::newRow("Klassen über der ersten Gruppe")
            << QStringList{"", "A"} << QList<int>{2, 3} << 5 << QStringList{"", "60%"};
        QTest::newRow("niemand bestanden")
            << QStringList{"A", "", "F"} << QList<int>{1, 1, 1} << 0 << QStringList{"", "", nb};
        QTest::newRow("mehr Zeilen als Klassen")
            << QStringList{"A", "B"} << QList<int>{4} << 4 << QStringList{"100%", ""};
    }
    void gruppenanteile() {
        QFETCH(QStringList, gruppen);
        QFETCH(QList<int>, anzahlen);
        QFETCH(int, bestanden);
        QFETCH(QStringList, anteile);
        QCOMPARE(klassen::gruppenanteile(gruppen, klassenMit(anzahlen), bestanden), anteile);
    }

    // Classes of grades 1, 2, 3, ... with these counts; those up to the threshold passed.
    void vorschlag_data() {
        QTest::addColumn<QList<int>>("anzahlen");
        QTest::addColumn<double>("grenznote");
        QTest::addColumn<QString>("zellen"); // the group column, "|"-joined

        QTest::newRow("zehn einzelne")
            << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << 10.0 << "A|B|||C|||D||E";
        // 2, 5, 6, 5, 2 of 20: each class starts right on a border and so begins the next group.
        QTest::newRow("Start auf der Grenze") << QList<int>{2, 5, 6, 5, 2} << 5.0 << "A|B|C|D|E";
        // The second student stands at 5 % of 20, still inside the best 10 %.
        QTest::newRow("knapp vor der Grenze") << QList<int>{1, 1, 18} << 3.0 << "A||B";
        // One class of 15 spans B and C: whole, it goes where its first student stands.
        QTest::newRow("große Klasse über Grenzen") << QList<int>{1, 15, 4} << 3.0 << "A||D";
        QTest::newRow("niemand bestanden") << QList<int>{2, 3} << 0.5 << "F|F";
        QTest::newRow("eine Klasse") << QList<int>{7} << 4.0 << "A";
        QTest::newRow("eine Klasse durchgefallen") << QList<int>{7} << 0.5 << "F";
        QTest::newRow("mehr Klassen als Gruppen")
            << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << 12.0 << "A||B|||C|||D|||E|F|F";
        QTest::newRow("Note gleich Grenznote") << QList<int>{9, 1} << 2.0 << "A|E";
        QTest::newRow("keine Klassen") << QList<int>{} << 4.0 << "";
    }
    void vorschlag() {
        QFETCH(QList<int>, anzahlen);
        QFETCH(double, grenznote);
        QFETCH(QString, zellen);
        QCOMPARE(klassen::vorschlag(klassenMit(anzahlen), grenznote).join(u'|'), zellen);
    }

    // A grade that compares with nothing counts as failed; the group after it names its letter
    // again, so reading back doesn't carry the F on.
    void vorschlagNachF() {
        std::vector<TNotenklasse> k = klassenMit({1, 1, 20});
        k[1].note = std::nan("");
        QCOMPARE(klassen::vorschlag(k, 9.0).join(u'|'), QStringLiteral("A|F|A"));
    }

    // The suggestion replaces every group cell, typed letters too, and the shares follow at once.
    void vorschlagSetzen() {
        Auswertung a = mitNoten({1, 1, 2, 3, 5});
        BestandeneZaehlenFuer(a, 4.0);
        KlassenBilden(a);
        Klassenraster r;
        klassen::rasterFuellen(r, a);
        r.setzeText(Klassenraster::Gruppe, 2, QStringLiteral("x"));
        r.setzeText(Klassenraster::Gruppenteil, 3, QStringLiteral("alt"));
        klassen::vorschlagSetzen(r, a);
        QStringList gruppen, anteile;
        for (int z = 1; z < r.zeilen(); ++z) {
            gruppen << r.text(Klassenraster::Gruppe, z);
            anteile << r.text(Klassenraster::Gruppenteil, z);
        }
        QCOMPARE(gruppen, (QStringList{"A", "C", "D", "F"}));
        QCOMPARE(anteile, (QStringList{"50%", "25%", "25%", klassen::kNichtBeruecksichtigt}));
    }

    // What the class window leaves behind reaches the classes, the counters, the sorted list and,
    // by name, the list in the order it came in.
    void einteilungUebernehmen_data() {
        QTest::addColumn<QStringList>("zellen"); // group column, classes 1.0, 2.0, 5.0
        QTest::addColumn<QString>("klassen");
        QTest::addColumn<QString>("original"); // Cem, Anna, Bert, Dora
        QTest::addColumn<QList<int>>("ects");  // A..F

        QTest::newRow("wie vorgefüllt") << QStringList{"A", "", "F"} << "AAF"
                                        << "AAAF" << QList<int>{3, 0, 0, 0, 0, 1};
        QTest::newRow("B getippt") << QStringList{"A", " b", "F"} << "ABF"
                                   << "BABF" << QList<int>{1, 2, 0, 0, 0, 1};
        QTest::newRow("F überschrieben, erste Zeile leer") << QStringList{"", "", "c"} << "AAC"
                                                           << "AAAC" << QList<int>{3, 0, 1, 0, 0, 0};
    }
    void einteilungUebernehmen() {
        QFETCH(QStringList, zellen);
        QFETCH(QString, klassen);
        QFETCH(QString, original);
        QFETCH(QList<int>, ects);

        Auswertung a;
        a.FEintraege = {testeintrag("Cem", 0, 2.0), testeintrag("Anna", 0, 1.0), testeintrag("Bert", 0, 2.0),
                        testeintrag("Dora", 0, 5.0)};
        a.OriginalMerken();
        a.FEctsAnzahl = {9, 9, 9, 9, 9, 9};
        BestandeneZaehlenFuer(a, 4.0);
        KlassenBilden(a);
        Klassenraster r;
        klassen::rasterFuellen(r, a);
        for (qsizetype i = 0; i < zellen.size(); ++i)
            r.setzeText(Klassenraster::Gruppe, static_cast<int>(i) + 1, zellen[i]);

        klassen::einteilungUebernehmen(r, a);
        QString ist;
        for (const TNotenklasse& k : a.FKlassen)
            ist += QChar(k.ects);
        QCOMPARE(ist, klassen);
        QCOMPARE(QList<int>(a.FEctsAnzahl.begin(), a.FEctsAnzahl.end()), ects);
        QStringList eintraege, zurueck;
        for (const TNotenEintrag& e : std::as_const(a.FEintraege))
            eintraege << e.nameText() + u'=' + QChar(e.ects);
        QCOMPARE(eintraege, (QStringList{"Anna=" + klassen.left(1), "Cem=" + klassen.mid(1, 1),
                                         "Bert=" + klassen.mid(1, 1), "Dora=" + klassen.right(1)}));
        for (const TNotenEintrag& e : std::as_const(a.FOriginal))
            zurueck << QString(QChar(e.ects));
        QCOMPARE(zurueck.join(QString()), original);

        // The histogram builds the classes again: the report still finds the letters in them.
        KlassenBilden(a);
        ist.clear();
        for (const TNotenklasse& k : a.FKlassen)
            ist += QChar(k.ects);
        QCOMPARE(ist, klassen);
    }

    // Hidden small groups: no line below 3 except a whole side, which then also hides the pass
    // rate; every count stays in the table (the total is all students), so none can be worked
    // out from the others.
    void notenverteilung_data() {
        QTest::addColumn<QList<double>>("noten"); // ascending
        QTest::addColumn<bool>("ausblenden");
        QTest::addColumn<QString>("zeilen"); // von-bis:count, "<3" for small, "b" passed
        QTest::addColumn<bool>("quote");
        const QList<double> liste{1, 1, 1, 1.3, 1.7, 2, 2, 2, 2.3, 5, 5, 5, 6};
        QTest::newRow("shown whole") << liste << false << "1:3b 1.3:1b 1.7:1b 2:3b 2.3:1b 5:3 6:1" << true;
        // 1,3 and 1,7 alone would give their count away through the cumulative share beside them;
        // the single 2,3 at the end of the passed side joins the line before it.
        QTest::newRow("merged") << liste << true << "1:3b 1.3-2.3:6b 5-6:4" << true;
        QTest::newRow("one failed") << QList<double>{1, 1, 1, 5} << true << "1:3b 5:<3" << false;
        QTest::newRow("two passed") << QList<double>{2, 3, 5, 5, 6} << true << "2-3:<3b 5-6:3" << false;
        QTest::newRow("all large") << QList<double>{1, 1, 1, 5, 5, 5} << true << "1:3b 5:3" << true;
        QTest::newRow("empty") << QList<double>{} << true << "" << true;
    }
    void notenverteilung() {
        QFETCH(QList<double>, noten);
        QFETCH(bool, ausblenden);
        QFETCH(QString, zeilen);
        QFETCH(bool, quote);
        const std::vector<double> v(noten.begin(), noten.end());
        const klassen::Notenverteilung n = klassen::notenverteilung(v, 4.0, ausblenden);
        QStringList ist;
        qint64 summe = 0;
        for (const klassen::Verteilungszeile& z : n.zeilen) {
            QString t = QString::number(z.von);
            if (z.bis != z.von)
                t += u'-' + QString::number(z.bis);
            t += u':' + (z.klein ? QStringLiteral("<3") : QString::number(z.anzahl));
            if (z.bestanden)
                t += u'b';
            ist << t;
            summe += z.anzahl;
            QVERIFY(!ausblenden || z.klein || z.anzahl >= klassen::kKleinsteGruppe);
        }
        QCOMPARE(ist.join(u' '), zeilen);
        QCOMPARE(summe, static_cast<qint64>(noten.size()));
        QCOMPARE(n.bestehensquoteZeigen, quote);
    }

    // A class takes the letter only when all of its entries carry it.
    void klassenBildenMitBuchstaben_data() {
        QTest::addColumn<QString>("buchstaben"); // of the entries with grades 1, 1, 2, 3
        QTest::addColumn<QString>("klassen");    // "-" for none
        QTest::newRow("einig") << "AABC"
                               << "ABC";
        QTest::newRow("uneinig") << "ABBC"
                                 << "-BC";
        QTest::newRow("einer ohne") << "A-B-"
                                    << "-B-";
    }
    void klassenBildenMitBuchstaben() {
        QFETCH(QString, buchstaben);
        QFETCH(QString, klassen);
        Auswertung a = mitNoten({3, 1, 2, 1});
        const int reihe[] = {1, 3, 2, 0}; // the entries in the order of buchstaben
        for (int i = 0; i < 4; ++i) {
            const QChar b = buchstaben[i];
            a.FEintraege[reihe[i]].ects = b == u'-' ? char16_t(0) : b.unicode();
        }
        KlassenBilden(a);
        QString ist;
        for (const TNotenklasse& k : a.FKlassen)
            ist += k.ects ? QChar(k.ects) : QChar(u'-');
        QCOMPARE(ist, klassen);
    }

    void bereiche_data() {
        QTest::addColumn<int>("gruppe");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("letzteUnten");
        QTest::addColumn<QString>("letzteOben");
        QTest::newRow("Zehntel") << 0 << 51 << "5.9999999999999956"
                                 << "6.0999999999999952";
        QTest::newRow("Drittel") << 1 << 16 << "5.9999999999999982"
                                 << "6.3333333333333313";
        QTest::newRow("Halbe") << 2 << 11 << "6"
                               << "6.5";
        QTest::newRow("Ganze") << 3 << 6 << "6"
                               << "7";
        QTest::newRow("keine Auswahl") << -1 << 16 << "5.9999999999999982"
                                       << "6.3333333333333313";
    }
    void bereiche() {
        QFETCH(int, gruppe);
        QFETCH(int, anzahl);
        QFETCH(QString, letzteUnten);
        QFETCH(QString, letzteOben);
        const auto b = histogramm::bereiche({}, histogramm::breite(gruppe));
        QCOMPARE(static_cast<int>(b.size()), anzahl);
        QCOMPARE(genau(b.back().unten), letzteUnten);
        QCOMPARE(genau(b.back().oben), letzteOben);
        for (std::size_t i = 1; i < b.size(); ++i)
            QCOMPARE(genau(b[i].unten), genau(b[i - 1].oben));
    }

    void balken_data() {
        QTest::addColumn<int>("gruppe");
        QTest::addColumn<QList<double>>("noten");
        QTest::addColumn<QString>("balken"); // label=count, in order

        QTest::newRow("1,2 unter der Zehntelgrenze")
            << 0 << QList<double>{1.2, 1.0, 2.0, 6.0} << "1,0-1,1=1 1,1-1,2=1 1,9-2,0=1 6,0-6,1=1";
        QTest::newRow("Drittel") << 1 << QList<double>{2.0, 3.0, 1.0, 1.3, 1.4, 1.7}
                                 << "1,0-1,3=2 1,3-1,7=1 1,7-2,0=1 2,0-2,3=1 3,0-3,3=1";
        QTest::newRow("ganze Noten bis 7") << 3 << QList<double>{6.0, 7.0, 6.9} << "6,0-7,0=2";
        QTest::newRow("zwei Balken nebeneinander")
            << 2 << QList<double>{3.0, 1.0, 1.0} << "1,0-1,5=2 3,0-3,5=1";
        QTest::newRow("ohne Note und darunter") << 2 << QList<double>{0, 0.9, 1.4} << "1,0-1,5=1";
        QTest::newRow("leer") << 1 << QList<double>{} << "";
    }
    void balken() {
        QFETCH(int, gruppe);
        QFETCH(QList<double>, noten);
        QFETCH(QString, balken);
        Auswertung a = mitNoten(noten);
        KlassenBilden(a);
        QStringList ist;
        for (const auto& b : histogramm::balken(histogramm::bereiche(a.FKlassen, histogramm::breite(gruppe))))
            ist << b.beschriftung + u'=' + QString::number(b.wert);
        QCOMPARE(ist.join(u' '), balken);
    }

private:
    static void BestandeneZaehlenFuer(Auswertung& a, double grenznote) {
        a.FGrenznote = grenznote;
        a.FBestanden = 0;
        for (const TNotenEintrag& e : std::as_const(a.FEintraege))
            a.FBestanden += e.note <= grenznote ? 1 : 0;
    }
};

QTEST_GUILESS_MAIN(TestKlassen)
#include "tst_klassen.moc"
