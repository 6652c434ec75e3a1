// SPDX-License-Identifier: GPL-3.0-or-later
// The "Grenzfälle" window offscreen: opened from the menu, recomputed on a new distance and a new
// scale, copied and exported.
#include "EnhEdit.h"
#include "Hauptfenster.h"
#include "Hilfe.h"
#include "Programm.h"
#include "Radiogruppe.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "grenzfaelleunit.h"
#include "notenvergabe.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
// Every row of the window's grid, its cells joined by " | ".
QStringList zeilen(const TGrenzfaelleform* f) {
    const QAbstractItemModel* m = f->erg->model();
    QStringList r;
    for (int zeile = 0; zeile < m->rowCount(); ++zeile) {
        QStringList zellen;
        for (int spalte = 0; spalte < m->columnCount(); ++spalte)
            zellen << m->index(zeile, spalte).data().toString();
        r << zellen.join(QStringLiteral(" | "));
    }
    return r;
}
} // namespace

class TestGrenzfaellefenster : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void listeAbstandKopierenExportieren() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        TGrenzfaelleform* f = p.Grenzfaelleform();
        h->daten().FEintraege = {testeintrag("Anna", 24.5), testeintrag("=Bert", 25), testeintrag("Carl", 40),
                                 testeintrag("D\xf6rte", 10)};
        h->Anzeigen();
        QVERIFY(!f->isVisible());
        h->Grenzfaelle1->trigger();
        QVERIFY(f->isVisible());
        QCOMPARE(f->windowTitle(), QStringLiteral("Grenzfälle"));
        QCOMPARE(f->abstand->text(), QStringLiteral("1"));
        QCOMPARE(hilfe::kontextFuer(f), 500);

        // The dialog's defaults: 25 points give 4,3 and 4,0 begins at 25,01. The points read as
        // in the main grid; copy and export keep them exact.
        QCOMPARE(zeilen(f), QStringList({"=Bert | 25,0 | 4,3 | 4,0 | 0,01 | ja",
                                         "Anna | 24,5 | 4,3 | 4,0 | 0,51 | ja"}));
        for (int zeile = 0; zeile < 2; ++zeile)
            QCOMPARE(f->erg->model()->index(zeile, 1).data().toString(),
                     h->modell().zellText(2, zeile == 0 ? 2 : 1));
        QCOMPARE(f->info->text(),
                 QStringLiteral("Bestanden (Note 4,0 oder besser) ab 25,01 Punkten. 2 Prüflinge liegen "
                                "weniger als 1 Punkt unter der nächst besseren Note."));

        f->kopierenbut->click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("Name\tPunkte\tNote\tBessere Note\tFehlende Punkte\tBestehen\r\n"
                                "=Bert\t25\t4,3\t4,0\t0,01\tja\r\n"
                                "Anna\t24,5\t4,3\t4,0\t0,51\tja\r\n"));

        f->abstand->setText(QStringLiteral("3"));
        QCOMPARE(
            zeilen(f),
            QStringList({"=Bert | 25,0 | 4,3 | 4,0 | 0,01 | ja", "Anna | 24,5 | 4,3 | 4,0 | 0,51 | ja",
                         "Carl | 40,0 | 2,3 | 2,0 | 1,67 | ", "D\u00f6rte | 10,0 | 5,3 | 5,0 | 2,51 | "}));
        QCOMPARE(f->info->text(),
                 QStringLiteral("Bestanden (Note 4,0 oder besser) ab 25,01 Punkten. 4 Prüflinge liegen "
                                "weniger als 3 Punkte unter der nächst besseren Note."));

        QTemporaryDir dir;
        const QString datei = dir.filePath(QStringLiteral("knapp.csv"));
        uitest::beantworteDateidialog(datei);
        f->exportierenbut->click();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QFile ergebnis(datei);
        QVERIFY(ergebnis.open(QIODevice::ReadOnly));
        QCOMPARE(ergebnis.readAll(), QByteArray("Name;Punkte;Note;Bessere Note;Fehlende Punkte;Bestehen\r\n"
                                                "'=Bert;25;4,3;4,0;0,01;ja\r\n"
                                                "Anna;24,5;4,3;4,0;0,51;ja\r\n"
                                                "Carl;40;2,3;2,0;1,67;\r\n"
                                                "D\xf6rte;10;5,3;5,0;2,51;\r\n"));

        // A scale changed in the grade dialog counts the next time the command runs, window open or not.
        p.notenvergabeform()->runden->setItemIndex(0);
        h->Grenzfaelle1->trigger();
        QCOMPARE(zeilen(f).first(), QStringLiteral("=Bert | 25,0 | 4,0 | 3,7 | 0,01 | "));

        // A new distance takes the list as it stands, though list and scale were kept between.
        QVERIFY(!zeilen(f).join(u';').contains(QStringLiteral("Emil")));
        h->daten().FEintraege.append(testeintrag("Emil", 24.99));
        f->abstand->setText(QStringLiteral("2"));
        QVERIFY(zeilen(f).join(u';').contains(QStringLiteral("Emil | 25,0 | ")));

        f->schliessenbut->click();
        QVERIFY(!f->isVisible());
    }

    void skalaOhneNoten() {
        // Pass points equal to the minimum: the scale cannot grade 0 points, and says so.
        Programm p;
        p.notenvergabeform()->bestandenpunkte->setText(QStringLiteral("0"));
        p.Hauptformular()->daten().FEintraege = {testeintrag("Anna", 24.5)};
        p.Hauptformular()->Grenzfaelle1->trigger();
        QCOMPARE(p.Grenzfaelleform()->info->text(), QStringLiteral("Ungültige Gleitkommaoperation"));
        QVERIFY(zeilen(p.Grenzfaelleform()).isEmpty());
        QVERIFY(m_umgebung.meldungen.isEmpty());
    }
};

QTEST_MAIN(TestGrenzfaellefenster)
#include "tst_grenzfaellefenster.moc"
