// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands on the list as it stands: save it as a record file, export it as
// text or workbook, sort it, restore the order it came in, delete marked rows, fit the columns.

#include "Hauptfenster.h"

#include "Export.h"
#include "Notendatei.h"
#include "Spaltenbreite.h"
#include "XlsxExport.h"

#include <QFileDialog>
#include <QItemSelectionModel>
#include <QTableView>

void THauptformular::Speichern1Click() {
    const auto datei = waehleDatei(SaveDialog1, 2);
    if (!datei)
        return;
    notendatei::schreibe(*datei, m_daten.FEintraege);
}

void THauptformular::SpeichernCSV1Click() {
    // The workbook filter stands in this command's list only; "Speichern" keeps the plain one.
    const QStringList filter = SaveDialog1->nameFilters();
    QStringList mitMappe = filter;
    mitMappe.insert(1, kMappenFilter);
    SaveDialog1->setNameFilters(mitMappe);
    const auto datei = waehleDatei(SaveDialog1, 1, true);
    const bool mappe = SaveDialog1->selectedNameFilter() == kMappenFilter;
    SaveDialog1->setNameFilters(filter);
    if (!datei)
        return;
    if (mappe)
        exportiereXlsx(*datei, m_daten.FEintraege);
    else
        exportiereCsv(*datei, m_daten.FEintraege);
}

void THauptformular::SortierennachName1Click() {
    m_daten.SortierenNachName();
    Anzeigen();
}

void THauptformular::Sortierennote() {
    m_daten.SortierenNachNote();
    Anzeigen();
}

void THauptformular::UrsrnglicheReihenfolge1Click() {
    m_daten.UrspruenglicheReihenfolge();
    Anzeigen();
}

std::pair<int, int> THauptformular::markierteZeilen() const {
    const QItemSelection auswahl = erg->selectionModel()->selection();
    if (!auswahl.isEmpty()) {
        int oben = auswahl.first().top(), unten = auswahl.first().bottom();
        for (const QItemSelectionRange& r : auswahl) {
            oben = std::min(oben, r.top());
            unten = std::max(unten, r.bottom());
        }
        return {oben + 1, unten + 1};
    }
    const QModelIndex aktuell = erg->currentIndex();
    const int zeile = aktuell.isValid() ? aktuell.row() + 1 : 1;
    return {zeile, zeile};
}

void THauptformular::MarkierteZeilenlschen1Click() {
    const auto [oben, unten] = markierteZeilen();
    m_daten.ZeilenLoeschen(oben, unten);
    Anzeigen();
}

void THauptformular::Spaltenbreiteanpassen1Click() {
    const auto breiten = spaltenbreite::fuerRaster(erg->font(), m_modell.liste());
    for (int spalte = 0; spalte < ErgebnisModell::SpaltenAnzahl; ++spalte)
        erg->setColumnWidth(spalte, breiten[static_cast<std::size_t>(spalte)]);
}
