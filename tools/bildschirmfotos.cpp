// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of the windows for the README: the example exam imported, graded, classified,
// reported and shown, each window drawn offscreen into a PNG in the folder given as the only argument.
#include "EnhEdit.h"
#include "Ergebnisfenster.h"
#include "Hauptfenster.h"
#include "Import.h"
#include "Info.h"
#include "Klassen.h"
#include "Konfiguration.h"
#include "Notenskala.h"
#include "Programm.h"
#include "Statistik.h"
#include "Steuerelemente.h"
#include "Zahltext.h"
#include "chartformularunit.h"
#include "einstellungen.h"
#include "grenzfaelleunit.h"
#include "hofsteedialog.h"
#include "importform.h"
#include "klassenunit.h"
#include "notenvergabe.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

namespace {
bool speichere(QWidget* fenster, const QString& ordner, const QString& name) {
    fenster->show();
    QCoreApplication::processEvents();
    const QString pfad = QDir(ordner).filePath(name);
    if (!fenster->grab().save(pfad)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(pfad));
        return false;
    }
    std::printf("%s\n", qPrintable(pfad));
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    // A German user, whatever this machine runs in: the about box picks its texts from the locale.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bildschirmfotos EXAMPLE.csv OUTPUT-FOLDER\n");
        return 2;
    }
    QTemporaryDir konfig;
    qputenv("XDG_CONFIG_HOME", konfig.path().toLocal8Bit());
    anwendung::einrichten();
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
    const QString beispiel = QString::fromLocal8Bit(argv[1]);
    const QString ordner = QString::fromLocal8Bit(argv[2]);

    Programm p;
    THauptformular* h = p.Hauptformular();

    // The import settings as the README's first step sets them.
    TImporteinstellungen* import = p.Importeinstellungen();
    import->trenner->setText(QStringLiteral(";"));
    import->vorname->setCurrentIndex(1);
    import->nachname->setCurrentIndex(2);
    import->punkte->setCurrentIndex(3);
    import->ueberspringen->setValueInt(1);
    bool gut = speichere(import, ordner, QStringLiteral("importeinstellungen.png"));
    import->hide();

    Auswertung& a = h->daten();
    a.FErsetzen = true;
    importiereDatei(a, beispiel, QChar(u';'), {.vorname = 1, .nachname = 2, .punkte = 3, .titelzeilen = 1});
    // The README's scale: 60 points give 1,0, 30 points pass with 4,0.
    p.notenvergabeform()->vollepunkte->setValue(60);
    p.notenvergabeform()->bestandenpunkte->setValue(30);
    // The grade dialog after "Berechnen", with the preview of mean, deviation and passes.
    p.notenvergabeform()->Button1->click();
    gut = speichere(p.notenvergabeform(), ordner, QStringLiteral("notenvergabe.png")) && gut;
    p.notenvergabeform()->hide();
    AlleNotenBerechnen(a.FEintraege, p.notenvergabeform()->skala());
    a.NotenUebernehmen();

    // The class window as the classification fills it, with groups marked and shares shown.
    BestandeneZaehlen(a, 4.0);
    h->KlassenBilden();
    TKlassenauswertungsform* k = p.Klassenauswertungsform();
    klassen::rasterFuellen(k->raster(), a);
    const char* gruppen[] = {"A", "", "B", "", "C", "", "D", "E"};
    for (int zeile = 1; zeile < std::min(k->raster().zeilen(), 9); ++zeile)
        if (k->raster().text(Klassenraster::Gruppe, zeile) != QStringLiteral("F"))
            k->raster().setzeText(Klassenraster::Gruppe, zeile, QString::fromLatin1(gruppen[zeile - 1]));
    k->rasterGeaendert();
    k->ergKeyUp();
    gut = speichere(k, ordner, QStringLiteral("klassenauswertung.png")) && gut;
    klassen::buchstabenLesen(k->raster(), a);
    klassen::ectsZaehlen(a);
    klassen::buchstabenVerteilen(a);
    a.NotenUebernehmen();
    k->hide();
    h->Anzeigen();
    gut = speichere(h, ordner, QStringLiteral("hauptfenster.png")) && gut;

    // Beyond the design: the students just short of a better grade, and the Hofstee pass mark.
    h->Grenzfaelle1->trigger();
    gut = speichere(p.Grenzfaelleform(), ordner, QStringLiteral("grenzfaelle.png")) && gut;
    p.Grenzfaelleform()->hide();
    {
        THofsteedialog hofstee(p.notenvergabeform());
        hofstee.setzeListe(a.FEintraege);
        hofstee.setzeUrteile(HofsteeUrteile{24, 36, 10, 40});
        gut = speichere(&hofstee, ordner, QStringLiteral("hofstee.png")) && gut;
    }

    h->Histogramm->trigger();
    gut = speichere(p.Chartform(), ordner, QStringLiteral("histogramm.png")) && gut;
    p.Chartform()->hide();

    // The report with the groups and the chart (the histogram's classes keep the letter their
    // students share).
    klassen::buchstabenLesen(k->raster(), a);
    p.einstellungsdialog()->includegrafik->setChecked(true);
    h->Ergebnis1->trigger();
    p.Ergebnis()->resize(p.Ergebnis()->width(), p.Ergebnis()->height() * 2);
    gut = speichere(p.Ergebnis(), ordner, QStringLiteral("report.png")) && gut;
    p.Ergebnis()->hide();

    gut = speichere(p.einstellungsdialog(), ordner, QStringLiteral("einstellungen.png")) && gut;
    p.einstellungsdialog()->hide();

    // The about box as "Info" opens it, in German.
    Tinfodialog info(h, routinen::Sprache::Deutsch);
    info.FHomepage = konfiguration::produktHomepage();
    info.FArchivName = QStringLiteral("skalora.zip");
    gut = speichere(&info, ordner, QStringLiteral("info.png")) && gut;
    return gut ? 0 : 1;
}
