// SPDX-License-Identifier: GPL-3.0-or-later
// "Report" through the real windows, offscreen: the lines, the chart picture, the failure box.
#include "Ergebnisfenster.h"
#include "Hauptfenster.h"
#include "Programm.h"
#include "Steuerelemente.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "chartformularunit.h"
#include "einstellungen.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {

int bilder(const QTextDocument* dokument) {
    int n = 0;
    for (QTextBlock b = dokument->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            n += it.fragment().charFormat().isImageFormat() ? 1 : 0;
    return n;
}

void liste(THauptformular* h) {
    h->daten().FEintraege = {testeintrag("Carl", 10, 5.0), testeintrag("Anna", 48, 1.3),
                             testeintrag("Bert", 30, 3.0)};
    h->daten().OriginalMerken();
    h->Anzeigen();
}

} // namespace

class TestReportbefehl : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void reportMitGrafik() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        liste(h);
        p.einstellungsdialog()->includegrafik->setChecked(true);
        h->Ergebnis1->trigger();

        TErgebnis* e = p.Ergebnis();
        QVERIFY(e->isVisible());
        QVERIFY(!p.Chartform()->isVisible());
        const QString text = e->report->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Prüfungsergebnisse\nAnzahl der Noten:   3\n")));
        // The lines list the students as they stood; the chart run then sorted by grade.
        const qsizetype carl = text.indexOf(QStringLiteral("Carl")),
                        anna = text.indexOf(QStringLiteral("Anna"));
        QVERIFY(carl >= 0 && carl < anna);
        QCOMPARE(h->daten().FEintraege[0].nameText(), QStringLiteral("Anna"));
        QCOMPARE(bilder(e->report->document()), 1);

        // Copy with nothing selected: every format, the picture too, and nothing left selected.
        QGuiApplication::clipboard()->clear();
        e->copybut->trigger();
        const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
        QVERIFY(daten);
        for (const char* art : {"text/rtf", "application/rtf", "text/html", "text/plain"})
            QVERIFY2(daten->hasFormat(QString::fromLatin1(art)), art);
        QVERIFY(daten->hasImage());
        QVERIFY(!e->report->textCursor().hasSelection());

        // The next report without the picture replaces the text; the classes from the chart stay.
        p.einstellungsdialog()->includegrafik->setChecked(false);
        h->Ergebnis1->trigger();
        QCOMPARE(bilder(e->report->document()), 0);
        QVERIFY(e->report->toPlainText().contains(QStringLiteral("ECTS Gruppen")));
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }

    // Saving the report over an existing file asks first, as saving the record file does, and
    // No keeps the file.
    void rtfUeberschreibenFragtErst() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        liste(h);
        h->Ergebnis1->trigger();
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("report.rtf"));
        schreibeTestdatei(pfad, "alt");
        QString frage;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(pfad);
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                frage = box->text();
                box->button(QMessageBox::No)->click();
            });
            static_cast<QDialog*>(d)->accept(); // asks; after No the dialog stays open
            if (d->isVisible())
                static_cast<QDialog*>(d)->reject();
        });
        p.Ergebnis()->savebut->trigger();
        QVERIFY2(frage.contains(QStringLiteral("report.rtf")), qPrintable(frage));
        QCOMPARE(inhaltVon(pfad), QByteArray("alt"));
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }

    void ohneStatistikBleibtDerReport() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        liste(h);
        h->Ergebnis1->trigger();
        const QString vorher = p.Ergebnis()->report->toHtml();

        h->daten().FEintraege.clear();
        h->Ergebnis1->trigger();
        QCOMPARE(m_umgebung.meldungen,
                 QStringList{QStringLiteral(
                     "Bitte legen sie erst noch die Noten fest. Sonst ist keine Auswrtung möglich!")});
        QCOMPARE(m_umgebung.arten, QList<meldung::Art>{meldung::Art::Fehler});
        QCOMPARE(p.Ergebnis()->report->toHtml(), vorher);
    }
};

QTEST_MAIN(TestReportbefehl)
#include "tst_reportbefehl.moc"
