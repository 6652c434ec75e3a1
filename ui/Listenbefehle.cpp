// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands on the list as it stands: save it as a record file, export it as
// text or workbook, sort it, restore the order it came in, delete marked rows, fit the columns.

#include "Hauptfenster.h"

#include "Export.h"
#include "Meldung.h"
#include "Notendatei.h"
#include "Sortierung.h"
#include "Spaltenbreite.h"
#include "XlsxExport.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTableView>

namespace {
QString name(const QString& pfad) {
    return QFileInfo(pfad).fileName();
}

} // namespace

void THauptformular::Speichern1Click() {
    const auto datei = waehleDatei(SaveDialog1, 2, Dateizweck::Speichern);
    if (!datei)
        return;
    imHintergrund(QStringLiteral("„%1“ wird gespeichert").arg(name(*datei)),
                  [pfad = *datei, liste = m_daten.FEintraege] { notendatei::schreibe(pfad, liste); });
}

void THauptformular::SpeichernCSV1Click() {
    // The workbook filter stands in this command's list only; "Speichern" keeps the plain one.
    const QStringList filter = SaveDialog1->nameFilters();
    QStringList mitMappe = filter;
    mitMappe.insert(1, kMappenFilter);
    SaveDialog1->setNameFilters(mitMappe);
    const auto datei = waehleDatei(SaveDialog1, 1, Dateizweck::Export, true);
    SaveDialog1->setNameFilters(filter);
    if (!datei)
        return;
    // The name decides, whatever filter the dialog shows: ".xlsx" is a workbook, anything else text.
    const bool mappe = QFileInfo(*datei).suffix().compare(QStringLiteral("xlsx"), Qt::CaseInsensitive) == 0;
    const qsizetype leer = imHintergrund(QStringLiteral("„%1“ wird exportiert").arg(name(*datei)),
                                         [mappe, pfad = *datei, liste = m_daten.FEintraege]() -> qsizetype {
                                             if (mappe)
                                                 return exportiereXlsx(pfad, liste);
                                             exportiereCsv(pfad, liste);
                                             return 0;
                                         });
    // Values a workbook cannot hold as numbers stay empty cells; the user is told how many.
    if (leer > 0)
        meldung::information(leereWerteText(leer), this);
}

void THauptformular::SortierennachName1Click() {
    merke(verlauf::sortiere(QStringLiteral("Sortieren nach Name"), m_daten, sortierung::nachName));
    Anzeigen();
}

void THauptformular::Sortierennote() {
    merke(sortiereNachNote(QStringLiteral("Sortieren nach Note")));
    Anzeigen();
}

verlauf::SchrittZeiger THauptformular::sortiereNachNote(const QString& befehl) {
    return verlauf::sortiere(befehl, m_daten, sortierung::nachNote);
}

void THauptformular::UrsrnglicheReihenfolge1Click() {
    merke(verlauf::vorErsatz(QStringLiteral("Ursprüngliche Reihenfolge"), m_daten, verlauf::Eintraege));
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
    merke(verlauf::loesche(QStringLiteral("Markierte Zeilen löschen"), m_daten, oben, unten));
    Anzeigen();
}

void THauptformular::Spaltenbreiteanpassen1Click() {
    const auto breiten = spaltenbreite::fuerRaster(erg->font(), m_modell.liste());
    for (int spalte = 0; spalte < ErgebnisModell::SpaltenAnzahl; ++spalte)
        erg->setColumnWidth(spalte, breiten[static_cast<std::size_t>(spalte)]);
}
