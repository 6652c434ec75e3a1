// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's evaluation commands: grades, grade classes, borderline cases, the report
// and the histogram.

#include "Hauptfenster.h"

#include "Ergebnisfenster.h"
#include "Fortschritt.h"
#include "Histogramm.h"
#include "Klassen.h"
#include "Meldung.h"
#include "Notenskala.h"
#include "Statistik.h"
#include "chartformularunit.h"
#include "einstellungen.h"
#include "grenzfaelleunit.h"
#include "klassenunit.h"
#include "notenvergabe.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <algorithm>

void THauptformular::verbindeAuswertungsfenster(TChartform* chart, TErgebnis* ergebnis,
                                                TKlassenauswertungsform* klassen) {
    m_chart = chart;
    m_ergebnis = ergebnis;
    m_klassen = klassen;
    m_klassen->verbinde(&m_daten);
    // The report is saved as the record file is: an existing file is replaced only when the
    // user says so in the dialog.
    m_ergebnis->SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);
}

void THauptformular::verbindeGrenzfaelle(TGrenzfaelleform* grenzfaelle) {
    m_grenzfaelle = grenzfaelle;
    m_grenzfaelle->verbinde(&m_daten, m_notenvergabe, m_einstellungen);
}

void THauptformular::Notenvergabe1Click() {
    if (m_notenvergabe->exec() != QDialog::Accepted)
        return;
    verlauf::SchrittZeiger schritt = verlauf::vorBewertung(QStringLiteral("Notenvergabe"), m_daten, false);
    try {
        AlleNotenBerechnen(m_daten.FEintraege, m_notenvergabe->skala());
        m_daten.NotenUebernehmen();
    } catch (...) {
        merke(std::move(schritt));
        throw;
    }
    merke(std::move(schritt));
    Anzeigen();
}

void THauptformular::NotenVorschau() {
    // "Berechnen" in the grade dialog gives the list its grades at once: a step of its own.
    verlauf::SchrittZeiger schritt = verlauf::vorBewertung(QStringLiteral("Berechnen"), m_daten, false);
    try {
        AlleNotenBerechnen(m_daten.FEintraege, m_notenvergabe->skala());
    } catch (...) {
        merke(std::move(schritt));
        throw;
    }
    merke(std::move(schritt));
    StatistikBerechnen(m_daten);
    Anzeigen();
    BestandeneZaehlen(m_daten, m_einstellungen->grenznoteWert());
    m_notenvergabe->zeigeErgebnis(m_daten.FDurchschnitt, m_daten.FStandardabweichung, m_daten.FBestanden);
}

void THauptformular::KlassenBilden() {
    // The histogram sorts the list and rebuilds the classes: a step when either changed.
    const QString befehl = QStringLiteral("Histogramm");
    std::vector<verlauf::SchrittZeiger> teile;
    teile.push_back(sortiereNachNote(befehl));
    const std::vector<TNotenklasse> vorher = m_daten.FKlassen;
    verlauf::SchrittZeiger klassen = verlauf::vorErsatz(befehl, m_daten, verlauf::Klassen);
    ::KlassenBilden(m_daten);
    const auto gleich = [](const TNotenklasse& a, const TNotenklasse& b) {
        return a.anzahl == b.anzahl && a.ects == b.ects &&
               (a.note == b.note || (a.note != a.note && b.note != b.note));
    };
    if (!std::ranges::equal(vorher, m_daten.FKlassen, gleich))
        teile.push_back(std::move(klassen));
    merke(verlauf::sammlung(befehl, std::move(teile)));
    Anzeigen();
}

void THauptformular::klasseneinteilungClick() {
    BestandeneZaehlen(m_daten, m_einstellungen->grenznoteWert());
    // Sorting, the classes and the letters given out are one step.
    const QString befehl = QStringLiteral("Klasseneinteilung");
    std::vector<verlauf::SchrittZeiger> teile;
    teile.push_back(sortiereNachNote(befehl));
    teile.push_back(verlauf::vorBewertung(befehl, m_daten, true));
    try {
        ::KlassenBilden(m_daten);
        Anzeigen();
        klassen::rasterFuellen(m_klassen->raster(), m_daten);
        m_klassen->rasterGeaendert();
        // However the window is closed, its letters are read.
        m_klassen->exec();
        klassen::einteilungUebernehmen(m_klassen->raster(), m_daten);
    } catch (...) {
        merke(verlauf::sammlung(befehl, std::move(teile)));
        throw;
    }
    merke(verlauf::sammlung(befehl, std::move(teile)));
    Anzeigen();
}

void THauptformular::KeineKlasenasuwertung1Click() {
    m_daten.FKlassen.clear();
}

void THauptformular::Grenzfaelle1Click() {
    m_grenzfaelle->zeige();
}

void THauptformular::Ergebnis1Click() {
    // The lines are built before the window is touched: a failure leaves an open report as it was.
    // The lines of a long list are made on a worker, from a copy; the statistics they computed
    // come back, also when they failed (as when computed here).
    Auswertung kopie = m_daten;
    auto statistik = [this, &kopie] {
        m_daten.FDurchschnitt = kopie.FDurchschnitt;
        m_daten.FStandardabweichung = kopie.FStandardabweichung;
        m_daten.FQuadratsumme = kopie.FQuadratsumme;
        m_daten.FGrenznote = kopie.FGrenznote;
        m_daten.FBestanden = kopie.FBestanden;
    };
    const TNotenskala skala = m_notenvergabe->skala();
    const double grenznote = m_einstellungen->grenznoteWert();
    const Reportoptionen optionen{m_einstellungen->weitereKennzahlen(),
                                  m_einstellungen->kleineGruppenAusblenden()};
    Reportzeilen zeilen;
    try {
        zeilen =
            imHintergrund(QStringLiteral("Der Report wird erstellt"), [&kopie, &skala, grenznote, &optionen] {
                return reportZeilen(kopie, skala, grenznote, optionen);
            });
    } catch (const fortschritt::Abgebrochen&) {
        throw;
    } catch (const KeineAuswertung&) {
        statistik();
        meldung::fehler(report::kKeineAuswertung, this);
        return;
    } catch (...) {
        statistik();
        throw;
    }
    statistik();
    m_ergebnis->zeigeZeilen(zeilen);
    if (m_einstellungen->grafikEinschliessen()) {
        HistogrammClick();
        QGuiApplication::clipboard()->setImage(m_chart->bild());
        m_ergebnis->einfuegen();
        m_chart->hide();
    }
    m_ergebnis->zeige();
}

void THauptformular::HistogrammClick() {
    m_chart->setzeTitel(QStringLiteral("Notenverteilung"));
    const double breite = histogramm::breite(m_einstellungen->histogrammGruppe());
    KlassenBilden();
    const auto bereiche = histogramm::bereiche(m_daten.FKlassen, breite);
    m_chart->leeren();
    for (const histogramm::Balken& b : histogramm::balken(bereiche))
        m_chart->fuegeHinzu(b.wert, b.beschriftung);
    m_chart->zeige();
}
