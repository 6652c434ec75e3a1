// SPDX-License-Identifier: GPL-3.0-or-later
// The record file and the list operations on the main window's state.
#include "Auswertung.h"
#include "Dateigrenze.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Notendatei.h"
#include "Testdaten.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <limits>
#include <new>

namespace {
QByteArray alsBytes(const Notenliste& l) {
    QBuffer puffer;
    puffer.open(QIODevice::WriteOnly);
    notendatei::schreibe(puffer, l);
    return puffer.data();
}

Notenliste ausBytes(const QByteArray& bytes) {
    QBuffer puffer;
    puffer.setData(bytes);
    puffer.open(QIODevice::ReadOnly);
    return notendatei::lese(puffer);
}

// A device that claims a size of its own, whatever it holds.
class Groessengeraet : public QBuffer {
public:
    Groessengeraet(const QByteArray& inhalt, qint64 groesse) : m_groesse(groesse) { setData(inhalt); }
    qint64 size() const override { return m_groesse; }

private:
    qint64 m_groesse;
};

QStringList namen(const Notenliste& l) {
    QStringList r;
    for (const auto& e : l)
        r << e.nameText();
    return r;
}
} // namespace

class TestNotendatei : public QObject {
    Q_OBJECT

private slots:
    void satzAufbau() {
        const TNotenEintrag e = testeintrag("Anna Meier", 17.5, 2.3, u'B');
        QByteArray b(reinterpret_cast<const char*>(&e), sizeof e);
        QCOMPARE(b.size(), 56);
        QCOMPARE(static_cast<int>(b[0]), 10);
        QCOMPARE(b.mid(1, 10), QByteArray("Anna Meier"));
        double p = 0, n = 0;
        std::memcpy(&p, b.constData() + 32, 8);
        std::memcpy(&n, b.constData() + 40, 8);
        QCOMPARE(p, 17.5);
        QCOMPARE(n, 2.3);
        QCOMPARE(static_cast<int>(b[48]), int('B'));
        QCOMPARE(static_cast<int>(b[49]), 0);
    }

    void rundreiseGleicheBytes() {
        // Bytes without meaning survive a read and a write.
        QByteArray datei =
            alsBytes({testeintrag("Anna", 17.5, 2.3, u'A'), testeintrag("\xC4rger Zo\xEB", 0, 6.3)});
        datei[20] = 'x';    // name room after the name
        datei[31] = 7;      // alignment byte
        datei[56 + 53] = 9; // alignment after the letter
        const Notenliste gelesen = ausBytes(datei);
        QCOMPARE(namen(gelesen), QStringList({"Anna", "Ärger Zoë"}));
        QCOMPARE(gelesen[0].punkte, 17.5);
        QCOMPARE(gelesen[1].note, 6.3);
        QCOMPARE(gelesen[0].ects, u'A');
        QCOMPARE(alsBytes(gelesen), datei);
    }

    void groessen_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("saetze");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one record") << 56 << 1;
        QTest::newRow("trailing bytes ignored") << 100 << 1;
        QTest::newRow("just short of two") << 111 << 1;
    }
    void groessen() {
        QFETCH(int, bytes);
        QFETCH(int, saetze);
        QByteArray daten(bytes, 'a');
        QCOMPARE(static_cast<int>(ausBytes(daten).size()), saetze);
    }

    void laengeUeber30() {
        QByteArray satz(56, 'n');
        satz[0] = char(200);
        const Notenliste l = ausBytes(satz);
        QCOMPARE(l[0].laenge, 30);
        QCOMPARE(l[0].nameText(), QString(30, u'n'));
    }

    // The size decides how much room the reader takes: a size beyond what can be held is refused
    // before anything is taken, and a device that holds less than it claims is an error.
    void behaupteteGroesse_data() {
        QTest::addColumn<qint64>("behauptet");
        QTest::addColumn<int>("saetze");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("a petabyte, two records held") << qint64(1) << 2 << "Zu wenig Arbeitsspeicher";
        QTest::newRow("five records claimed, two held")
            << qint64(5 * 56) << 2 << "Versuch hinter dem Dateiende zu lesen";
        QTest::newRow("claim and content agree") << qint64(2 * 56) << 2 << "";
    }
    void behaupteteGroesse() {
        QFETCH(qint64, behauptet);
        QFETCH(int, saetze);
        QFETCH(QString, fehler);
        if (behauptet == 1)
            behauptet = qint64(1) << 50;
        Notenliste liste;
        for (int i = 0; i < saetze; ++i)
            liste.push_back(testeintrag("Anna", i));
        Groessengeraet geraet(alsBytes(liste), behauptet);
        QVERIFY(geraet.open(QIODevice::ReadOnly));
        QString text;
        try {
            QCOMPARE(notendatei::lese(geraet).size(), qsizetype(saetze));
        } catch (const Fehler& f) {
            text = f.text();
        }
        QCOMPARE(text, fehler);
    }

    // A file too large for what can be held names itself; the limit stands in for memory.
    void zuGrosseDateiNenntSich() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("film.noten"));
        notendatei::schreibe(pfad, {testeintrag("A"), testeintrag("B"), testeintrag("C")});
        listengrenze::setzeTestgrenze(2);
        QString text;
        try {
            notendatei::lese(pfad);
        } catch (const Fehler& f) {
            text = f.text();
        }
        listengrenze::setzeTestgrenze(0);
        QCOMPARE(text, "Zu wenig Arbeitsspeicher, um „" + QDir::toNativeSeparators(pfad) +
                           "“ zu öffnen (3 Einträge). Die Liste bleibt, wie sie war.");
        QCOMPARE(notendatei::lese(pfad).size(), qsizetype(3));
    }

    void listengrenze_data() {
        QTest::addColumn<qsizetype>("grenze");
        QTest::addColumn<qsizetype>("eintraege");
        QTest::addColumn<bool>("geht");
        QTest::newRow("none asked") << qsizetype(0) << qsizetype(0) << true;
        QTest::newRow("a hundred thousand") << qsizetype(0) << qsizetype(100'000) << true;
        QTest::newRow("more than the grid numbers")
            << qsizetype(0) << qsizetype(std::numeric_limits<int>::max()) << false;
        QTest::newRow("beyond any memory")
            << qsizetype(0) << std::numeric_limits<qsizetype>::max() / 8 << false;
        QTest::newRow("negative") << qsizetype(0) << qsizetype(-1) << false;
        QTest::newRow("at a test limit") << qsizetype(5) << qsizetype(5) << true;
        QTest::newRow("beyond a test limit") << qsizetype(5) << qsizetype(6) << false;
    }
    void listengrenze() {
        QFETCH(qsizetype, grenze);
        QFETCH(qsizetype, eintraege);
        QFETCH(bool, geht);
        listengrenze::setzeTestgrenze(grenze);
        bool ging = true;
        Notenliste l;
        try {
            l = listengrenze::mitPlatz(eintraege);
        } catch (const std::bad_alloc&) {
            ging = false;
        }
        listengrenze::setzeTestgrenze(0);
        QCOMPARE(ging, geht);
        QVERIFY(l.isEmpty());
        if (geht)
            QVERIFY(l.capacity() >= eintraege);
    }

    void dateiRundreise() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("kurs.noten"));
        const Notenliste l = {testeintrag("Anna", 17.5, 2.3), testeintrag("Bert", 3, 6)};
        notendatei::schreibe(pfad, l);
        QCOMPARE(QFileInfo(pfad).size(), 112);
        QCOMPARE(namen(notendatei::lese(pfad)), QStringList({"Anna", "Bert"}));
        notendatei::schreibe(pfad, {});
        QCOMPARE(QFileInfo(pfad).size(), 0);
    }

    void fehlendeDatei() {
        QTemporaryDir dir;
        try {
            notendatei::lese(dir.filePath(QStringLiteral("weg.noten")));
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.text().section(u'\n', 0, 0), QStringLiteral("Datei nicht gefunden"));
        }
    }

    void fehlgeschlagenesSpeichernLaesstDateiGanz() {
        // The disk fills up while saving: an error, and the old file stays as it was.
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("kurs.noten"));
        notendatei::schreibe(pfad, {testeintrag("Anna", 1, 1)});
        {
            const Dateigrenze grenze(100);
            QVERIFY(grenze.aktiv());
            QVERIFY_THROWS_EXCEPTION(
                Fehler, notendatei::schreibe(pfad, {testeintrag("Bert", 2, 2), testeintrag("Carl", 3, 3)}));
        }
        QCOMPARE(namen(notendatei::lese(pfad)), QStringList({"Anna"}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"kurs.noten"}));
    }

    // Files that cannot have been written as records, each with the one sign it shows; the
    // program's own records (a letter, zeros in the alignment, extreme but finite numbers) none.
    void befund_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("zeichen");
        auto satz = [](TNotenEintrag e) { return QByteArray(reinterpret_cast<const char*>(&e), sizeof e); };
        const QByteArray gut = satz(testeintrag("Anna", 17.5, 2.3, u'B'));
        QTest::newRow("eigene") << gut + satz(testeintrag("", -1e15, 1e15)) << "";
        QTest::newRow("leer") << QByteArray() << "";
        QTest::newRow("Rest") << gut + "x"
                              << "restbytes";
        TNotenEintrag lang = testeintrag("Anna");
        lang.laenge = 31;
        QTest::newRow("Länge 31") << gut + satz(lang) << "langerName";
        for (const double x :
             {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1.5e15}) {
            TNotenEintrag punkte = testeintrag("Anna", x), note = testeintrag("Anna", 1, x);
            QTest::addRow("Punkte %g", x) << satz(punkte) << "zahlen";
            QTest::addRow("Note %g", x) << satz(note) << "zahlen";
        }
        // 56 bytes of a text file; its length byte "V" would be cut, its numbers are finite and small.
        QByteArray text = "\x1e" + QByteArray(30, 'a') + "\x30" + QByteArray(24, '\x30');
        QTest::newRow("Text") << text << "textartig";
        QByteArray textMitZeilen = text;
        textMitZeilen[40] = '\r';
        textMitZeilen[41] = '\n';
        QTest::newRow("Text mit Zeilenende") << textMitZeilen << "textartig";
    }
    void befund() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, zeichen);
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        notendatei::Befund b;
        const Notenliste l = notendatei::lese(puffer, &b);
        QCOMPARE(l.size(), bytes.size() / 56);
        QStringList ist;
        if (b.restbytes)
            ist << "restbytes";
        if (b.langerName)
            ist << "langerName";
        if (b.textartig)
            ist << "textartig";
        if (b.zahlen)
            ist << "zahlen";
        QCOMPARE(ist.join(u','), zeichen);
        QCOMPARE(b.plausibel(), zeichen.isEmpty());
    }

    // A CSV file as a user picks it under "Alles (*.*)" shows itself as text.
    void csvDateiIstKeineNotendatei() {
        QByteArray csv;
        for (int i = 0; i < 4; ++i)
            csv += "Vorname;Nachname;Punkte\r\nAnna;Meier;17,5\r\nBert;Roth;12\r\n";
        QBuffer puffer(&csv);
        puffer.open(QIODevice::ReadOnly);
        notendatei::Befund b;
        QCOMPARE(notendatei::lese(puffer, &b).size(), csv.size() / 56);
        QVERIFY(!b.plausibel());
        QVERIFY(b.textartig && b.langerName);
    }

    // Cancelled while the blocks go out: no commit, the old file stays byte for byte.
    void abgebrochenesSpeichernLaesstDateiGanz() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("kurs.noten"));
        notendatei::schreibe(pfad, {testeintrag("Anna", 1, 1)});
        const QByteArray vorher = inhaltVon(pfad);
        fortschritt::Stand stand;
        const fortschritt::Bindung bindung(stand);
        int meldungen = 0;
        fortschritt::setzeTesthalt([&] {
            if (++meldungen == 1)
                stand.abbrechen = true;
        });
        // More than one block, so the cancel comes between two of them.
        const Notenliste viele(200'000, testeintrag("Bert", 2, 2));
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, notendatei::schreibe(pfad, viele));
        fortschritt::setzeTesthalt({});
        QCOMPARE(inhaltVon(pfad), vorher);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"kurs.noten"}));
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, notendatei::lese(pfad));
    }

    void zeilenLoeschen() {
        Auswertung a;
        for (const char* n : {"A", "B", "C", "D", "E"})
            a.FEintraege.push_back(testeintrag(n, 0, 0));
        a.ZeilenLoeschen(2, 4);
        QCOMPARE(namen(a.FEintraege), QStringList({"A", "E"}));
        QCOMPARE(namen(a.FOriginal), QStringList({"A", "E"}));
        // Rows beyond the list are ignored, and nothing before row 1 is touched.
        a.ZeilenLoeschen(2, 9);
        QCOMPARE(namen(a.FEintraege), QStringList({"A"}));
        a.ZeilenLoeschen(0, 0);
        QCOMPARE(namen(a.FEintraege), QStringList({"A"}));
    }

    void loeschenInLeererListe() {
        Auswertung a;
        a.FOriginal.push_back(testeintrag("X", 0, 0));
        try {
            a.ZeilenLoeschen(1, 1);
            QFAIL("no error");
        } catch (const Fehler& f) {
            QCOMPARE(f.text(), QStringLiteral("Fehler bei Bereichsprüfung"));
        }
        QCOMPARE(namen(a.FOriginal), QStringList({"X"}));
    }

    void sortierenLoeschenWiederherstellen() {
        Auswertung a;
        for (const char* n : {"Carl", "Anna", "Bert", "Dora"})
            a.FEintraege.push_back(testeintrag(n, 0, 0));
        a.OriginalMerken();
        a.SortierenNachName();
        a.ZeilenLoeschen(2, 2);
        a.FEintraege.clear();
        a.UrspruenglicheReihenfolge();
        QCOMPARE(namen(a.FEintraege), QStringList({"Anna", "Carl", "Dora"}));
    }

    void notenUebernehmen() {
        Auswertung a;
        a.FOriginal = {testeintrag("Anna", 1, 0), testeintrag("anna", 2, 0), testeintrag("Anna", 3, 0),
                       testeintrag("Bert", 4, 5)};
        a.FEintraege = {testeintrag("Anna", 1, 2.0, u'B'), testeintrag("Anna", 3, 3.0, u'C'),
                        testeintrag("Carl", 0, 1)};
        a.NotenUebernehmen();
        QCOMPARE(a.FOriginal[0].note, 3.0); // the last of the equal names wins
        QCOMPARE(a.FOriginal[0].ects, u'C');
        QCOMPARE(a.FOriginal[0].punkte, 1.0);
        QCOMPARE(a.FOriginal[1].note, 0.0); // case differs: no match
        QCOMPARE(a.FOriginal[2].note, 0.0); // only the first equal name is updated
        QCOMPARE(a.FOriginal[3].note, 5.0);

        Auswertung leer;
        leer.FEintraege = {testeintrag("Anna", 1, 2)};
        leer.NotenUebernehmen();
        QVERIFY(leer.FOriginal.empty());
    }
};

QTEST_GUILESS_MAIN(TestNotendatei)
#include "tst_notendatei.moc"
