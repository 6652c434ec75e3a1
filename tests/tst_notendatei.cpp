// The record file and the list operations on the main window's state.
#include "Dateigrenze.h"
#include "Fehler.h"
#include "Notendatei.h"
#include "results.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {
TNotenEintrag eintrag(const char* name, double punkte, double note, char16_t ects = 0) {
    TNotenEintrag e = leererEintrag();
    e.setzeName(name);
    e.punkte = punkte;
    e.note = note;
    e.ects = ects;
    return e;
}

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
        const TNotenEintrag e = eintrag("Anna Meier", 17.5, 2.3, u'B');
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
        QByteArray datei = alsBytes({eintrag("Anna", 17.5, 2.3, u'A'), eintrag("\xC4rger Zo\xEB", 0, 6.3)});
        datei[20] = 'x';   // name room after the name
        datei[31] = 7;     // alignment byte
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

    void dateiRundreise() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("kurs.noten"));
        const Notenliste l = {eintrag("Anna", 17.5, 2.3), eintrag("Bert", 3, 6)};
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
            QCOMPARE(f.text(), QStringLiteral("Datei nicht gefunden"));
        }
    }

    void fehlgeschlagenesSpeichernLaesstDateiGanz() {
        // The disk fills up while saving: an error, and the old file stays as it was.
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("kurs.noten"));
        notendatei::schreibe(pfad, {eintrag("Anna", 1, 1)});
        {
            const Dateigrenze grenze(100);
            QVERIFY(grenze.aktiv());
            QVERIFY_THROWS_EXCEPTION(Fehler, notendatei::schreibe(pfad, {eintrag("Bert", 2, 2), eintrag("Carl", 3, 3)}));
        }
        QCOMPARE(namen(notendatei::lese(pfad)), QStringList({"Anna"}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"kurs.noten"}));
    }

    void zeilenLoeschen() {
        Auswertung a;
        for (const char* n : {"A", "B", "C", "D", "E"})
            a.FEintraege.push_back(eintrag(n, 0, 0));
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
        a.FOriginal.push_back(eintrag("X", 0, 0));
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
            a.FEintraege.push_back(eintrag(n, 0, 0));
        a.OriginalMerken();
        a.SortierenNachName();
        a.ZeilenLoeschen(2, 2);
        a.FEintraege.clear();
        a.UrspruenglicheReihenfolge();
        QCOMPARE(namen(a.FEintraege), QStringList({"Anna", "Carl", "Dora"}));
    }

    void notenUebernehmen() {
        Auswertung a;
        a.FOriginal = {eintrag("Anna", 1, 0), eintrag("anna", 2, 0), eintrag("Anna", 3, 0), eintrag("Bert", 4, 5)};
        a.FEintraege = {eintrag("Anna", 1, 2.0, u'B'), eintrag("Anna", 3, 3.0, u'C'), eintrag("Carl", 0, 1)};
        a.NotenUebernehmen();
        QCOMPARE(a.FOriginal[0].note, 3.0); // the last of the equal names wins
        QCOMPARE(a.FOriginal[0].ects, u'C');
        QCOMPARE(a.FOriginal[0].punkte, 1.0);
        QCOMPARE(a.FOriginal[1].note, 0.0); // case differs: no match
        QCOMPARE(a.FOriginal[2].note, 0.0); // only the first equal name is updated
        QCOMPARE(a.FOriginal[3].note, 5.0);

        Auswertung leer;
        leer.FEintraege = {eintrag("Anna", 1, 2)};
        leer.NotenUebernehmen();
        QVERIFY(leer.FOriginal.empty());
    }
};

QTEST_GUILESS_MAIN(TestNotendatei)
#include "tst_notendatei.moc"
