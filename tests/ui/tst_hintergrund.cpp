// SPDX-License-Identifier: GPL-3.0-or-later
// Long work on a worker under the real main window, offscreen: the window's event loop serves
// events while the work runs, the commands that change the list wait, a cancel changes nothing
// (list and files as before), and an error raised on the worker shows its message. The work is
// held at its progress reports (fortschritt::setzeTesthalt) until the test lets it go: nothing
// here depends on how fast anything runs.
#include "Ergebnisfenster.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Hauptfenster.h"
#include "Hintergrund.h"
#include "Notendatei.h"
#include "Programm.h"
#include "Reportdruck.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "XlsxExport.h"
#include "importform.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTextDocument>
#include <atomic>

namespace {

// Holds the work at its n-th report (1: the check before it starts) and runs `aufDemFenster` on
// the window thread, which can only happen while the window's event loop runs; the work goes on
// once that has released it.
class Halt {
public:
    Halt(int beiMeldung, std::function<void(Halt&)> aufDemFenster)
        : m_bei(beiMeldung), m_aufDemFenster(std::move(aufDemFenster)) {
        fortschritt::setzeTesthalt([this] {
            if (++m_meldungen != m_bei)
                return;
            QMetaObject::invokeMethod(
                qApp, [this] { m_aufDemFenster(*this); }, Qt::QueuedConnection);
            m_frei.acquire();
        });
    }
    ~Halt() { fortschritt::setzeTesthalt({}); }
    void freigeben() { m_frei.release(); }
    bool erreicht() const { return m_meldungen >= m_bei; }

private:
    int m_bei;
    std::function<void(Halt&)> m_aufDemFenster;
    std::atomic<int> m_meldungen{0};
    QSemaphore m_frei;
};

// Lets the held work go on when it goes out of scope, also when a check failed on the way.
struct Freigabe {
    Halt& halt;
    ~Freigabe() { halt.freigeben(); }
};

// The progress dialog that stands, whichever window it belongs to.
QProgressDialog* fortschrittsdialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

// Clicks "Abbrechen" in the progress dialog once it stands, then lets the work go on.
void brichAb(Halt& halt) {
    QProgressDialog* d = fortschrittsdialog();
    if (!d) {
        QTimer::singleShot(1, [&halt] { brichAb(halt); });
        return;
    }
    const Freigabe frei{halt};
    auto* knopf = d->findChild<QAbstractButton*>();
    QVERIFY(knopf);
    QCOMPARE(knopf->text(), QStringLiteral("Abbrechen"));
    knopf->click();
}

// Answers the save dialog with an existing file and its question with "Yes".
void ueberschreibe(const QString& pfad) {
    QTimer::singleShot(0, [pfad] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(pfad);
        QTimer::singleShot(0, [] {
            auto* frage = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(frage);
            frage->button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog*>(dialog)->accept();
    });
}

Notenliste grosseListe(qsizetype n) {
    Notenliste l;
    for (qsizetype i = 0; i < n; ++i)
        l.push_back(testeintrag("Prüfling " + QByteArray::number(i), double(i % 60), 1.0 + double(i % 5)));
    return l;
}

} // namespace

class TestHintergrund : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() {
        m_umgebung.vergiss();
        hintergrund::setzeTestverzoegerung(0); // the dialog at once, so a test can click it
    }
    void cleanup() { hintergrund::setzeTestverzoegerung(-1); }

    // A million entries exported while the window's loop serves a posted call: the work is held
    // until that call ran, and meanwhile the list's commands wait and the dialog shows.
    void exportLaesstDasFensterArbeiten_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("CSV") << "liste.csv";
        QTest::newRow("xlsx") << "liste.xlsx";
    }
    void exportLaesstDasFensterArbeiten() {
        QFETCH(QString, datei);
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = grosseListe(1'000'000);
        h->Anzeigen();
        QTemporaryDir dir;
        const QString pfad = dir.filePath(datei);
        bool bedient = false;
        Halt halt(1, [&](Halt& selbst) {
            const Freigabe frei{selbst};
            QVERIFY(hintergrund::laeuft());
            QVERIFY(!h->SortierennachName1->isEnabled());
            QVERIFY(!h->importierencsv->isEnabled());
            QVERIFY(!h->Rueckgaengig1->isEnabled());
            QVERIFY(h->Hilfe2->isEnabled());
            bedient = true;
        });
        uitest::beantworteDateidialog(pfad);
        h->SpeichernCSV1->trigger();
        QVERIFY(bedient);
        QVERIFY(!hintergrund::laeuft());
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QVERIFY(h->SortierennachName1->isEnabled());
        QVERIFY(!fortschrittsdialog());
        const QByteArray inhalt = inhaltVon(pfad);
        if (datei.endsWith(".csv")) {
            QCOMPARE(inhalt.count("\r\n"), 1'000'000);
            QVERIFY(inhalt.startsWith("Prüfling 0;0;1\r\n"));
        } else {
            QVERIFY(inhalt.startsWith("PK"));
        }
    }

    // Cancelled while the file comes in: the list, its copy, the classes, the grid and the
    // status line as before, and no message.
    void abgebrochenesEinlesenAendertNichts_data() {
        QTest::addColumn<QString>("befehl");
        QTest::newRow("Öffnen") << "oeffnen";
        QTest::newRow("Importieren (CSV)") << "importieren";
        QTest::newRow("Anfügen (CSV)") << "anfuegen";
        QTest::newRow("Importieren (xlsx)") << "mappe";
    }
    void abgebrochenesEinlesenAendertNichts() {
        QFETCH(QString, befehl);
        Programm p;
        THauptformular* h = p.Hauptformular();
        TImporteinstellungen* e = p.Importeinstellungen();
        e->vorname->setCurrentIndex(1);
        e->punkte->setCurrentIndex(2);
        h->daten().FEintraege = {testeintrag("Alt", 1, 2)};
        h->daten().FOriginal = {testeintrag("Original", 2, 3)};
        h->daten().FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        h->Anzeigen();

        QTemporaryDir dir;
        const Notenliste gross = grosseListe(300'000);
        QString pfad;
        if (befehl == "oeffnen") {
            pfad = dir.filePath("kurs.noten");
            notendatei::schreibe(pfad, gross);
        } else if (befehl == "mappe") {
            pfad = dir.filePath("kurs.xlsx");
            exportiereXlsx(pfad, gross);
        } else {
            pfad = dir.filePath("kurs.csv");
            QByteArray csv = "Name;Punkte\r\n";
            for (int i = 0; i < 300'000; ++i)
                csv += "Prüfling " + QByteArray::number(i) + ";12,5\r\n";
            schreibeTestdatei(pfad, csv);
        }
        const QByteArray datei = inhaltVon(pfad);
        // Held at its first report from inside the reading, cancelled there.
        Halt halt(2, [](Halt& selbst) { brichAb(selbst); });
        uitest::beantworteDateidialog(pfad);
        if (befehl == "oeffnen")
            h->oeffnen->trigger();
        else
            (befehl == "anfuegen" ? h->AnfgenCSV1 : h->importierencsv)->trigger();
        QVERIFY(halt.erreicht());
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(h->daten().FEintraege.size(), 1);
        QCOMPARE(h->daten().FEintraege[0].nameText(), QStringLiteral("Alt"));
        QCOMPARE(h->daten().FOriginal[0].nameText(), QStringLiteral("Original"));
        QCOMPARE(h->daten().FKlassen.size(), std::size_t(1));
        QCOMPARE(h->modell().rowCount(), 1);
        QVERIFY(!h->verlauf().kannRueckgaengig());
        QCOMPARE(inhaltVon(pfad), datei);
    }

    // Cancelled while the file is written: an existing file stays byte for byte.
    void abgebrochenesSchreibenLaesstDieDatei_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("Speichern") << "kurs.noten";
        QTest::newRow("Exportieren (xlsx)") << "kurs.xlsx";
        QTest::newRow("Exportieren (CSV)") << "kurs.csv";
    }
    void abgebrochenesSchreibenLaesstDieDatei() {
        QFETCH(QString, datei);
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = grosseListe(300'000);
        QTemporaryDir dir;
        const QString pfad = dir.filePath(datei);
        schreibeTestdatei(pfad, "was vorher da war\r\n");
        Halt halt(2, [](Halt& selbst) { brichAb(selbst); });
        ueberschreibe(pfad);
        (datei.endsWith(".noten") ? h->Speichern1 : h->SpeichernCSV1)->trigger();
        QVERIFY(halt.erreicht());
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(inhaltVon(pfad), QByteArray("was vorher da war\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({datei}));
    }

    // The report as PDF is drawn on a worker from a copy; a cancel before the file is complete
    // leaves the one there, and without one the new file replaces it.
    void pdfImHintergrund() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = {testeintrag("Anna", 48, 1.3), testeintrag("Bert", 30, 3.0)};
        h->daten().OriginalMerken();
        h->Ergebnis1->trigger();
        TErgebnis* e = p.Ergebnis();
        QTemporaryDir dir;
        const QString pfad = dir.filePath("report.pdf");
        schreibeTestdatei(pfad, "alt");
        {
            Halt halt(2, [](Halt& selbst) { brichAb(selbst); });
            uitest::beantworteDateidialog(pfad);
            e->pdfbut->trigger();
            QVERIFY(halt.erreicht());
        }
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(inhaltVon(pfad), QByteArray("alt"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"report.pdf"}));

        uitest::beantworteDateidialog(pfad);
        e->pdfbut->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QVERIFY(inhaltVon(pfad).startsWith("%PDF"));
        QVERIFY(e->report->toPlainText().contains("Anna")); // the window's own document is untouched
    }

    // The report window fills its document on a worker: a cancel keeps the report shown before,
    // and let go, the new one replaces it.
    void reportSetzenImHintergrund() {
        Programm p;
        TErgebnis* e = p.Ergebnis();
        e->zeigeZeilen(Reportzeilen{{Stil::Normal, "Der alte Report"}});
        QCOMPARE(e->report->toPlainText(), QStringLiteral("Der alte Report"));

        Reportzeilen lang;
        for (int i = 0; i < 20'000; ++i)
            lang.push_back({Stil::Normal, QStringLiteral("Zeile %1").arg(i)});
        {
            Halt halt(2, [](Halt& selbst) { brichAb(selbst); });
            QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, e->zeigeZeilen(lang));
            QVERIFY(halt.erreicht());
        }
        QCOMPARE(e->report->toPlainText(), QStringLiteral("Der alte Report"));

        e->zeigeZeilen(lang);
        QVERIFY(e->report->toPlainText().endsWith(QStringLiteral("Zeile 19999")));
        QCOMPARE(e->report->document()->blockCount(), 20'000);
    }

    // The report as RTF the same way: held inside the writer and cancelled, the old file stays;
    // let go, the report replaces it.
    void rtfImHintergrund() {
        QTextDocument dokument;
        QString text;
        for (int i = 0; i < 20'000; ++i)
            text += QStringLiteral("Zeile %1\n").arg(i);
        dokument.setPlainText(text);
        const QString vorher = dokument.toPlainText();
        QTemporaryDir dir;
        const QString pfad = dir.filePath("report.rtf");
        schreibeTestdatei(pfad, "alt");
        {
            Halt halt(2, [](Halt& selbst) { brichAb(selbst); });
            Fehlerbericht::ausfuehren([&] { reportdruck::speichereAlsRtf(pfad, dokument); });
            QVERIFY(halt.erreicht());
        }
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(inhaltVon(pfad), QByteArray("alt"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"report.rtf"}));
        Fehlerbericht::ausfuehren([&] { reportdruck::speichereAlsRtf(pfad, dokument); });
        QVERIFY(m_umgebung.meldungen.isEmpty());
        const QByteArray rtf = inhaltVon(pfad);
        QVERIFY(rtf.startsWith("{\\rtf"));
        QVERIFY(rtf.contains("Zeile 19999"));
        QCOMPARE(dokument.toPlainText(), vorher); // the document itself as it was
    }

    // An error on the worker shows its text on the window thread, as it did without one.
    void fehlerAufDemArbeiterZeigtSich() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = {testeintrag("Anna", 1, 1)};
        QTemporaryDir dir;
        const QString pfad = dir.filePath("fehlt/liste.csv");
        uitest::beantworteDateidialog(pfad);
        h->SpeichernCSV1->trigger();
        QCOMPARE(m_umgebung.meldungen.size(), 1);
        QVERIFY2(m_umgebung.meldungen[0].endsWith(QDir::toNativeSeparators(pfad)),
                 qPrintable(m_umgebung.meldungen[0]));
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>({meldung::Art::Ausnahme}));

        m_umgebung.vergiss();
        Fehlerbericht::ausfuehren(
            [] { hintergrund::laufe(nullptr, "Test", [] { fehler::abbruchMitFehlerbericht("Kaputt"); }); });
        QCOMPARE(m_umgebung.meldungen, QStringList({"Kaputt"}));
    }

    // A second job while one runs is refused; the first one's result comes back all the same.
    void zweiteArbeitWirdAbgewiesen() {
        int ergebnis = 0;
        Halt halt(1, [](Halt& selbst) {
            const Freigabe frei{selbst};
            Fehlerbericht::ausfuehren([] { hintergrund::laufe(nullptr, "Zweite", [] {}); });
        });
        Fehlerbericht::ausfuehren(
            [&] { ergebnis = hintergrund::fuehreAus(nullptr, "Erste", [] { return 42; }); });
        QCOMPARE(ergebnis, 42);
        QCOMPARE(m_umgebung.meldungen.size(), 1);
        QVERIFY(m_umgebung.meldungen[0].startsWith("Skalora arbeitet noch."));
    }
};

QTEST_MAIN(TestHintergrund)
#include "tst_hintergrund.moc"
