// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's evaluation commands: grades, grade classes, borderline cases, the report
// and the histogram.

#include "Hauptfenster.h"

#include "Ergebnisfenster.h"
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
#include <QGuiApplication>

void THauptformular::verbindeAuswertungsfenster(TChartform* chart, TErgebnis* ergebnis,
                                                TKlassenauswertungsform* klassen) {
    m_chart = chart;
    m_ergebnis = ergebnis;
    m_klassen = klassen;
    m_klassen->verbinde(&m_daten);
}

void THauptformular::verbindeGrenzfaelle(TGrenzfaelleform* grenzfaelle) {
    m_grenzfaelle = grenzfaelle;
    m_grenzfaelle->verbinde(&m_daten, m_notenvergabe, m_einstellungen);
}

void THauptformular::Notenvergabe1Click() {
    if (m_notenvergabe->exec() != QDialog::Accepted)
        return;
    AlleNotenBerechnen(m_daten.FEintraege, m_notenvergabe->skala());
    m_daten.NotenUebernehmen();
    Anzeigen();
}

void THauptformular::NotenVorschau() {
    AlleNotenBerechnen(m_daten.FEintraege, m_notenvergabe->skala());
    StatistikBerechnen(m_daten);
    Anzeigen();
    BestandeneZaehlen(m_daten, m_einstellungen->grenznoteWert());
    m_notenvergabe->zeigeErgebnis(m_daten.FDurchschnitt, m_daten.FStandardabweichung, m_daten.FBestanden);
}

void THauptformular::KlassenBilden() {
    ::KlassenBilden(m_daten);
    Anzeigen();
}

void THauptformular::klasseneinteilungClick() {
    BestandeneZaehlen(m_daten, m_einstellungen->grenznoteWert());
    KlassenBilden();
    klassen::rasterFuellen(m_klassen->raster(), m_daten);
    m_klassen->rasterGeaendert();
    // However the window is closed, its letters are read.
    m_klassen->exec();
    klassen::einteilungUebernehmen(m_klassen->raster(), m_daten);
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
    Reportzeilen zeilen;
    try {
        zeilen =
            reportZeilen(m_daten, m_notenvergabe->skala(), m_einstellungen->grenznoteWert(),
                         {m_einstellungen->weitereKennzahlen(), m_einstellungen->kleineGruppenAusblenden()});
    } catch (const KeineAuswertung&) {
        meldung::fehler(report::kKeineAuswertung, this);
        return;
    }
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
