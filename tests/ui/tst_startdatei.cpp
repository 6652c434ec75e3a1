// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the record file the program is started with, as a double click on the desktop does.
#include "Hauptfenster.h"
#include "Notendatei.h"
#include "Programm.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
QStringList namen(const Notenliste& liste) {
    QStringList n;
    for (const TNotenEintrag& e : liste)
        n << e.nameText();
    return n;
}
} // namespace

class TestStartdatei : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();
    QTemporaryDir m_ordner;

    QString pfad(const QString& name) const { return m_ordner.filePath(name); }

private slots:
    void initTestCase() {
        const Notenliste kurs = {testeintrag("Zoe", 48, 1.7, u'B'), testeintrag("Anton", 12.5, 5.0, u'F')};
        notendatei::schreibe(pfad(QStringLiteral("kurs.noten")), kurs);
        notendatei::schreibe(pfad(QStringLiteral("KURS.NOTEN")), kurs);
        notendatei::schreibe(pfad(QStringLiteral("kurs.csv")), kurs);
    }

    void argumente_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<QStringList>("liste"); // names in FEintraege and FOriginal afterwards
        // A file error is the general error report's; what the program words itself is an error box.
        QTest::addColumn<meldung::Art>("art");

        const QStringList vorher = {"Berta"};
        const QStringList kurs = {"Zoe", "Anton"};
        QTest::newRow("keins") << QStringList() << QStringList() << vorher << meldung::Art::Fehler;
        QTest::newRow("Notendatei") << QStringList{pfad("kurs.noten")} << QStringList() << kurs
                                    << meldung::Art::Fehler;
        QTest::newRow("Endung groß") << QStringList{pfad("KURS.NOTEN")} << QStringList() << kurs
                                     << meldung::Art::Fehler;
        QTest::newRow("fehlt") << QStringList{pfad("weg.noten")}
                               << QStringList{"Datei nicht gefunden\n" + pfad("weg.noten")} << vorher
                               << meldung::Art::Ausnahme;
        QTest::newRow("fremd") << QStringList{pfad("kurs.csv")}
                               << QStringList{"„" + pfad("kurs.csv") + "“ ist keine Notendatei (*.noten)."}
                               << vorher << meldung::Art::Fehler;
        QTest::newRow("zwei") << QStringList{pfad("kurs.noten"), pfad("kurs.noten")}
                              << QStringList{"Skalora öffnet nur eine Notendatei auf einmal."} << vorher
                              << meldung::Art::Fehler;
    }

    void argumente() {
        QFETCH(QStringList, argumente);
        QFETCH(QStringList, meldungen);
        QFETCH(QStringList, liste);
        QFETCH(meldung::Art, art);
        m_umgebung.vergiss();
        Programm programm;
        THauptformular* h = programm.Hauptformular();
        h->daten().FEintraege = {testeintrag("Berta", 30, 3.0)};
        h->daten().OriginalMerken();
        h->Anzeigen();

        h->oeffneAufruf(argumente);
        QCOMPARE(m_umgebung.meldungen, meldungen);
        if (!meldungen.isEmpty())
            QCOMPARE(m_umgebung.arten.front(), art);
        QCOMPARE(namen(h->daten().FEintraege), liste);
        QCOMPARE(namen(h->daten().FOriginal), liste);
        // The grid lists what the list holds.
        QCOMPARE(h->modell().rowCount(), liste.size());
        QCOMPARE(h->modell().zellText(1, 1), liste.front());
    }

    void geoeffnetWieMitOeffnen() {
        // Points, grades and letters arrive whole, and "Ursprüngliche Reihenfolge" returns to the file's
        // order.
        m_umgebung.vergiss();
        Programm programm;
        THauptformular* h = programm.Hauptformular();
        h->oeffneAufruf({pfad(QStringLiteral("kurs.noten"))});
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(h->modell().zellText(2, 1), QStringLiteral("48,0"));
        QCOMPARE(h->modell().zellText(3, 1), QStringLiteral("1,7"));
        QCOMPARE(h->modell().zellText(4, 2), QStringLiteral("F"));
        h->SortierennachName1->trigger();
        QCOMPARE(namen(h->daten().FEintraege), QStringList({"Anton", "Zoe"}));
        h->UrsrnglicheReihenfolge1->trigger();
        QCOMPARE(namen(h->daten().FEintraege), QStringList({"Zoe", "Anton"}));
    }

    void programmStartetTrotzFehlender() {
        // The real program with a file that is not there: it reports and keeps running.
        QProcess skalora;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        umgebung.insert(QStringLiteral("XDG_CONFIG_HOME"), m_ordner.path());
        skalora.setProcessEnvironment(umgebung);
        skalora.start(QStringLiteral(SKALORA_PROGRAMM), {pfad(QStringLiteral("weg.noten"))});
        QVERIFY(skalora.waitForStarted());
        QVERIFY2(!skalora.waitForFinished(1500), skalora.readAllStandardError().constData());
        skalora.kill();
        skalora.waitForFinished();
    }
};

QTEST_MAIN(TestStartdatei)
#include "tst_startdatei.moc"
