// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo: every kind of step takes the evaluation back exactly and forward again, holds
// only what it changed, and the history stays within its limits.
#include "Fehler.h"
#include "Sortierung.h"
#include "Testdaten.h"
#include "Verlauf.h"

#include <QTest>
#include <cstring>

namespace {

// Everything a step may change, byte for byte (alignment bytes included).
struct Abbild {
    QByteArray eintraege, original;
    std::vector<std::pair<double, char16_t>> klassen;
    std::array<std::int32_t, 6> ects{};
    bool operator==(const Abbild&) const = default;
};

QByteArray bytes(const Notenliste& l) {
    return QByteArray(reinterpret_cast<const char*>(l.constData()),
                      l.size() * qsizetype(sizeof(TNotenEintrag)));
}

Abbild abbild(const Auswertung& a) {
    Abbild b{bytes(a.FEintraege), bytes(a.FOriginal), {}, a.FEctsAnzahl};
    for (const TNotenklasse& k : a.FKlassen)
        b.klassen.emplace_back(k.note, k.ects);
    return b;
}

// Five students in neither name nor grade order; each record's alignment bytes differ, as
// records read from a foreign file may.
Auswertung beispiel() {
    Auswertung a;
    int i = 0;
    for (const auto& [name, note] :
         {std::pair{"Emil", 2.0}, {"Carl", 4.0}, {"Anna", 1.0}, {"Dora", 5.0}, {"Bert", 3.0}}) {
        TNotenEintrag e = testeintrag(name, 10.0 * ++i, note, u'A');
        std::memset(e.fuell2, 0x40 + i, sizeof e.fuell2);
        e.fuell1 = static_cast<std::uint8_t>(i);
        a.FEintraege.push_back(e);
    }
    a.OriginalMerken();
    a.FKlassen = {TNotenklasse{2, 1.0, u'A'}};
    a.FEctsAnzahl = {2, 0, 0, 0, 0, 3};
    return a;
}

void nachNameSortieren(Notenliste& l) {
    sortierung::nachName(l);
}
void nachNoteSortieren(Notenliste& l) {
    sortierung::nachNote(l);
}

// A command as the window runs it: the change and its step.
using Befehl = std::function<verlauf::SchrittZeiger(Auswertung&)>;

} // namespace

Q_DECLARE_METATYPE(Befehl)

class TestVerlauf : public QObject {
    Q_OBJECT

private slots:
    void hinUndZurueck_data() {
        QTest::addColumn<Befehl>("vorbereitung"); // before the state to come back to; may be empty
        QTest::addColumn<Befehl>("befehl");
        const Befehl keine;
        QTest::newRow("Ersatz") << keine << Befehl([](Auswertung& a) {
            auto s = verlauf::vorErsatz("Importieren", a,
                                        verlauf::Eintraege | verlauf::Original | verlauf::Klassen);
            a.FEintraege.append(testeintrag("Neu", 1, 1));
            a.OriginalMerken();
            a.FKlassen.clear();
            return s;
        });
        QTest::newRow("nur Einträge") << Befehl([](Auswertung& a) {
            a.FEintraege.swapItemsAt(0, 4);
            return nullptr;
        }) << Befehl([](Auswertung& a) {
            auto s = verlauf::vorErsatz("Ursprüngliche Reihenfolge", a, verlauf::Eintraege);
            a.UrspruenglicheReihenfolge();
            return s;
        });
        QTest::newRow("nach Name") << keine << Befehl([](Auswertung& a) {
            return verlauf::sortiere("Sortieren nach Name", a, nachNameSortieren);
        });
        QTest::newRow("nach Note") << keine << Befehl([](Auswertung& a) {
            return verlauf::sortiere("Sortieren nach Note", a, nachNoteSortieren);
        });
        QTest::newRow("löschen, Original geteilt")
            << keine << Befehl([](Auswertung& a) { return verlauf::loesche("Löschen", a, 2, 4); });
        QTest::newRow("löschen nach Sortieren") << Befehl([](Auswertung& a) {
            sortierung::nachName(a.FEintraege); // FOriginal keeps the order brought in
            return nullptr;
        }) << Befehl([](Auswertung& a) { return verlauf::loesche("Löschen", a, 4, 9); });
        QTest::newRow("löschen außerhalb")
            << keine << Befehl([](Auswertung& a) { return verlauf::loesche("Löschen", a, 7, 8); });
        QTest::newRow("Noten") << keine << Befehl([](Auswertung& a) {
            auto s = verlauf::vorBewertung("Notenvergabe", a, false);
            for (auto& e : a.FEintraege)
                e.note += 0.3;
            a.NotenUebernehmen();
            return s;
        });
        QTest::newRow("Klasseneinteilung") << keine << Befehl([](Auswertung& a) {
            std::vector<verlauf::SchrittZeiger> teile;
            teile.push_back(verlauf::sortiere("Klasseneinteilung", a, nachNoteSortieren));
            teile.push_back(verlauf::vorBewertung("Klasseneinteilung", a, true));
            a.FKlassen = {TNotenklasse{1, 1.0, u'B'}, TNotenklasse{4, 2.0, u'C'}};
            a.FEctsAnzahl = {0, 1, 4, 0, 0, 0};
            for (auto& e : a.FEintraege)
                e.ects = u'C';
            a.NotenUebernehmen();
            return verlauf::sammlung("Klasseneinteilung", std::move(teile));
        });
    }
    void hinUndZurueck() {
        QFETCH(Befehl, vorbereitung);
        QFETCH(Befehl, befehl);
        Auswertung a = beispiel();
        if (vorbereitung)
            vorbereitung(a);
        const Abbild vorher = abbild(a);
        verlauf::Verlauf v;
        v.merke(befehl(a));
        const Abbild nachher = abbild(a);
        QVERIFY(v.kannRueckgaengig());
        for (int runde = 0; runde < 2; ++runde) {
            QVERIFY(v.rueckgaengig(a));
            QVERIFY(abbild(a) == vorher);
            QVERIFY(!v.kannRueckgaengig() && v.kannWiederholen());
            QVERIFY(v.wiederholen(a));
            QVERIFY(abbild(a) == nachher);
        }
        QVERIFY(!v.wiederholen(a));
    }

    // What a step holds: the order as 4 bytes an entry, grades and letters as 10, deleted rows
    // whole, and FOriginal only where it was not FEintraege itself.
    void schrittHaeltNurDieAenderung() {
        constexpr qsizetype n = 1000;
        Auswertung a;
        for (qsizetype i = 0; i < n; ++i)
            a.FEintraege.push_back(testeintrag(QByteArray::number(n - i), 0, double(i % 7)));
        a.OriginalMerken();
        auto sortiert = verlauf::sortiere("Sortieren nach Name", a, nachNameSortieren);
        QVERIFY(sortiert);
        QCOMPARE(sortiert->bytes(), 4 * n);
        QCOMPARE(verlauf::vorBewertung("Noten", a, false)->bytes(), 2 * 10 * n);
        auto geloescht = verlauf::loesche("Löschen", a, 1, 3);
        QCOMPARE(geloescht->bytes(), 3 * 56 + n * 56);                   // FOriginal had the order brought in
        QCOMPARE(verlauf::loesche("Löschen", a, 1, 2)->bytes(), 2 * 56); // now FOriginal was the list
        // A sort that leaves the order as it is makes no step.
        QVERIFY(!verlauf::sortiere("Sortieren nach Name", a, nachNameSortieren));
    }

    // Sixty commands in a row come back one by one; beyond the step count the oldest go.
    void vieleSchritte() {
        Auswertung a = beispiel();
        const Abbild anfang = abbild(a);
        verlauf::Verlauf v;
        for (int i = 0; i < 60; ++i)
            v.merke(verlauf::sortiere("Sortieren", a, i % 2 ? nachNameSortieren : nachNoteSortieren));
        QCOMPARE(v.schritte(), 60);
        for (int i = 0; i < 60; ++i)
            QVERIFY(v.rueckgaengig(a));
        QVERIFY(abbild(a) == anfang);
        QVERIFY(!v.rueckgaengig(a));

        verlauf::Verlauf knapp(verlauf::Verlauf::kBytesHoechstens, 3);
        for (int i = 0; i < 5; ++i)
            knapp.merke(verlauf::sortiere("Sortieren", a, i % 2 ? nachNameSortieren : nachNoteSortieren));
        QCOMPARE(knapp.schritte(), 3);
    }

    // The byte budget: whole lists kept by imports push the oldest steps out, and a step larger
    // than the budget is not kept at all.
    void bytesGrenze() {
        Auswertung a = beispiel();
        verlauf::Verlauf v(3 * 5 * 56);
        for (int i = 0; i < 6; ++i) {
            v.merke(verlauf::vorErsatz("Importieren", a, verlauf::Eintraege | verlauf::Original));
            a.FEintraege = Notenliste(5, testeintrag(QByteArray::number(i)));
            a.OriginalMerken();
            QVERIFY(v.bytes() <= 3 * 5 * 56);
        }
        QCOMPARE(v.schritte(), 3);
        QVERIFY(v.rueckgaengig(a) && v.rueckgaengig(a) && v.rueckgaengig(a));
        QCOMPARE(a.FEintraege.front().nameText(), QStringLiteral("2"));
        QVERIFY(!v.rueckgaengig(a));

        verlauf::Verlauf winzig(100);
        winzig.merke(verlauf::vorErsatz("Importieren", a, verlauf::Eintraege));
        QVERIFY(!winzig.kannRueckgaengig());
    }

    // A new command gives up what was undone; the names follow the stacks.
    void neuerBefehlVerwirftWiederholen() {
        Auswertung a = beispiel();
        verlauf::Verlauf v;
        v.merke(verlauf::sortiere("Sortieren nach Name", a, nachNameSortieren));
        v.merke(verlauf::sortiere("Sortieren nach Note", a, nachNoteSortieren));
        QCOMPARE(v.rueckgaengigName(), QStringLiteral("Sortieren nach Note"));
        QVERIFY(v.rueckgaengig(a));
        QCOMPARE(v.wiederholenName(), QStringLiteral("Sortieren nach Note"));
        QCOMPARE(v.rueckgaengigName(), QStringLiteral("Sortieren nach Name"));
        v.merke(verlauf::loesche("Löschen", a, 1, 1));
        QVERIFY(!v.kannWiederholen());
        v.merke(nullptr); // nothing changed: no step
        QCOMPARE(v.rueckgaengigName(), QStringLiteral("Löschen"));
    }

    // A change the history does not know (the list shortened behind its back): the step no
    // longer fits, nothing is touched, and the history is given up.
    void fremdeAenderung() {
        Auswertung a = beispiel();
        verlauf::Verlauf v;
        v.merke(verlauf::sortiere("Sortieren nach Name", a, nachNameSortieren));
        a.FEintraege.removeLast();
        const Abbild jetzt = abbild(a);
        QVERIFY(!v.rueckgaengig(a));
        QVERIFY(abbild(a) == jetzt);
        QCOMPARE(v.schritte(), 0);
    }

    // Deleting in an empty list keeps its range error and makes no step.
    void loeschenInLeererListe() {
        Auswertung a;
        verlauf::SchrittZeiger s;
        QVERIFY_THROWS_EXCEPTION(Fehler, s = verlauf::loesche("Löschen", a, 1, 1));
        QVERIFY(!s);
    }
};

QTEST_APPLESS_MAIN(TestVerlauf)
#include "tst_verlauf.moc"
