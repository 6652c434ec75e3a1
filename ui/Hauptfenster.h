// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menu bar, toolbar and the result grid `erg`. It owns the evaluation
// state (Auswertung) and runs every command through the general error report.

#include "Auswertung.h"
#include "ErgebnisModell.h"
#include "Hintergrund.h"
#include "Import.h"
#include "Verlauf.h"

#include <QMainWindow>
#include <QStringList>
#include <array>
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
    verlauf::Verlauf& verlauf() { return m_verlauf; }

    // The dialogs whose controls are the parameters of the commands (created after this window).
    void verbindeFenster(Teinstellungsdialog* einstellungen, Tnotenvergabeform* notenvergabe,
                         TImporteinstellungen* import);
    // The windows that show evaluation results.
    void verbindeAuswertungsfenster(TChartform* chart, TErgebnis* ergebnis, TKlassenauswertungsform* klassen);
    // The borderline cases window ("Grenzfälle").
    void verbindeGrenzfaelle(TGrenzfaelleform* grenzfaelle);

    // Lists FEintraege in the grid.
    void Anzeigen();

    // The command handlers, one per row of the command table (Befehle.cpp), grouped by the
    // file that holds them.

    // Bringing a list in (Importbefehle.cpp).
    void oeffnenClick();
    void importierencsvClick();
    void AnfgenCSV1Click();
    void VomClipboardeinfgen1Click();
    // The import both "Importieren (CSV)" and "Anfügen (CSV)" run, after setting FErsetzen.
    void Importieren1Click();
    // Reads a record file into the list as "Öffnen" does, without the dialog.
    void oeffneDatei(const QString& pfad);
    // The arguments the program was started with: one ".noten" file is opened; anything else
    // is reported and changes nothing.
    void oeffneAufruf(const QStringList& argumente);

    // The list as it stands: saved, exported, reordered, cut down, its columns fitted
    // (Listenbefehle.cpp).
    void Speichern1Click();
    void SpeichernCSV1Click();
    void SortierennachName1Click();
    void Sortierennote();
    void UrsrnglicheReihenfolge1Click();
    void MarkierteZeilenlschen1Click();
    void Spaltenbreiteanpassen1Click();
    // Undo and redo of the commands that change the list, its grades or its letters.
    void Rueckgaengig1Click();
    void Wiederholen1Click();

    // Grades, classes, borderline cases, histogram and report (Auswertungsbefehle.cpp).
    void Notenvergabe1Click();
    void klasseneinteilungClick();
    void KeineKlasenasuwertung1Click();
    void Grenzfaelle1Click();
    void Ergebnis1Click();
    void HistogrammClick();
    // Sorts by grade, lists, and builds the grade classes.
    void KlassenBilden();
    // The grade assignment dialog's preview ("Berechnen").
    void NotenVorschau();

    // Ending, the other windows and help (Hauptfenster.cpp).
    void Beenden1Click();
    void Einstellungn1Click();
    void CSVImporteinstellungen1Click();
    void Hilfe2Click();
    void Info1Click();

    // Menus and their entries by their component names, as the command table builds them.
    QMenu *Datei1, *Beaarbeiten1, *Auswertung1, *Ansicht1, *Extras1, *Hilfe1;
    QAction *oeffnen, *Speichern1, *N1, *importierencsv, *AnfgenCSV1, *SpeichernCSV1, *N3, *Beenden1;
    QAction *Rueckgaengig1, *Wiederholen1, *N5;
    QAction *SortierennachName1, *SortierennachNote1, *UrsrnglicheReihenfolge1, *N4, *VomClipboardeinfgen1,
        *MarkierteZeilenlschen1, *Spaltenbreiteanpassen1;
    QAction *Notenvergabe1, *klasseneinteilung, *KeineKlasenasuwertung1, *Grenzfaelle1;
    QAction *Ergebnis1, *Histogramm;
    QAction *Einstellungn1, *CSVImporteinstellungen1;
    QAction *Hilfe2, *Info1;
    QToolBar* ToolBar1;
    // The result grid and the shared file dialogs.
    QTableView* erg;
    QFileDialog* OpenDialog;
    QFileDialog* SaveDialog1;

    // What a file dialog is shown for: each use remembers its own last file and folder, so
    // "Öffnen" never offers the text file last imported.
    enum class Dateizweck { Oeffnen, Import, Speichern, Export };

    // Shows `dialog` with filter `filterIndex` (1-based) preselected and the last file chosen for
    // `zweck` (at first none, in the user's documents folder); the chosen file, or nothing when
    // cancelled. With csvEndung a name typed without extension gets ".csv" while the CSV filter
    // is selected.
    std::optional<QString> waehleDatei(QFileDialog* dialog, int filterIndex, Dateizweck zweck,
                                       bool csvEndung = false);

    // Runs long work on a worker (ui/Hintergrund.h) while the commands that would change the
    // list wait; the work must not touch the window or m_daten.
    template <class F> auto imHintergrund(const QString& text, F&& arbeit) {
        const Sperre sperre(*this);
        return hintergrund::fuehreAus(this, text, std::forward<F>(arbeit));
    }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    // The sheet of a workbook to read: -1 for the first that holds data (also when there is
    // only one), nothing when the user cancelled the choice.
    std::optional<int> waehleBlatt(const QString& pfad);
    // Commands that change the list are disabled while it lives.
    class Sperre {
    public:
        explicit Sperre(THauptformular& f);
        ~Sperre();
        Sperre(const Sperre&) = delete;
        Sperre& operator=(const Sperre&) = delete;

    private:
        THauptformular& m_f;
    };

    // The filters of both file dialogs, 1-based as the commands select them.
    static inline const QStringList kDateifilter = {QStringLiteral("CSV Dateien (*.csv)"),
                                                    QStringLiteral("Daten (*.noten)"),
                                                    QStringLiteral("Alles (*.*)")};
    // Offered by "Exportieren (CSV)" only, as its second filter.
    static inline const QString kMappenFilter = QStringLiteral("Excel-Arbeitsmappe (*.xlsx)");

    void FormCreate();
    // Top and bottom grid rows of the selection, or the current row.
    std::pair<int, int> markierteZeilen() const;

    // Takes over what an import read into `neu` (a copy of m_daten) as one step to undo,
    // then lists it and sums it up, or reports why nothing was read.
    void uebernimmImport(const ImportZusammenfassung& z, Auswertung& neu, const QString& befehl);
    void zeigeImport(const ImportZusammenfassung& z);
    // A command's change, for undo; updates the two menu entries.
    void merke(verlauf::SchrittZeiger schritt);
    void zeigeVerlauf();
    // Sorts by grade as KlassenBilden does, as a step to undo; nullptr when the order stayed.
    verlauf::SchrittZeiger sortiereNachNote(const QString& befehl);
    void baueStatusleiste();
    // "n Prüflinge übernommen, m Zeilen übergangen"; the tooltip names the lines left out.
    void zeigeStatus(const ImportZusammenfassung& z);

    Auswertung m_daten;
    ErgebnisModell m_modell;
    verlauf::Verlauf m_verlauf;
    struct Zuletzt {
        QString datei, ordner;
    };
    std::array<Zuletzt, 4> m_zuletzt; // by Dateizweck
    Teinstellungsdialog* m_einstellungen = nullptr;
    Tnotenvergabeform* m_notenvergabe = nullptr;
    TImporteinstellungen* m_import = nullptr;
    TChartform* m_chart = nullptr;
    TErgebnis* m_ergebnis = nullptr;
    TKlassenauswertungsform* m_klassen = nullptr;
    TGrenzfaelleform* m_grenzfaelle = nullptr;
    QLabel* m_statustext = nullptr;
};
