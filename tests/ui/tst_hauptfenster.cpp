// SPDX-License-Identifier: GPL-3.0-or-later
// The main window offscreen: command set, grid texts, record file through the real dialogs.
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "Notendatei.h"
#include "Programm.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "Zahltext.h"
#include "importform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

using uitest::beantworteDateidialog;

namespace {
// Everything the undoable commands change: both lists with grades and letters, the classes,
// and the grid.
QStringList zustand(THauptformular* h) {
    QStringList r;
    auto liste = [&r](const char* was, const Notenliste& l) {
        for (const auto& e : l)
            r << QString::fromLatin1(was) + e.nameText() + u'|' + zahltext::kurz(e.punkte) + u'|' +
                     zahltext::kurz(e.note) + u'|' + (e.ects ? QString(QChar(e.ects)) : QString());
    };
    liste("E ", h->daten().FEintraege);
    liste("O ", h->daten().FOriginal);
    for (const auto& k : h->daten().FKlassen)
        r << "K " + zahltext::kurz(k.note) + (k.ects ? QString(QChar(k.ects)) : QString());
    for (int z = 1; z <= h->modell().rowCount(); ++z)
        r << "R " + h->modell().zellText(1, z) + u'|' + h->modell().zellText(3, z) + u'|' +
                 h->modell().zellText(4, z);
    return r;
}

// Closes the next modal dialog (the grade dialog with "OK", the class window).
void schliesseDialog() {
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(d);
        d->accept();
    });
}
} // namespace

class TestHauptfenster : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();
    std::unique_ptr<Programm> m_programm;
    THauptformular* m_fenster = nullptr;
    QStringList& m_meldungen() { return m_umgebung.meldungen; }

private slots:
    void init() {
        m_umgebung.vergiss();
        m_programm = std::make_unique<Programm>();
        m_fenster = m_programm->Hauptformular();
    }
    void cleanup() { m_programm.reset(); }

    void deutscheQtTexte() {
        // Qt's own dialogs and buttons speak German.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
        QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("Skalora"));
        QCOMPARE(m_fenster->windowTitle(), QStringLiteral("Skalora"));
    }

    void menue() {
        QStringList ist;
        for (QAction* m : m_fenster->menuBar()->actions()) {
            ist << m->text();
            for (QAction* a : m->menu()->actions())
                ist << (a->isSeparator() ? QStringLiteral("  -") : QStringLiteral("  ") + a->text());
        }
        const QStringList soll = {"&Datei",
                                  "  Ö&ffnen",
                                  "  Speichern",
                                  "  -",
                                  "  &Importieren (CSV)",
                                  "  Anfügen (CSV)",
                                  "  Exportieren (CSV)",
                                  "  -",
                                  "  &Beenden",
                                  "&Bearbeiten",
                                  "  &Rückgängig",
                                  "  &Wiederholen",
                                  "  -",
                                  "  Sortieren nach &Name",
                                  "  Sortieren nach Note",
                                  "  Ursprüngliche Reihenfolge",
                                  "  -",
                                  "  Vom Clipboard einfügen",
                                  "  Markierte Zeilen löschen",
                                  "  Spaltenbreite anpassen",
                                  "&Auswertung",
                                  "  Notenvergabe",
                                  "  Klasseneinteilung",
                                  "  Keine Klassenauswertung",
                                  "  Grenzfälle",
                                  "&Ansicht",
                                  "  Report",
                                  "  &Histogramm",
                                  "&Extras",
                                  "  Einstellungen",
                                  "  CSV Importeinstellungen",
                                  "&Hilfe",
                                  "  Hilfe",
                                  "  Info"};
        QCOMPARE(ist, soll);
        QCOMPARE(m_fenster->Hilfe2->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(m_fenster->Rueckgaengig1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(m_fenster->Wiederholen1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(m_fenster->MarkierteZeilenlschen1->shortcut(), QKeySequence(Qt::Key_Delete));
        // The menu bar's access keys: none taken twice, except the design's A of Auswertung and Ansicht.
        QStringList tasten;
        for (QAction* m : m_fenster->menuBar()->actions())
            tasten << m->text().section(u'&', 1).left(1).toUpper();
        QCOMPARE(tasten, QStringList({"D", "B", "A", "A", "E", "H"}));
    }

    void werkzeugleiste() {
        QStringList ist;
        for (QAction* a : m_fenster->ToolBar1->actions())
            ist << (a->isSeparator() ? QStringLiteral("-") : a->text());
        const QStringList soll = {"Ö&ffnen",
                                  "Speichern",
                                  "-",
                                  "&Importieren (CSV)",
                                  "Anfügen (CSV)",
                                  "Exportieren (CSV)",
                                  "-",
                                  "&Beenden",
                                  "-",
                                  "Sortieren nach &Name",
                                  "Ursprüngliche Reihenfolge",
                                  "Sortieren nach Note",
                                  "-",
                                  "Vom Clipboard einfügen",
                                  "Markierte Zeilen löschen",
                                  "Spaltenbreite anpassen",
                                  "-",
                                  "Notenvergabe",
                                  "Klasseneinteilung",
                                  "Keine Klassenauswertung",
                                  "-",
                                  "&Histogramm",
                                  "Report",
                                  "-",
                                  "Einstellungen",
                                  "CSV Importeinstellungen",
                                  "-",
                                  "Info",
                                  "Hilfe",
                                  "Grenzfälle"};
        QCOMPARE(ist, soll);
        // Every button shows a picture.
        for (QAction* a : m_fenster->ToolBar1->actions())
            if (!a->isSeparator())
                QVERIFY2(!a->icon().pixmap(16, 16).isNull(), qPrintable(a->text()));
        QCOMPARE(m_fenster->ToolBar1->widgetForAction(m_fenster->oeffnen)->objectName(), "ToolButton18");
    }

    void anfangsRasterUndSpaltenbreite() {
        QCOMPARE(m_fenster->modell().rowCount(), 4); // header row + four empty rows
        m_fenster->Spaltenbreiteanpassen1->trigger();
        const int soll =
            QFontMetrics(m_fenster->erg->font()).horizontalAdvance(QStringLiteral("Nummer")) + 10;
        QCOMPARE(m_fenster->erg->columnWidth(0), soll);
    }

    void oeffnenSpeichernUndRaster() {
        QTemporaryDir dir;
        Notenliste liste;
        for (int i = 1; i <= 8; ++i)
            liste.push_back(
                testeintrag("Student " + QByteArray::number(i), 12.25 * i, i == 8 ? 0 : 1.0 + i / 3.0));
        liste[2].ects = u'C';
        const QString quelle = dir.filePath(QStringLiteral("kurs.noten"));
        notendatei::schreibe(quelle, liste);

        beantworteDateidialog(quelle);
        m_fenster->oeffnen->trigger();
        QVERIFY(m_meldungen().isEmpty());
        const ErgebnisModell& m = m_fenster->modell();
        QCOMPARE(m.rowCount(), 8);
        QCOMPARE(m.zellText(0, 7), QStringLiteral("  7:"));
        QCOMPARE(m.zellText(1, 1), QStringLiteral("Student 1"));
        QCOMPARE(m.zellText(2, 1), QStringLiteral("12,3"));
        QCOMPARE(m.zellText(3, 8), QStringLiteral("0,0"));
        QCOMPARE(m.zellText(4, 3), QStringLiteral("C"));
        QCOMPARE(m.zellText(4, 1), QString());
        QCOMPARE(m.zellText(2, 0), QStringLiteral("Punkte"));
        QCOMPARE(m_fenster->OpenDialog->selectedNameFilter(), QStringLiteral("Daten (*.noten)"));

        // A name typed without extension gets ".noten".
        beantworteDateidialog(dir.filePath(QStringLiteral("kopie")));
        m_fenster->Speichern1->trigger();
        QVERIFY(m_meldungen().isEmpty());
        QFile a(quelle), b(dir.filePath(QStringLiteral("kopie.noten")));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }

    void fehlgeschlagenesOeffnenAendertNichts() {
        m_fenster->daten().FEintraege = {testeintrag("Anna", 1, 1)};
        m_fenster->Anzeigen();
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("weg.noten"));
        // The file disappears between choosing and opening.
        QTimer::singleShot(0, [pfad] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QFile(pfad).open(QIODevice::WriteOnly);
            dialog->selectFile(pfad);
            static_cast<QDialog*>(dialog)->accept();
            QFile::remove(pfad);
        });
        m_fenster->oeffnen->trigger();
        QCOMPARE(m_meldungen(), QStringList({"Datei nicht gefunden\n" + pfad})); // the file on a second line
        QCOMPARE(m_fenster->modell().zellText(1, 1), QStringLiteral("Anna"));
        QCOMPARE(m_fenster->daten().FEintraege.size(), std::size_t(1));
    }

    void zeilenLoeschenUndWiederherstellen() {
        // Deleting in the empty list right after start is a range error.
        m_fenster->MarkierteZeilenlschen1->trigger();
        QCOMPARE(m_meldungen(), QStringList({"Fehler bei Bereichsprüfung"}));

        Auswertung& d = m_fenster->daten();
        for (const char* n : {"E", "C", "A", "D", "B"})
            d.FEintraege.push_back(testeintrag(n, 0, 0));
        d.OriginalMerken();
        m_fenster->SortierennachName1->trigger();
        // Mark grid rows 2 to 4 (model rows 1 to 3), in columns 1 and 2.
        QTableView* grid = m_fenster->erg;
        grid->selectionModel()->select(
            QItemSelection(m_fenster->modell().index(1, 1), m_fenster->modell().index(3, 2)),
            QItemSelectionModel::ClearAndSelect);
        m_fenster->MarkierteZeilenlschen1->trigger();
        m_fenster->SortierennachNote1->trigger();
        m_fenster->UrsrnglicheReihenfolge1->trigger();
        QCOMPARE(m_fenster->modell().zellText(1, 1), QStringLiteral("A"));
        QCOMPARE(m_fenster->modell().zellText(1, 2), QStringLiteral("E"));
        QCOMPARE(m_fenster->modell().rowCount(), 2);
    }

    void aktuelleZelleBleibtUeberAnzeigen() {
        Auswertung& d = m_fenster->daten();
        for (const char* n : {"E", "C", "A", "D", "B"})
            d.FEintraege.push_back(testeintrag(n, 0, 0));
        m_fenster->Anzeigen();
        // Row 4 is the current cell, nothing is marked: sorting keeps row 4 current.
        m_fenster->erg->setCurrentIndex(m_fenster->modell().index(3, 1));
        m_fenster->erg->selectionModel()->clearSelection();
        m_fenster->SortierennachName1->trigger();
        m_fenster->MarkierteZeilenlschen1->trigger();
        QStringList namen;
        for (int z = 1; z <= m_fenster->modell().rowCount(); ++z)
            namen << m_fenster->modell().zellText(1, z);
        QCOMPARE(namen, QStringList({"A", "B", "C", "E"}));
        // A click on the header marks nothing.
        QVERIFY(!m_fenster->erg->horizontalHeader()->sectionsClickable());
    }

    // Every command that changes the list, its grades or its letters: Ctrl+Z brings back the
    // state before it, grid included, and Ctrl+Y the state after it, twice over.
    void rueckgaengigUndWiederholen_data() {
        QTest::addColumn<QString>("befehl");
        for (const char* b : {"importieren", "anfuegen", "einfuegen", "oeffnen", "entf", "name", "note",
                              "original", "notenvergabe", "berechnen", "klassen", "histogramm"})
            QTest::newRow(b) << QString::fromLatin1(b);
    }
    void rueckgaengigUndWiederholen() {
        QFETCH(QString, befehl);
        TImporteinstellungen* e = m_programm->Importeinstellungen();
        e->vorname->setCurrentIndex(1);
        e->punkte->setCurrentIndex(2);
        Auswertung& d = m_fenster->daten();
        int i = 0;
        for (const char* n : {"E", "C", "A", "D", "B"}) {
            ++i;
            d.FEintraege.push_back(testeintrag(n, 10.0 * i, 6.0 - i));
        }
        d.OriginalMerken();
        d.FEintraege.swapItemsAt(0, 1);
        d.FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        m_fenster->Anzeigen();
        m_programm->zeige();
        QVERIFY(QTest::qWaitForWindowActive(m_fenster));

        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("kurs.csv")),
                      noten = dir.filePath(QStringLiteral("kurs.noten"));
        schreibeTestdatei(csv, "Name;Punkte\r\nFritz;7\r\nGabi;8\r\n");
        notendatei::schreibe(noten, {testeintrag("Hans", 3, 2)});
        const QStringList vorher = zustand(m_fenster);
        if (befehl == "importieren" || befehl == "anfuegen") {
            beantworteDateidialog(csv);
            (befehl == "importieren" ? m_fenster->importierencsv : m_fenster->AnfgenCSV1)->trigger();
        } else if (befehl == "einfuegen") {
            QGuiApplication::clipboard()->setText(QStringLiteral("Name\tPunkte\nIda\t9\n"));
            m_fenster->VomClipboardeinfgen1->trigger();
        } else if (befehl == "oeffnen") {
            beantworteDateidialog(noten);
            m_fenster->oeffnen->trigger();
        } else if (befehl == "entf") {
            m_fenster->erg->setFocus();
            m_fenster->erg->selectionModel()->select(
                QItemSelection(m_fenster->modell().index(1, 1), m_fenster->modell().index(2, 1)),
                QItemSelectionModel::ClearAndSelect);
            QTest::keyClick(m_fenster->erg, Qt::Key_Delete);
        } else if (befehl == "name") {
            m_fenster->SortierennachName1->trigger();
        } else if (befehl == "note") {
            m_fenster->SortierennachNote1->trigger();
        } else if (befehl == "original") {
            m_fenster->UrsrnglicheReihenfolge1->trigger();
        } else if (befehl == "notenvergabe") {
            schliesseDialog();
            m_fenster->Notenvergabe1->trigger();
        } else if (befehl == "berechnen") {
            m_fenster->NotenVorschau();
        } else if (befehl == "klassen") {
            schliesseDialog();
            m_fenster->klasseneinteilung->trigger();
        } else {
            m_fenster->Histogramm->trigger();
        }
        QVERIFY(m_meldungen().isEmpty());
        // The keys go to the main window; offscreen, a closed dialog does not hand activation back.
        m_fenster->windowHandle()->requestActivate();
        QTRY_COMPARE(QApplication::activeWindow(), m_fenster);
        const QStringList nachher = zustand(m_fenster);
        QVERIFY(nachher != vorher);
        QVERIFY(m_fenster->Rueckgaengig1->isEnabled());
        QVERIFY(!m_fenster->Wiederholen1->isEnabled());
        for (int runde = 0; runde < 2; ++runde) {
            QTest::keyClick(m_fenster, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(zustand(m_fenster), vorher);
            QVERIFY(m_fenster->Wiederholen1->isEnabled());
            QTest::keyClick(m_fenster, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(zustand(m_fenster), nachher);
        }
    }

    void spaltenbreitenBeimStart_data() {
        QTest::addColumn<int>("spalte");
        QTest::addColumn<int>("entwurf");
        QTest::newRow("Nummer") << 0 << 40;
        QTest::newRow("Punkte") << 2 << 60;
        QTest::newRow("Note") << 3 << 100;
    }
    void spaltenbreitenBeimStart() {
        QFETCH(int, spalte);
        QFETCH(int, entwurf);
        // The designed width, unless the header text needs more in the font at hand.
        QHeaderView* kopf = m_fenster->erg->horizontalHeader();
        const QString text =
            m_fenster->modell().headerData(spalte, Qt::Horizontal, Qt::DisplayRole).toString();
        const int rand = kopf->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, kopf);
        const int breite = m_fenster->erg->columnWidth(spalte);
        QVERIFY(breite >= entwurf);
        QVERIFY2(QFontMetrics(kopf->font()).horizontalAdvance(text) + 2 * rand <= breite, qPrintable(text));
        QVERIFY(breite == entwurf || breite <= kopf->sectionSizeHint(spalte));
    }

    void hilfe() {
        m_programm->zeige();
        QVERIFY(QTest::qWaitForWindowActive(m_fenster));
        QTest::keyClick(m_fenster, Qt::Key_F1);
        QCOMPARE(hilfe::letzterKontext(), 100);
        QVERIFY(hilfe::fenster());
        QVERIFY(hilfe::fenster()->toPlainText().contains(QStringLiteral("Notenvergabe")));
        hilfe::fenster()->close();
    }
};

QTEST_MAIN(TestHauptfenster)
#include "tst_hauptfenster.moc"
