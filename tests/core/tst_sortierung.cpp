// SPDX-License-Identifier: GPL-3.0-or-later
// The fast sorts against the classic exchange sort they must reproduce.
#include "Ansi.h"
#include "Sortierung.h"

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The reference: for i < j, exchange when entry j is strictly less than entry i.
template <typename Kleiner> void austauschsortierung(Notenliste& l, Kleiner kleiner) {
    for (qsizetype i = 0; i + 1 < l.size(); ++i)
        for (qsizetype j = i + 1; j < l.size(); ++j)
            if (kleiner(l[j], l[i]))
                std::swap(l[i], l[j]);
}

bool nameKleiner(const TNotenEintrag& a, const TNotenEintrag& b) {
    const auto x = a.nameBytes(), y = b.nameBytes();
    for (qsizetype k = 0; k < std::min(x.size(), y.size()); ++k)
        if (x[k] != y[k])
            return static_cast<unsigned char>(x[k]) < static_cast<unsigned char>(y[k]);
    return x.size() < y.size();
}

bool noteKleiner(const TNotenEintrag& a, const TNotenEintrag& b) {
    return a.note < b.note;
}

// An entry whose points carry its identity, so equal keys can be told apart.
TNotenEintrag eintrag(double note, int id, QByteArrayView name = {}) {
    TNotenEintrag e = leererEintrag();
    e.note = note;
    e.punkte = id;
    e.setzeName(name);
    return e;
}

QList<int> ids(const Notenliste& l) {
    QList<int> r;
    for (const auto& e : l)
        r.append(static_cast<int>(e.punkte));
    return r;
}

using Gruppenweg = sortierung::detail::Gruppenweg;

// The grade tables run their rows by cost, as the program does, and with each way forced, so
// that both ways are checked on every list, whichever the cost would choose.
template <typename Zeile> void jeWeg(const char* name, Zeile zeile, bool mitSchlange = true) {
    const std::pair<Gruppenweg, const char*> wege[] = {{Gruppenweg::nachAufwand, "by cost"},
                                                       {Gruppenweg::immerSchlange, "queue"},
                                                       {Gruppenweg::immerBaum, "tree"}};
    for (const auto& [weg, wegName] : wege)
        if (mitSchlange || weg != Gruppenweg::immerSchlange)
            zeile(QTest::addRow("%s, %s", name, wegName)) << static_cast<int>(weg);
}

void setzeWeg(int weg) {
    sortierung::detail::gruppenweg = static_cast<Gruppenweg>(weg);
}

void vergleicheNachNote(const Notenliste& eingabe) {
    Notenliste erwartet = eingabe, ist = eingabe;
    austauschsortierung(erwartet, noteKleiner);
    sortierung::nachNote(ist);
    QCOMPARE(ids(ist), ids(erwartet));
}

} // namespace

class TestSortierung : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { sortierung::detail::gruppenweg = Gruppenweg::nachAufwand; }

    void beispielDerTiefe() {
        // B1, B2, A ends as A, B2, B1; sorting again keeps it.
        Notenliste l = {eintrag(2, 1), eintrag(2, 2), eintrag(1, 3)};
        sortierung::nachNote(l);
        QCOMPARE(ids(l), QList<int>({3, 2, 1}));
        sortierung::nachNote(l);
        QCOMPARE(ids(l), QList<int>({3, 2, 1}));
    }

    // Every order pattern of up to 8 keys (each sequence whose values are exactly 0..m-1).
    void alleKleinenFolgen_data() {
        QTest::addColumn<int>("weg");
        // Groups of at most 8 members: by cost is the queue.
        jeWeg(
            "up to 8 keys", [](QTestData& zeile) -> QTestData& { return zeile; }, false);
    }
    void alleKleinenFolgen() {
        QFETCH(int, weg);
        setzeWeg(weg);
        for (int n = 0; n <= 8; ++n) {
            std::vector<int> folge(static_cast<std::size_t>(n), 0);
            while (true) {
                std::vector<bool> benutzt(static_cast<std::size_t>(n), false);
                int groesste = -1;
                for (int v : folge) {
                    benutzt[static_cast<std::size_t>(v)] = true;
                    groesste = std::max(groesste, v);
                }
                if (std::all_of(benutzt.begin(), benutzt.begin() + (groesste + 1),
                                [](bool b) { return b; })) {
                    Notenliste l;
                    for (int i = 0; i < n; ++i)
                        l.push_back(eintrag(folge[static_cast<std::size_t>(i)], i));
                    vergleicheNachNote(l);
                    if (QTest::currentTestFailed()) {
                        qWarning() << "Folge" << folge;
                        return;
                    }
                }
                int k = n - 1;
                while (k >= 0 && folge[static_cast<std::size_t>(k)] == n - 1)
                    folge[static_cast<std::size_t>(k--)] = 0;
                if (k < 0)
                    break;
                ++folge[static_cast<std::size_t>(k)];
            }
        }
    }

    // Random grades, some NaN among them; lists already in order (the sort leaves them as they
    // are) and in order but for their last entry; more distinct grades than the small table
    // for few grades holds; many ranks with only a few held twice.
    void zufaelligeNoten_data() {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<int>("verschiedene");
        QTest::addColumn<QString>("ordnung");
        QTest::addColumn<bool>("mitNan");
        QTest::addColumn<QString>("werte");
        QTest::addColumn<int>("weg");
        const struct {
            const char* name;
            int laenge, verschiedene;
            const char* ordnung;
            bool mitNan;
            const char* werte = "drittel";
        } zeilen[] = {
            {"few grades", 300, 3, "zufall", false},
            {"17 grades", 1000, 17, "zufall", false},
            {"17 grades, NaN", 1000, 17, "zufall", true},
            {"mostly distinct", 500, 400, "zufall", false},
            {"more than the small table", 1500, 1200, "zufall", true},
            {"mostly distinct, a few twice", 3000, 100000, "zufall", true},
            {"in order, NaN between", 400, 17, "sortiert", true},
            {"in order but the last", 400, 17, "bisAufLetzten", true},
            {"distinct, in order but the last", 1200, 1000, "bisAufLetzten", false},
            {"negative, 0 and -0", 300, 9, "zufall", false, "um null"},
            {"negative, 0 and -0, more than the small table", 1500, 1200, "zufall", true, "um null"},
            // The radix sort skips the digit that all keys share.
            {"more than the small table, between 1 and 2", 1500, 1200, "zufall", false, "eins bis zwei"},
        };
        for (const auto& z : zeilen)
            jeWeg(z.name, [&](QTestData& zeile) -> QTestData& {
                return zeile << z.laenge << z.verschiedene << QString::fromLatin1(z.ordnung) << z.mitNan
                             << QString::fromLatin1(z.werte);
            });
    }
    void zufaelligeNoten() {
        QFETCH(int, laenge);
        QFETCH(int, verschiedene);
        QFETCH(QString, ordnung);
        QFETCH(bool, mitNan);
        QFETCH(QString, werte);
        QFETCH(int, weg);
        setzeWeg(weg);
        QRandomGenerator zufall(4711);
        for (int runde = 0; runde < 20; ++runde) {
            std::vector<double> noten;
            for (int i = 0; i < laenge; ++i) {
                const int x = zufall.bounded(verschiedene);
                if (werte == "um null") // 0 and -0 are one grade for the exchange sort
                    noten.push_back(
                        x == verschiedene / 2 && zufall.bounded(2) ? -0.0 : (x - verschiedene / 2) / 3.0);
                else if (werte == "eins bis zwei")
                    noten.push_back(1.0 + x / static_cast<double>(verschiedene));
                else
                    noten.push_back(1.0 + x / 3.0);
            }
            if (ordnung != "zufall")
                std::sort(noten.begin(), noten.end());
            if (ordnung == "bisAufLetzten")
                noten.back() = 0.5;
            Notenliste l;
            for (int i = 0; i < laenge; ++i) {
                const bool nan = mitNan && zufall.bounded(10) == 0;
                l.push_back(
                    eintrag(nan ? std::numeric_limits<double>::quiet_NaN() : noten[std::size_t(i)], i));
            }
            vergleicheNachNote(l);
            // One failed round says it all.
            if (QTest::currentTestFailed())
                return;
        }
    }

    // A group whose members stand between runs of smaller keys turns its list once per smaller
    // entry after its first member. Runs of a fixed or random length turn it less than the queue's
    // limit of about 4·k·log k; a run of t - 1 (or 2t - 1) smaller entries after the t-th member,
    // or one of 3t/4 to t, turns it nearly k²/2 times, past the limit: the tree. Larger keys
    // sprinkled in between change nothing.
    void vieleDrehungen_data() {
        QTest::addColumn<int>("glieder");
        QTest::addColumn<QString>("lauf");
        QTest::addColumn<int>("laenge");
        QTest::addColumn<int>("weg");
        const struct {
            const char* name;
            int glieder;
            const char* lauf;
            int laenge;
        } zeilen[] = {
            {"60 between runs of 100", 60, "fest", 100},
            {"40 between runs of 37", 40, "fest", 37},
            {"runs of varying length", 50, "zufall", 150},
            {"64, t - 1 after the t-th", 64, "t-1", 0},
            {"100, t - 1 or 2t - 1 after the t-th", 100, "t-1 oder 2t-1", 0},
            {"80, 3t/4 to t after the t-th", 80, "3t/4 bis t", 0},
        };
        for (const auto& z : zeilen)
            jeWeg(z.name, [&](QTestData& zeile) -> QTestData& {
                return zeile << z.glieder << QString::fromLatin1(z.lauf) << z.laenge;
            });
    }
    void vieleDrehungen() {
        QFETCH(int, glieder);
        QFETCH(QString, lauf);
        QFETCH(int, laenge);
        QFETCH(int, weg);
        setzeWeg(weg);
        QRandomGenerator zufall(99);
        Notenliste l;
        int id = 0;
        for (int t = 1; t <= glieder; ++t) {
            l.push_back(eintrag(2.0, id++));
            int n = laenge;
            if (lauf == "zufall")
                n = static_cast<int>(zufall.bounded(laenge));
            else if (lauf == "t-1")
                n = t - 1;
            else if (lauf == "t-1 oder 2t-1")
                n = t - 1 + (zufall.bounded(2) ? t : 0);
            else if (lauf == "3t/4 bis t")
                n = t - static_cast<int>(zufall.bounded(t / 4 + 1));
            for (int i = 0; i < n; ++i) {
                l.push_back(eintrag(zufall.bounded(2) ? 1.0 : 0.5, id++));
                if (zufall.bounded(8) == 0)
                    l.push_back(eintrag(3.0, id++));
            }
        }
        vergleicheNachNote(l);
    }

    // Short names from a small alphabet (many duplicates and prefixes), zero bytes beside the end
    // of a name, bytes above 127, and long names that agree across whole words and differ only
    // near the 30th byte.
    void zufaelligeNamenMitRand_data() {
        QTest::addColumn<QByteArray>("alphabet");
        QTest::addColumn<int>("gemeinsam");
        QTest::addColumn<int>("rest");
        QTest::newRow("short names") << QByteArray("aAbZ \xC4z") << 0 << 3;
        QTest::newRow("zero bytes") << QByteArray("\0\x01a\xFF", 4) << 0 << 4;
        QTest::newRow("across word borders") << QByteArray("ab\0") << 6 << 10;
        QTest::newRow("up to 30 bytes") << QByteArray("a\0\x80") << 26 << 6;
    }
    void zufaelligeNamenMitRand() {
        QFETCH(QByteArray, alphabet);
        QFETCH(int, gemeinsam);
        QFETCH(int, rest);
        QRandomGenerator zufall(4242);
        for (int runde = 0; runde < 10; ++runde) {
            Notenliste l;
            for (int i = 0; i < 300; ++i) {
                QByteArray name(zufall.bounded(gemeinsam + 1), 'x');
                for (int k = zufall.bounded(rest + 1); k > 0; --k)
                    name.append(alphabet[zufall.bounded(alphabet.size())]);
                l.push_back(eintrag(0, i, name));
            }
            Notenliste erwartet = l;
            austauschsortierung(erwartet, nameKleiner);
            sortierung::nachName(l);
            QCOMPARE(ids(l), ids(erwartet));
        }
    }

    void leerUndEinzeln() {
        Notenliste leer;
        sortierung::nachName(leer);
        sortierung::nachNote(leer);
        QVERIFY(leer.isEmpty());
        Notenliste eins = {eintrag(2, 7, "Zoe")};
        sortierung::nachName(eins);
        sortierung::nachNote(eins);
        QCOMPARE(ids(eins), QList<int>({7}));
    }

    void namenNachBytes() {
        Notenliste l;
        int id = 0;
        for (const char* n : {"b", "\xC4rger", "Zoe", "anna", "Anna", "Ann", " x", "9"})
            l.push_back(eintrag(0, id++, n));
        sortierung::nachName(l);
        QStringList namen;
        for (const auto& e : l)
            namen << e.nameText();
        QCOMPARE(namen, QStringList({" x", "9", "Ann", "Anna", "Zoe", "anna", "b", "Ärger"}));
    }

    void nanBleibtStehen() {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        Notenliste l = {eintrag(3, 0), eintrag(nan, 1), eintrag(1, 2),
                        eintrag(2, 3), eintrag(nan, 4), eintrag(1, 5)};
        vergleicheNachNote(l);
        sortierung::nachNote(l);
        QCOMPARE(ids(l), QList<int>({2, 1, 5, 3, 4, 0}));
    }
};

QTEST_GUILESS_MAIN(TestSortierung)
#include "tst_sortierung.moc"
