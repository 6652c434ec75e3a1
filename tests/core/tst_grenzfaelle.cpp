// SPDX-License-Identifier: GPL-3.0-or-later
// Where the grade steps begin and who lies just below the next one, checked against a walk over
// every grid point with the program's own grade computation.
#include "Fehler.h"
#include "Grenzfaelle.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QTest>
#include <cmath>
#include <optional>

Q_DECLARE_METATYPE(TNotenskala)

namespace {

TNotenskala skala(double volleP, double volleN, double bestP, double bestN, double nichtP, double nichtN,
                  int schluessel, int runden) {
    return {volleP, volleN, bestP, bestN, nichtP, nichtN, schluessel, runden};
}

// Every grid point from the lower to the upper anchor, one after the other.
struct Walk {
    qint64 von, bis;
    int teilung;
    double punkt(qint64 k) const { return static_cast<double>(k) / teilung; }
};

Walk gitter(const TNotenskala& s, int teilung) {
    const double unten = std::min(s.nichtbestandenpunkte, s.vollepunkte);
    const double oben = std::max(s.nichtbestandenpunkte, s.vollepunkte);
    Walk w{static_cast<qint64>(std::floor(unten * teilung)) - 2,
           static_cast<qint64>(std::ceil(oben * teilung)) + 2, teilung};
    while (w.punkt(w.von) < unten)
        ++w.von;
    while (w.punkt(w.bis) > oben)
        --w.bis;
    return w;
}

std::vector<grenzfaelle::Stufe> gegangeneStufen(const TNotenskala& s, const Walk& w) {
    std::vector<grenzfaelle::Stufe> stufen;
    for (qint64 k = w.von; k <= w.bis; ++k) {
        const double note = NoteBerechnen(w.punkt(k), s);
        if (stufen.empty() || stufen.back().note != note)
            stufen.push_back({note, w.punkt(k), k});
    }
    return stufen;
}

// The first grid point above p whose grade is better than p's: its grade and points.
std::optional<std::pair<double, double>> gegangenBesser(const TNotenskala& s, const Walk& w, double p) {
    const double note = NoteBerechnen(p, s);
    for (qint64 k = w.von; k <= w.bis; ++k)
        if (w.punkt(k) > p && NoteBerechnen(w.punkt(k), s) < note)
            return std::pair{NoteBerechnen(w.punkt(k), s), w.punkt(k)};
    return std::nullopt;
}

QString text(double x) {
    return zahltext::kurz(x);
}

} // namespace

class TestGrenzfaelle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale("de_DE")); }

    void wieDerGang_data() {
        QTest::addColumn<TNotenskala>("s");
        QTest::addColumn<int>("teilung");
        QTest::newRow("Vorgabe: Drittel, schlechter") << skala(50, 1, 25, 4, 0, 6, 1, 1) << 100;
        QTest::newRow("Drittel, besser") << skala(50, 1, 25, 4, 0, 6, 1, 0) << 100;
        QTest::newRow("Drittel, kaufmännisch, Zehntelpunkte") << skala(50, 1, 25, 4, 0, 6, 1, 2) << 10;
        QTest::newRow("Halbe, besser, halbe Punkte") << skala(50, 1, 25, 4, 0, 6, 0, 0) << 2;
        QTest::newRow("Halbe, schlechter") << skala(50, 1, 25, 4, 0, 6, 0, 1) << 100;
        QTest::newRow("Halbe, kaufmännisch, Gleichstand") << skala(8, 1, 4, 4, 0, 6, 0, 2) << 100;
        QTest::newRow("Zehntel, besser") << skala(50, 1, 25, 4, 0, 6, 2, 0) << 100;
        QTest::newRow("Zehntel, schlechter") << skala(50, 1, 25, 4, 0, 6, 2, 1) << 100;
        QTest::newRow("Zehntel, kaufmännisch") << skala(50, 1, 25, 4, 0, 6, 2, 2) << 100;
        QTest::newRow("Dezimalstufe knapp darunter") << skala(60, 1, 30, 4, 0, 6, 1, 0) << 100;
        QTest::newRow("ohne Stufe") << skala(50, 1, 25, 4, 0, 6, -1, 0) << 100;
        QTest::newRow("ohne Rundung, halbe Punkte") << skala(50, 1, 25, 4, 0, 6, 1, -1) << 2;
        QTest::newRow("negative Noten") << skala(50, -1, 25, 4, 0, 6, 2, 1) << 100;
        QTest::newRow("Anker abseits des Rasters") << skala(47.5, 1, 23.3, 4, 1.25, 5, 1, 1) << 2;
        QTest::newRow("Noten steigen mit den Punkten") << skala(0, 6, 25, 4, 50, 1, 1, 1) << 100;
        QTest::newRow("Bestehen jenseits der Maximalpunkte") << skala(40, 1, 45, 4, 0, 6, 0, 2) << 100;
        QTest::newRow("Knick: Stücke laufen gegeneinander") << skala(50, 6, 25, 1, 0, 6, 0, 0) << 10;
    }

    void wieDerGang() {
        QFETCH(TNotenskala, s);
        QFETCH(int, teilung);
        const Walk w = gitter(s, teilung);
        const grenzfaelle::Stufenfolge folge = grenzfaelle::stufen(s, teilung);
        QCOMPARE(folge.von, w.von);
        QCOMPARE(folge.bis, w.bis);
        const auto soll = gegangeneStufen(s, w);
        QCOMPARE(folge.stufen.size(), soll.size());
        for (std::size_t i = 0; i < soll.size(); ++i) {
            const auto& ist = folge.stufen[i];
            QVERIFY2(
                ist.note == soll[i].note && ist.ab == soll[i].ab && ist.k == soll[i].k,
                qPrintable(QStringLiteral("Stufe %1: %2 ab %3, erwartet %4 ab %5")
                               .arg(i)
                               .arg(text(ist.note), text(ist.ab), text(soll[i].note), text(soll[i].ab))));
        }

        // Students on and between grid points, and beyond both anchors.
        Notenliste liste;
        const double unten = w.punkt(w.von), oben = w.punkt(w.bis);
        for (double p = unten - 1.5; p <= oben + 1.5; p += 0.37)
            liste.push_back(testeintrag("x", p));
        for (const auto& stufe : soll)
            for (qint64 d : {-2, -1, 0, 1})
                liste.push_back(testeintrag("x", w.punkt(stufe.k + d)));
        liste.push_back(testeintrag("x", 25.005));
        const auto faelle = grenzfaelle::naechsteStufen(liste, s, folge, 4.0);
        std::size_t j = 0;
        for (qsizetype i = 0; i < liste.size(); ++i) {
            const double p = liste[i].punkte;
            const auto besser = gegangenBesser(s, w, p);
            const bool gelistet = j < faelle.size() && faelle[j].index == i;
            QVERIFY2(gelistet == besser.has_value(), qPrintable(QStringLiteral("Punkte %1").arg(text(p))));
            if (!gelistet)
                continue;
            const grenzfaelle::Grenzfall& f = faelle[j++];
            QVERIFY2(f.bessereNote == besser->first && f.ab == besser->second,
                     qPrintable(QStringLiteral("Punkte %1: %2 ab %3, erwartet %4 ab %5")
                                    .arg(text(p), text(f.bessereNote), text(f.ab), text(besser->first),
                                         text(besser->second))));
            QVERIFY(f.note == NoteBerechnen(p, s));
            QVERIFY(f.fehlend == static_cast<long double>(besser->second) - p);
            QCOMPARE(f.bestehen, f.bessereNote <= 4.0 && f.note > 4.0);
        }
        QCOMPARE(j, faelle.size());
    }

    void auswahl_data() {
        QTest::addColumn<double>("abstand");
        QTest::addColumn<QStringList>("soll");
        // Halves rounded to the better grade: 4,0 from 18,76 points on, 3,5 from 25,01, 3,0 from 29,17.
        QTest::newRow("niemand so knapp") << 0.005 << QStringList{};
        QTest::newRow("0,2 Punkte") << 0.2
                                    << QStringList{"Bert 18,75 4,5 4,0 0,01 ja", "Emil 24,9 4,0 3,5 0,11 ",
                                                   "Dora 29 3,5 3,0 0,17 "};
        // Equal shortfalls by name bytes (Ä after F), equal names by their place in the list.
        QTest::newRow("1 Punkt") << 1.0
                                 << QStringList{
                                        "Bert 18,75 4,5 4,0 0,01 ja",     "Emil 24,9 4,0 3,5 0,11 ",
                                        "Dora 29 3,5 3,0 0,17 ",          "Anna 18,5 4,5 4,0 0,26 ja #1",
                                        "Anna 18,5 4,5 4,0 0,26 ja #5",   "Franz 18,5 4,5 4,0 0,26 ja",
                                        "\u00c4rger 18,5 4,5 4,0 0,26 ja"};
    }

    void auswahl() {
        QFETCH(double, abstand);
        QFETCH(QStringList, soll);
        const Notenliste liste = {
            testeintrag("Zoe", 50),     testeintrag("Anna", 18.5), testeintrag("\xc4rger", 18.5),
            testeintrag("Franz", 18.5), testeintrag("Gustav", 10), testeintrag("Anna", 18.5),
            testeintrag("Bert", 18.75), testeintrag("Emil", 24.9), testeintrag("Dora", 29)};
        const auto faelle = grenzfaelle::auswahl(liste, skala(50, 1, 25, 4, 0, 6, 0, 0), 4.0, abstand);
        QStringList ist;
        for (const auto& f : faelle) {
            QString z = grenzfaelle::zeile(f, liste).join(u' ');
            if (liste[f.index].nameText() == QStringLiteral("Anna"))
                z += QStringLiteral(" #%1").arg(f.index);
            ist << z;
        }
        QCOMPARE(ist, soll);
    }

    void bestehenAb_data() {
        QTest::addColumn<TNotenskala>("s");
        QTest::addColumn<double>("grenznote");
        QTest::addColumn<QString>("soll");
        QTest::newRow("Vorgabe: 25 Punkte geben 4,3") << skala(50, 1, 25, 4, 0, 6, 1, 1) << 4.0 << "25,01";
        QTest::newRow("Halbe, besser") << skala(50, 1, 25, 4, 0, 6, 0, 0) << 4.0 << "18,76";
        QTest::newRow("Halbe, besser, halbe Punkte") << skala(50, 1, 25, 4, 0, 6, 0, 0) << 4.0 << "19";
        QTest::newRow("keine Note besteht") << skala(50, 1, 25, 4, 0, 6, 1, 1) << 0.5 << "";
    }

    void bestehenAb() {
        QFETCH(TNotenskala, s);
        QFETCH(double, grenznote);
        QFETCH(QString, soll);
        const int teilung = QByteArray(QTest::currentDataTag()).contains("halbe Punkte") ? 2 : 100;
        const auto ab = grenzfaelle::bestehenAb(grenzfaelle::stufen(s, teilung), grenznote);
        QCOMPARE(ab ? zahltext::kurz(*ab) : QString(), soll);
    }

    // Control characters in a name (a TAB, a CR, DEL) become blanks, so the cells stay apart.
    void tabText() {
        const Notenliste liste = {testeintrag("Kim\tLee", 24.5), testeintrag("Jo\x7f\rX", 25)};
        const auto faelle = grenzfaelle::auswahl(liste, skala(50, 1, 25, 4, 0, 6, 1, 1), 4.0, 1);
        QCOMPARE(grenzfaelle::alsTabText(faelle, liste),
                 QStringLiteral("Name\tPunkte\tNote\tBessere Note\tFehlende Punkte\tBestehen\r\n"
                                "Jo  X\t25\t4,3\t4,0\t0,01\tja\r\n"
                                "Kim Lee\t24,5\t4,3\t4,0\t0,51\tja\r\n"));
    }

    void fehler_data() {
        QTest::addColumn<TNotenskala>("s");
        QTest::addColumn<int>("teilung");
        QTest::addColumn<QString>("soll");
        QTest::newRow("Bestehen gleich Minimum")
            << skala(50, 1, 0, 4, 0, 6, 1, 1) << 100 << fehler::UngueltigeOperation;
        QTest::newRow("Bereich zu groß")
            << skala(1e300, 1, 25, 4, 0, 6, 1, 1) << 100
            << "Der Punktbereich der Notenskala ist für die Suche nach Grenzfällen zu groß.";
        QTest::newRow("zu viele Stufen")
            << skala(20000, 1, 25, 4, 0, 6, -1, 0) << 100
            << "Die Notenskala hat zu viele Notenstufen für die Suche nach Grenzfällen.";
        QTest::newRow("Teilung") << skala(50, 1, 25, 4, 0, 6, 1, 1) << 0 << fehler::Bereichspruefung;
    }

    void fehler() {
        QFETCH(TNotenskala, s);
        QFETCH(int, teilung);
        QFETCH(QString, soll);
        try {
            grenzfaelle::stufen(s, teilung);
            QFAIL("kein Fehler");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), soll);
        }
    }

    void ohneNoteKeinGrenzfall() {
        // Maximum equal to the pass points: scores above them get no grade, so no better one.
        const TNotenskala s = skala(25, 1, 25, 4, 0, 6, 1, 0);
        const Notenliste liste = {testeintrag("a", 30), testeintrag("b", 20), testeintrag("c", std::nan(""))};
        const auto faelle = grenzfaelle::naechsteStufen(liste, s, grenzfaelle::stufen(s), 4.0);
        QCOMPARE(faelle.size(), std::size_t(1));
        QCOMPARE(faelle[0].index, qsizetype(1));
        // 21,25 points give the raw grade 4,3 held a hair below it, so already 4,0.
        QCOMPARE(zahltext::kurz(faelle[0].ab), QStringLiteral("21,25"));
    }

    // The kept cases answer each distance with its prefix and are found anew when the list (no
    // longer shared with the copy), the scale or the threshold changed.
    void zwischenspeicher() {
        const TNotenskala halbe = skala(50, 1, 25, 4, 0, 6, 0, 0);
        Notenliste liste = {testeintrag("Anna", 18.5), testeintrag("Bert", 18.75), testeintrag("Dora", 29)};
        grenzfaelle::Zwischenspeicher v;
        v.stelleBereit(liste, halbe, 4.0);
        QCOMPARE(v.knappste(0.2L).size(), std::size_t(2));
        QCOMPARE(v.knappste(0.2L).front().note, 4.5);
        QCOMPARE(v.knappste(1).size(), std::size_t(3));
        QCOMPARE(v.zusammenfassung(1, 1),
                 QStringLiteral("Bestanden (Note 4,0 oder besser) ab 18,76 Punkten. 1 Prüfling liegt "
                                "weniger als 1 Punkt unter der nächst besseren Note."));
        liste.append(testeintrag("Emil", 24.9));
        v.stelleBereit(liste, halbe, 4.0);
        QCOMPARE(v.knappste(1).size(), std::size_t(4));
        QCOMPARE(v.liste().size(), qsizetype(4));
        v.stelleBereit(liste, halbe, 0.5);
        QCOMPARE(v.zusammenfassung(0, 2.5),
                 QStringLiteral("Mit dieser Notenskala besteht niemand (Note 0,5 oder besser). 0 Prüflinge "
                                "liegen weniger als 2,5 Punkte unter der nächst besseren Note."));
        v.stelleBereit(liste, skala(50, 1, 25, 4, 0, 6, 0, 1), 4.0);
        QCOMPARE(v.knappste(0.2L).front().note, 5.0); // the worse grade; cases kept would still say 4,5
        QVERIFY_THROWS_EXCEPTION(Fehler, v.stelleBereit(liste, skala(50, 1, 0, 4, 0, 6, 0, 0), 4.0));
        QVERIFY(v.knappste(100).empty());
    }
};

QTEST_GUILESS_MAIN(TestGrenzfaelle)
#include "tst_grenzfaelle.moc"
