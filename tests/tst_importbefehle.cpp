// Importing through the real file dialog and pasting from the clipboard, offscreen.
#include "Hauptfenster.h"
#include "Programm.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "Steuerelemente.h"
#include "importform.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>

namespace {
QStringList zeilen(THauptformular* h) {
    QStringList r;
    for (int z = 1; z <= h->modell().rowCount(); ++z)
        r << h->modell().zellText(1, z) + u'|' + h->modell().zellText(2, z) + u'|' + h->modell().zellText(4, z);
    return r;
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
        schreibeTestdatei(datei, "Vorname;Nachname;Punkte\r\nAnna;Meier;17,5\r\nBert;Roth;x\r\n\xC4nne;\xD6hl;12\r\n");

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
        QCOMPARE(h->modell().rowCount(), 4);  // still the empty grid of the start
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
};

QTEST_MAIN(TestImportbefehle)
#include "tst_importbefehle.moc"
