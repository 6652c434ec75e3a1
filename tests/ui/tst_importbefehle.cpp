// SPDX-License-Identifier: GPL-3.0-or-later
// Importing through the real file dialog and pasting from the clipboard, offscreen.
#include "EnhEdit.h"
#include "Hauptfenster.h"
#include "Notendatei.h"
#include "Programm.h"
#include "Steuerelemente.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "XlsxExport.h"
#include "Zahltext.h"
#include "importform.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <limits>
#include <zip.h>

namespace {
QStringList zeilen(THauptformular* h) {
    QStringList r;
    for (int z = 1; z <= h->modell().rowCount(); ++z)
        r << h->modell().zellText(1, z) + u'|' + h->modell().zellText(2, z) + u'|' +
                 h->modell().zellText(4, z);
    return r;
}
const QByteArray kKurs = "Vorname;Nachname;Punkte\r\nAnna;Meier;17,5\r\nBert;Roth;x\r\n;;12\r\n";

// Columns first name 1, last name 2, points 3, and a list with its copy and classes to keep.
void richteEin(Programm& p) {
    THauptformular* h = p.Hauptformular();
    TImporteinstellungen* e = p.Importeinstellungen();
    e->vorname->setCurrentIndex(1);
    e->nachname->setCurrentIndex(2);
    e->punkte->setCurrentIndex(3);
    h->daten().FEintraege = {testeintrag("Alt", 1)};
    h->daten().FOriginal = {testeintrag("Original", 2), testeintrag("Alt", 1)};
    h->daten().FKlassen = {TNotenklasse{1, 2.0, u'B'}};
    h->Anzeigen();
}

// Everything an import or open must leave alone when it fails.
QStringList zustand(THauptformular* h) {
    QStringList r = zeilen(h);
    for (const auto& e : h->daten().FEintraege)
        r << "FEintraege " + e.nameText();
    for (const auto& e : h->daten().FOriginal)
        r << "FOriginal " + e.nameText();
    r << "FKlassen " + zahltext::ganz(h->daten().FKlassen.size());
    return r;
}

// Back to the messages the environment collects, after a test answered them itself.
void erfasseMeldungen(uitest::Umgebung& u) {
    meldung::setzeAnzeige([&u](meldung::Art art, const QString& text) {
        u.meldungen << text;
        u.arten << art;
        return true;
    });
}

// Presses Return in the next message box, once it stands (the record file is read on a worker
// first), noting its text and whether No is its default button.
void antworteMitReturn(QString* text, bool* neinVorgabe) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        QTimer::singleShot(1, [text, neinVorgabe] { antworteMitReturn(text, neinVorgabe); });
        return;
    }
    *text = box->text();
    *neinVorgabe = box->defaultButton() == box->button(QMessageBox::No);
    QTest::keyClick(box, Qt::Key_Return);
}

// Where the first file dialog of a fresh program starts: the documents folder, else home.
QString anfangsordner() {
    const QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(dokumente).exists() ? QDir(dokumente).absolutePath() : QDir::homePath();
}

QLabel* statustext(THauptformular* h) {
    return h->statusBar()->findChild<QLabel*>(QStringLiteral("Statustext"));
}

// Runs one of the four commands that bring a list in, with `csv` as the file or the clipboard
// (TAB for the clipboard); "oeffnen" opens a record file of three entries.
void fuehreAus(Programm& p, QTemporaryDir& dir, const QString& befehl, QByteArray csv) {
    THauptformular* h = p.Hauptformular();
    if (befehl == "oeffnen") {
        const QString datei = dir.filePath(QStringLiteral("kurs.noten"));
        notendatei::schreibe(datei, {testeintrag("A"), testeintrag("B"), testeintrag("C")});
        uitest::beantworteDateidialog(datei);
        h->oeffnen->trigger();
    } else if (befehl == "einfuegen") {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(csv.replace(';', '\t')));
        h->VomClipboardeinfgen1->trigger();
    } else {
        const QString datei = dir.filePath(QStringLiteral("kurs.csv"));
        schreibeTestdatei(datei, csv);
        uitest::beantworteDateidialog(datei);
        (befehl == "importieren" ? h->importierencsv : h->AnfgenCSV1)->trigger();
    }
}
} // namespace

class TestImportbefehle : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void dateiImportierenAnfuegenUndEinfuegen() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        TImporteinstellungen* e = p.Importeinstellungen();
        e->vorname->setCurrentIndex(1);
        e->nachname->setCurrentIndex(2);
        e->punkte->setCurrentIndex(3);

        QTemporaryDir dir;
        const QString datei = dir.filePath(QStringLiteral("kurs.csv"));
        schreibeTestdatei(
            datei, "Vorname;Nachname;Punkte\r\nAnna;Meier;17,5\r\nBert;Roth;x\r\n\xC4nne;\xD6hl;12\r\n");

        uitest::beantworteDateidialog(datei);
        h->importierencsv->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(zeilen(h), QStringList({"Anna Meier|17,5|A", "Änne Öhl|12,0|A"}));
        QCOMPARE(h->OpenDialog->selectedNameFilter(), QStringLiteral("CSV Dateien (*.csv)"));

        uitest::beantworteDateidialog(datei);
        h->AnfgenCSV1->trigger();
        QCOMPARE(h->modell().rowCount(), 4);

        // The paste takes TAB and the mode the last file import left: append.
        QGuiApplication::clipboard()->setText(QStringLiteral("Vorname\tNachname\tPunkte\nCarl\tKurz\t3,5\n"));
        h->VomClipboardeinfgen1->trigger();
        QCOMPARE(h->modell().rowCount(), 5);
        QCOMPARE(h->modell().zellText(1, 5), QStringLiteral("Carl Kurz"));
        QCOMPARE(h->daten().FOriginal.size(), std::size_t(5));
    }

    void spaltenFehlerBehaeltListe() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        TImporteinstellungen* e = p.Importeinstellungen();
        e->vorname->setCurrentIndex(1);
        e->punkte->setCurrentIndex(6);
        QGuiApplication::clipboard()->setText(QStringLiteral("Anna\t1\nBert\t2\n"));
        h->daten().FEintraege = {leererEintrag()};
        h->daten().FEintraege[0].setzeName("Alt");
        h->Anzeigen();
        h->daten().FErsetzen = true;
        h->VomClipboardeinfgen1->trigger();
        QCOMPARE(m_umgebung.meldungen, QStringList({kSpaltenFehler}));
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>({meldung::Art::Fehler}));
        QCOMPARE(zeilen(h), QStringList({"Alt|0,0|"}));
    }

    // Every command that brings a list in sums it up in the status bar; the tooltip names the
    // lines left out and why.
    void statusleiste_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("tooltip");
        const QString uebergangen =
            "Übergangene Zeilen:\n"
            "Zeile 3: Punkte „x“ sind keine Zahl im eingestellten Zahlenformat (Dezimaltrennzeichen „,“)\n"
            "Zeile 4: kein Name";
        const QString status = "1 Prüfling übernommen, 2 Zeilen übergangen, 1 Titelzeile übersprungen";
        // The title line leads the tooltip; from the clipboard its TABs show as blanks.
        const QString titel = "Titelzeile: „Vorname;Nachname;Punkte“\n";
        QTest::newRow("Importieren") << "importieren" << status << titel + uebergangen;
        QTest::newRow("Anfügen") << "anfuegen" << status << titel + uebergangen;
        QTest::newRow("Vom Clipboard einfügen")
            << "einfuegen" << status << "Titelzeile: „Vorname Nachname Punkte“\n" + uebergangen;
        QTest::newRow("Öffnen") << "oeffnen"
                                << "3 Prüflinge übernommen, 0 Zeilen übergangen"
                                << "";
    }
    void statusleiste() {
        QFETCH(QString, befehl);
        QFETCH(QString, status);
        QFETCH(QString, tooltip);
        Programm p;
        THauptformular* h = p.Hauptformular();
        richteEin(p);
        QTemporaryDir dir;
        fuehreAus(p, dir, befehl, kKurs);
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QLabel* text = statustext(h);
        QVERIFY(text);
        QCOMPARE(text->text(), status);
        QCOMPARE(text->toolTip(), tooltip);
        QCOMPARE(h->modell().rowCount(), befehl == "anfuegen" || befehl == "einfuegen" ? 2
                                         : befehl == "oeffnen"                         ? 3
                                                                                       : 1);
    }

    // No line makes an entry: nothing changes, a message says so, the status bar says why.
    void nurUnbrauchbareZeilen_data() {
        QTest::addColumn<QString>("befehl");
        QTest::newRow("Importieren") << "importieren";
        QTest::newRow("Anfügen") << "anfuegen";
        QTest::newRow("Vom Clipboard einfügen") << "einfuegen";
    }
    void nurUnbrauchbareZeilen() {
        QFETCH(QString, befehl);
        Programm p;
        THauptformular* h = p.Hauptformular();
        richteEin(p);
        const QStringList vorher = zustand(h);
        QTemporaryDir dir;
        fuehreAus(p, dir, befehl, "Vorname;Nachname;Punkte\r\nBert;Roth;x\r\n;;12\r\nCarl;Kurz;-1\r\n");
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>({meldung::Art::Fehler}));
        QVERIFY(m_umgebung.meldungen[0].startsWith(
            QStringLiteral("Keine Zeile ergab einen Prüfling. Die Liste bleibt, wie sie war.")));
        QVERIFY(
            m_umgebung.meldungen[0].contains(QStringLiteral("Zeile 4: Punkte -1 gelten als keine Angabe")));
        QCOMPARE(zustand(h), vorher);
        QCOMPARE(statustext(h)->text(),
                 QStringLiteral("0 Prüflinge übernommen, 3 Zeilen übergangen, 1 Titelzeile übersprungen"));
    }

    // Memory runs out while a list comes in: the message, and the lists, the classes, the grid
    // and the status bar as they were. The limit stands in for memory.
    void speichermangelAendertNichts_data() {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("Importieren") << "importieren"
                                     << "Zu wenig Arbeitsspeicher, um „%1“ zu importieren.";
        QTest::newRow("Anfügen") << "anfuegen"
                                 << "Zu wenig Arbeitsspeicher, um „%1“ zu importieren.";
        QTest::newRow("Vom Clipboard einfügen")
            << "einfuegen"
            << "Zu wenig Arbeitsspeicher, um den Text der Zwischenablage einzufügen.";
        QTest::newRow("Öffnen") << "oeffnen"
                                << "Zu wenig Arbeitsspeicher, um „%1“ zu öffnen (3 Einträge).";
    }
    void speichermangelAendertNichts() {
        QFETCH(QString, befehl);
        QFETCH(QString, meldung);
        Programm p;
        THauptformular* h = p.Hauptformular();
        richteEin(p);
        QGuiApplication::clipboard()->setText(QStringLiteral("Titel\nDora\tx\t1\n"));
        h->VomClipboardeinfgen1->trigger(); // a status text to keep
        const QStringList vorher = zustand(h);
        const QString status = statustext(h)->text(), tooltip = statustext(h)->toolTip();
        QVERIFY(!status.isEmpty());
        QTemporaryDir dir;
        listengrenze::setzeTestgrenze(2);
        fuehreAus(p, dir, befehl,
                  "Vorname;Nachname;Punkte\r\nAnna;Meier;1\r\nBert;Roth;2\r\nCarl;Kurz;3\r\n");
        listengrenze::setzeTestgrenze(0);
        QCOMPARE(m_umgebung.meldungen.size(), 1);
        if (meldung.contains("%1"))
            meldung = meldung.arg(
                QDir::toNativeSeparators(dir.filePath(befehl == "oeffnen" ? "kurs.noten" : "kurs.csv")));
        QCOMPARE(m_umgebung.meldungen[0], meldung + QStringLiteral(" Die Liste bleibt, wie sie war."));
        QCOMPARE(zustand(h), vorher);
        QCOMPARE(statustext(h)->text(), status);
        QCOMPARE(statustext(h)->toolTip(), tooltip);
    }

    void leeresTrennzeichen() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        p.Importeinstellungen()->trenner->clear();
        p.Importeinstellungen()->vorname->setCurrentIndex(1);
        QTemporaryDir dir;
        const QString datei = dir.filePath(QStringLiteral("kurs.csv"));
        schreibeTestdatei(datei, "Anna\r\n");
        uitest::beantworteDateidialog(datei);
        h->importierencsv->trigger();
        QCOMPARE(m_umgebung.meldungen.size(), 1);
        QVERIFY(m_umgebung.meldungen[0].startsWith(QStringLiteral("Kein Trennzeichen eingestellt.")));
        QCOMPARE(m_umgebung.arten[0], meldung::Art::Fehler); // the program's own message: captioned "Fehler"
        QCOMPARE(h->modell().rowCount(), 4);                 // still the empty grid of the start
    }

    // Each use of the shared dialogs offers its own last file: after an import, "Öffnen" offers
    // no name (so Return opens nothing), and the next import offers the file imported.
    void jedeDateiwahlMerktSichIhreDatei() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        richteEin(p);
        QTemporaryDir dir;
        const QString klausur = dir.filePath(QStringLiteral("klausur.csv"));
        schreibeTestdatei(klausur, kKurs);
        uitest::beantworteDateidialog(klausur);
        h->importierencsv->trigger();
        const QStringList nachImport = zustand(h);
        const QString status = statustext(h)->text();

        QString angeboten = QStringLiteral("?"), filter, ordner;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            angeboten = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            filter = d->selectedNameFilter();
            ordner = d->directory().absolutePath();
            QTest::keyClick(d, Qt::Key_Return); // an empty name: the dialog stays
            if (d->isVisible())
                d->reject();
        });
        QCOMPARE(h->oeffnen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        h->oeffnen->trigger();
        QCOMPARE(angeboten, QString());
        QCOMPARE(filter, QStringLiteral("Daten (*.noten)"));
        QCOMPARE(ordner, anfangsordner());
        QCOMPARE(zustand(h), nachImport);
        QCOMPARE(statustext(h)->text(), status);

        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            angeboten = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            ordner = d->directory().absolutePath();
            d->reject();
        });
        h->AnfgenCSV1->trigger();
        QCOMPARE(angeboten, QStringLiteral("klausur.csv"));
        QCOMPARE(ordner, QFileInfo(klausur).absolutePath());
    }

    // A file that cannot be a record file is asked about, named; No (the default) keeps the list.
    void unplausibleNotendateiFragtErst_data() {
        QTest::addColumn<bool>("ja");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }
    void unplausibleNotendateiFragtErst() {
        QFETCH(bool, ja);
        Programm p;
        THauptformular* h = p.Hauptformular();
        richteEin(p);
        const QStringList vorher = zustand(h);
        QTemporaryDir dir;
        const QString klausur = dir.filePath(QStringLiteral("klausur.csv"));
        QByteArray csv;
        for (int i = 0; i < 4; ++i)
            csv += "Anna;Meier;17,5\r\nBert;Roth;12,0\r\nCarl;Kurz;3\r\n;;;;;;;;;;;;\r\n";
        schreibeTestdatei(klausur, csv.left(4 * 56));
        QList<meldung::Art> arten;
        QStringList fragen;
        meldung::setzeAnzeige([&](meldung::Art art, const QString& text) {
            arten << art;
            fragen << text;
            return ja;
        });
        uitest::beantworteDateidialog(klausur);
        h->oeffnen->trigger();
        erfasseMeldungen(m_umgebung);
        QCOMPARE(fragen,
                 QStringList({"„klausur.csv“ sieht nicht wie eine Notendatei aus — trotzdem öffnen?"}));
        QCOMPARE(arten, QList<meldung::Art>({meldung::Art::Warnfrage}));
        if (ja) {
            QCOMPARE(h->daten().FEintraege.size(), 4);
            QCOMPARE(statustext(h)->text(), QStringLiteral("4 Prüflinge übernommen, 0 Zeilen übergangen"));
        } else {
            QCOMPARE(zustand(h), vorher);
        }
    }

    // The question itself: No is the default button, so Return keeps the list.
    void frageHatNeinAlsVorgabe() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        richteEin(p);
        const QStringList vorher = zustand(h);
        QTemporaryDir dir;
        const QString datei = dir.filePath(QStringLiteral("rest.noten"));
        schreibeTestdatei(datei, QByteArray(57, '\0'));
        meldung::setzeAnzeige({});
        QString text;
        bool neinVorgabe = false;
        uitest::beantworteDateidialog(datei);
        antworteMitReturn(&text, &neinVorgabe);
        h->oeffnen->trigger();
        erfasseMeldungen(m_umgebung);
        QCOMPARE(text, QStringLiteral("„rest.noten“ sieht nicht wie eine Notendatei aus — trotzdem öffnen?"));
        QVERIFY(neinVorgabe);
        QCOMPARE(zustand(h), vorher);
    }

    void exportMitCsvEndung() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = {leererEintrag()};
        h->daten().FEintraege[0].setzeName("Anna");
        h->daten().FEintraege[0].punkte = 17.5;
        QTemporaryDir dir;
        uitest::beantworteDateidialog(dir.filePath(QStringLiteral("liste")));
        h->SpeichernCSV1->trigger();
        QFile f(dir.filePath(QStringLiteral("liste.csv")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Anna;17,5;0\r\n"));
        QCOMPARE(h->SaveDialog1->defaultSuffix(), QStringLiteral("noten"));
    }

    // Points that are no number stay empty cells of the workbook, and the user is told.
    void exportNenntLeereZellen() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = {testeintrag("Anna", std::numeric_limits<double>::quiet_NaN(), 2),
                                 testeintrag("Bert", 3, 2)};
        QTemporaryDir dir;
        uitest::beantworteDateidialog(dir.filePath(QStringLiteral("liste.xlsx")));
        h->SpeichernCSV1->trigger();
        QCOMPARE(m_umgebung.meldungen, QStringList({leereWerteText(1)}));
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>({meldung::Art::Information}));
    }

    // The name typed decides what "Exportieren (CSV)" writes, whatever filter the dialog shows.
    void exportNachEndung_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("datei");
        QTest::addColumn<bool>("mappe");
        const QString csv = QStringLiteral("CSV Dateien (*.csv)"),
                      xlsx = QStringLiteral("Excel-Arbeitsmappe (*.xlsx)");
        QTest::newRow("xlsx unter CSV") << "export.xlsx" << csv << "export.xlsx" << true;
        QTest::newRow("XLSX unter CSV") << "Export.XLSX" << csv << "Export.XLSX" << true;
        QTest::newRow("csv unter xlsx") << "export.csv" << xlsx << "export.csv" << false;
        QTest::newRow("ohne unter xlsx") << "export" << xlsx << "export.xlsx" << true;
        QTest::newRow("ohne unter CSV") << "export" << csv << "export.csv" << false;
    }
    void exportNachEndung() {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, datei);
        QFETCH(bool, mappe);
        Programm p;
        THauptformular* h = p.Hauptformular();
        h->daten().FEintraege = {testeintrag("Anna", 17.5, 2)};
        QTemporaryDir dir;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->selectNameFilter(filter);
            emit d->filterSelected(filter);
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(dir.filePath(name));
            static_cast<QDialog*>(d)->accept();
        });
        h->SpeichernCSV1->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        const QByteArray inhalt = inhaltVon(dir.filePath(datei));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({datei}));
        if (mappe)
            QVERIFY(inhalt.startsWith("PK"));
        else
            QCOMPARE(inhalt, QByteArray("Anna;17,5;2\r\n"));
    }
    // A workbook of several sheets asks which one to read; the first entry leaves it to the
    // reader (the first sheet that holds data), and a cancel changes nothing.
    void blattWaehlen_data() {
        QTest::addColumn<int>("wahl"); // the entry chosen, -1: "Abbrechen"
        QTest::addColumn<QStringList>("liste");
        QTest::addColumn<QString>("status");
        QTest::newRow("erstes mit Daten") << 0 << QStringList({"Anna|17,0|A"})
                                          << "Eingelesen wurde das Blatt „Kurs“; das Blatt davor ist leer.";
        QTest::newRow("das dritte") << 3 << QStringList({"Bert|3,0|A"})
                                    << "Eingelesen wurde das Blatt „Rest“.";
        QTest::newRow("abgebrochen") << -1 << QStringList({"Alt|1,0|"}) << "";
    }
    void blattWaehlen() {
        QFETCH(int, wahl);
        QFETCH(QStringList, liste);
        QFETCH(QString, status);
        Programm p;
        THauptformular* h = p.Hauptformular();
        TImporteinstellungen* e = p.Importeinstellungen();
        e->vorname->setCurrentIndex(1);
        e->punkte->setCurrentIndex(2);
        e->ueberspringen->setValue(0);
        h->daten().FEintraege = {testeintrag("Alt", 1)};
        h->Anzeigen();

        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("kurs.ods"));
        const QByteArray inhalt =
            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
            "<table:table table:name=\"Deckblatt\"/>"
            "<table:table table:name=\"Kurs\"><table:table-row><table:table-cell><text:p>Anna</text:p>"
            "</table:table-cell><table:table-cell><text:p>17</text:p></table:table-cell></table:table-row>"
            "</table:table><table:table table:name=\"Rest\"><table:table-row><table:table-cell><text:p>Bert"
            "</text:p></table:table-cell><table:table-cell><text:p>3</text:p></table:table-cell>"
            "</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>";
        int fehler = 0;
        zip_t* z = zip_open(QFile::encodeName(pfad).constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
        QVERIFY(z);
        QVERIFY(zip_file_add(z, "content.xml",
                             zip_source_buffer(z, inhalt.constData(), zip_uint64_t(inhalt.size()), 0),
                             ZIP_FL_ENC_UTF_8) >= 0);
        QCOMPARE(zip_close(z), 0);

        // The sheet question comes after the file dialog has closed: wait for it.
        QStringList angeboten;
        QTimer frage;
        frage.setInterval(5);
        QObject::connect(&frage, &QTimer::timeout, [&] {
            auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!d || d->objectName() != QStringLiteral("Blattwahl"))
                return;
            frage.stop();
            angeboten = d->comboBoxItems();
            if (wahl < 0)
                return d->reject();
            d->findChild<QComboBox*>()->setCurrentIndex(wahl);
            d->accept();
        });
        frage.start();
        uitest::beantworteDateidialog(pfad);
        h->importierencsv->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(angeboten, QStringList({"Das erste Blatt mit Daten", "Deckblatt", "Kurs", "Rest"}));
        QCOMPARE(zeilen(h), liste);
        if (status.isEmpty())
            QVERIFY(!h->findChild<QLabel*>(QStringLiteral("Statustext"))
                         ->text()
                         .contains(QStringLiteral("Blatt")));
        else
            QVERIFY2(h->findChild<QLabel*>(QStringLiteral("Statustext"))->text().endsWith(". " + status),
                     qPrintable(h->findChild<QLabel*>(QStringLiteral("Statustext"))->text()));
    }
};

QTEST_MAIN(TestImportbefehle)
#include "tst_importbefehle.moc"
