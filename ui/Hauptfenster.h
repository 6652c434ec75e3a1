// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menu bar, toolbar and the result grid `erg`. It owns the evaluation
// state (Auswertung) and runs every command through the general error report.

#include "ErgebnisModell.h"
#include "Import.h"
#include "results.h"

#include <QMainWindow>
#include <optional>

class QAction;
class TChartform;
class TErgebnis;
class TKlassenauswertungsform;
class Teinstellungsdialog;
class TImporteinstellungen;
class Tnotenvergabeform;
class TGrenzfaelleform;
class QFileDialog;
class QLabel;
class QMenu;
class QTableView;
class QToolBar;

class THauptformular : public QMainWindow {
    Q_OBJECT
public:
    explicit THauptformular(QWidget* eltern = nullptr);

    Auswertung& daten() { return m_daten; }
    ErgebnisModell& modell() { return m_modell; }

    // The dialogs whose controls are the parameters of the commands (created after this window).
    void verbindeFenster(Teinstellungsdialog* einstellungen, Tnotenvergabeform* notenvergabe,
                         TImporteinstellungen* import);
    // The windows that show evaluation results.
    void verbindeAuswertungsfenster(TChartform* chart, TErgebnis* ergebnis, TKlassenauswertungsform* klassen);
    // The borderline cases window ("Grenzfälle").
    void verbindeGrenzfaelle(TGrenzfaelleform* grenzfaelle);

    // Lists FEintraege in the grid.
    void Anzeigen();

    // Commands.
    void oeffnenClick();
    // Reads a record file into the list as "Öffnen" does, without the dialog.
    void oeffneDatei(const QString& pfad);
    // The arguments the program was started with: one ".noten" file is opened; anything else
    // is reported and changes nothing.
    void oeffneAufruf(const QStringList& argumente);
    void Speichern1Click();
    void Beenden1Click();
    void SortierennachName1Click();
    void Sortierennote();
    void UrsrnglicheReihenfolge1Click();
    void MarkierteZeilenlschen1Click();
    void Spaltenbreiteanpassen1Click();
    void Hilfe2Click();
    void importierencsvClick();
    void AnfgenCSV1Click();
    void Importieren1Click();
    void VomClipboardeinfgen1Click();
    void SpeichernCSV1Click();
    void Notenvergabe1Click();
    void Einstellungn1Click();
    void CSVImporteinstellungen1Click();
    void klasseneinteilungClick();
    void KeineKlasenasuwertung1Click();
    void Grenzfaelle1Click();
    void HistogrammClick();
    void Ergebnis1Click();
    void Info1Click();
    // Sorts by grade, lists, and builds the grade classes.
    void KlassenBilden();
    // The grade assignment dialog's preview ("Berechnen").
    void NotenVorschau();

    // Menus, their entries and the shared file dialogs, by their component names.
    QMenu *Datei1, *Beaarbeiten1, *Auswertung1, *Ansicht1, *Extras1, *Hilfe1;
    QAction *oeffnen, *Speichern1, *N1, *importierencsv, *AnfgenCSV1, *SpeichernCSV1, *N3, *Beenden1;
    QAction *SortierennachName1, *SortierennachNote1, *UrsrnglicheReihenfolge1, *N4, *VomClipboardeinfgen1,
        *MarkierteZeilenlschen1, *Spaltenbreiteanpassen1;
    QAction *Notenvergabe1, *klasseneinteilung, *KeineKlasenasuwertung1;
    QAction* Grenzfaelle1;
    QAction *Ergebnis1, *Histogramm;
    QAction *Einstellungn1, *CSVImporteinstellungen1;
    QAction *Hilfe2, *Info1;
    QToolBar* ToolBar1;
    QTableView* erg;
    QFileDialog* OpenDialog;
    QFileDialog* SaveDialog1;

    // Shows `dialog` with filter `filterIndex` (1-based) preselected; the chosen file, or
    // nothing when cancelled. The dialog keeps the last folder and name.
    // With csvEndung a name typed without extension gets ".csv" while the CSV filter is selected.
    std::optional<QString> waehleDatei(QFileDialog* dialog, int filterIndex, bool csvEndung = false);

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void FormCreate();
    QAction* neueAktion(QMenu* menu, const QString& name, const QString& text, int bild);
    void baueMenue();
    void baueWerkzeugleiste();
    // Top and bottom grid rows of the selection, or the current row.
    std::pair<int, int> markierteZeilen() const;

    // Lists an import and sums it up in the status bar, or reports why nothing was read.
    void zeigeImport(const ImportZusammenfassung& z);
    void baueStatusleiste();
    // "n Prüflinge übernommen, m Zeilen übergangen"; the tooltip names the lines left out.
    void zeigeStatus(const ImportZusammenfassung& z);

    Auswertung m_daten;
    ErgebnisModell m_modell;
    Teinstellungsdialog* m_einstellungen = nullptr;
    Tnotenvergabeform* m_notenvergabe = nullptr;
    TImporteinstellungen* m_import = nullptr;
    TChartform* m_chart = nullptr;
    TErgebnis* m_ergebnis = nullptr;
    TKlassenauswertungsform* m_klassen = nullptr;
    TGrenzfaelleform* m_grenzfaelle = nullptr;
    QLabel* m_statustext = nullptr;
};
