// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hauptfenster.h"

#include "Export.h"
#include "Fehler.h"
#include "Geometrie.h"
#include "Hilfe.h"
#include "Import.h"
#include "Info.h"
#include "Konfiguration.h"
#include "Meldung.h"
#include "Meldungsfehler.h"
#include "Notendatei.h"
#include "Notenskala.h"
#include "Spaltenbreite.h"
#include "Statistik.h"
#include "Steuerelemente.h"
#include "XlsxExport.h"
#include "einstellungen.h"
#include "importform.h"
#include "notenvergabe.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace {
const QStringList kDateifilter = {QStringLiteral("CSV Dateien (*.csv)"), QStringLiteral("Daten (*.noten)"),
                                  QStringLiteral("Alles (*.*)")};
// Offered by "Exportieren (CSV)" only, as its second filter.
const QString kMappenFilter = QStringLiteral("Excel-Arbeitsmappe (*.xlsx)");
} // namespace

THauptformular::THauptformular(QWidget* eltern) : QMainWindow(eltern) {
    setObjectName(QStringLiteral("Hauptformular"));
    setWindowTitle(QStringLiteral("Skalora"));
    setFont(geometrie::designSchrift());

    baueMenue();
    baueWerkzeugleiste();

    erg = new QTableView(this);
    erg->setObjectName(QStringLiteral("erg"));
    erg->setModel(&m_modell);
    erg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    erg->setSelectionMode(QAbstractItemView::ContiguousSelection);
    erg->setSelectionBehavior(QAbstractItemView::SelectItems);
    erg->setWordWrap(false);
    erg->verticalHeader()->hide();
    erg->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    erg->verticalHeader()->setDefaultSectionSize(erg->fontMetrics().height() + geometrie::px(6));
    erg->horizontalHeader()->setDefaultSectionSize(geometrie::px(150));
    erg->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    erg->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    erg->horizontalHeader()->setHighlightSections(false);
    // The header is the grid's fixed row: a click on it marks nothing.
    erg->horizontalHeader()->setSectionsClickable(false);
    setCentralWidget(erg);
    baueStatusleiste();

    OpenDialog = steuerelemente::dateidialog(this, QStringLiteral("OpenDialog"), QFileDialog::AcceptOpen,
                                             kDateifilter);
    SaveDialog1 = steuerelemente::dateidialog(this, QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave,
                                              kDateifilter);
    SaveDialog1->setDefaultSuffix(QStringLiteral("noten"));

    FormCreate();

    // Client area 633 x 328 at design resolution, at the top-left corner of the screen.
    resize(geometrie::px(633), geometrie::px(328) + menuBar()->sizeHint().height());
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().topLeft());
}

void THauptformular::FormCreate() {
    // Set at run time, so screen pixels (the default width is a design value and scales). A
    // header text that does not fit in the font at hand widens its column just enough.
    const QHeaderView* kopf = erg->horizontalHeader();
    for (const auto& [spalte, breite] :
         {std::pair{ErgebnisModell::Nummer, 40}, std::pair{ErgebnisModell::Punkte, 60},
          std::pair{ErgebnisModell::Note, 100}})
        erg->setColumnWidth(spalte, std::max(breite, kopf->sectionSizeHint(spalte)));
}

QAction* THauptformular::neueAktion(QMenu* menu, const QString& name, const QString& text, int bild) {
    auto* a =
        new QAction(QIcon(QStringLiteral(":/symbole/%1.svg").arg(bild, 2, 10, QLatin1Char('0'))), text, this);
    a->setObjectName(name);
    a->setIconVisibleInMenu(true);
    menu->addAction(a);
    return a;
}

void THauptformular::baueMenue() {
    auto trenner = [](QMenu* m, const QString& name) {
        QAction* a = m->addSeparator();
        a->setObjectName(name);
        return a;
    };
    auto menue = [this](const QString& name, const QString& text) {
        QMenu* m = menuBar()->addMenu(text);
        m->setObjectName(name);
        return m;
    };

    Datei1 = menue(QStringLiteral("Datei1"), QStringLiteral("&Datei"));
    oeffnen = neueAktion(Datei1, QStringLiteral("oeffnen"), QStringLiteral("Ö&ffnen"), 17);
    Speichern1 = neueAktion(Datei1, QStringLiteral("Speichern1"), QStringLiteral("Speichern"), 16);
    N1 = trenner(Datei1, QStringLiteral("N1"));
    importierencsv =
        neueAktion(Datei1, QStringLiteral("importierencsv"), QStringLiteral("&Importieren (CSV)"), 0);
    AnfgenCSV1 = neueAktion(Datei1, QStringLiteral("AnfgenCSV1"), QStringLiteral("Anfügen (CSV)"), 1);
    SpeichernCSV1 =
        neueAktion(Datei1, QStringLiteral("SpeichernCSV1"), QStringLiteral("Exportieren (CSV)"), 2);
    N3 = trenner(Datei1, QStringLiteral("N3"));
    Beenden1 = neueAktion(Datei1, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"), 19);

    Beaarbeiten1 = menue(QStringLiteral("Beaarbeiten1"), QStringLiteral("&Bearbeiten"));
    SortierennachName1 = neueAktion(Beaarbeiten1, QStringLiteral("SortierennachName1"),
                                    QStringLiteral("Sortieren nach &Name"), 5);
    SortierennachNote1 = neueAktion(Beaarbeiten1, QStringLiteral("SortierennachNote1"),
                                    QStringLiteral("Sortieren nach Note"), 4);
    UrsrnglicheReihenfolge1 = neueAktion(Beaarbeiten1, QStringLiteral("UrsrnglicheReihenfolge1"),
                                         QStringLiteral("Ursprüngliche Reihenfolge"), 3);
    N4 = trenner(Beaarbeiten1, QStringLiteral("N4"));
    VomClipboardeinfgen1 = neueAktion(Beaarbeiten1, QStringLiteral("VomClipboardeinfgen1"),
                                      QStringLiteral("Vom Clipboard einfügen"), 7);
    MarkierteZeilenlschen1 = neueAktion(Beaarbeiten1, QStringLiteral("MarkierteZeilenlschen1"),
                                        QStringLiteral("Markierte Zeilen löschen"), 8);
    Spaltenbreiteanpassen1 = neueAktion(Beaarbeiten1, QStringLiteral("Spaltenbreiteanpassen1"),
                                        QStringLiteral("Spaltenbreite anpassen"), 20);

    Auswertung1 = menue(QStringLiteral("Auswertung1"), QStringLiteral("&Auswertung"));
    Notenvergabe1 =
        neueAktion(Auswertung1, QStringLiteral("Notenvergabe1"), QStringLiteral("Notenvergabe"), 10);
    klasseneinteilung =
        neueAktion(Auswertung1, QStringLiteral("klasseneinteilung"), QStringLiteral("Klasseneinteilung"), 15);
    KeineKlasenasuwertung1 = neueAktion(Auswertung1, QStringLiteral("KeineKlasenasuwertung1"),
                                        QStringLiteral("Keine Klassenauswertung"), 18);
    Grenzfaelle1 = neueAktion(Auswertung1, QStringLiteral("Grenzfaelle1"), QStringLiteral("Grenzfälle"), 21);

    Ansicht1 = menue(QStringLiteral("Ansicht1"), QStringLiteral("&Ansicht"));
    Ergebnis1 = neueAktion(Ansicht1, QStringLiteral("Ergebnis1"), QStringLiteral("Report"), 9);
    Histogramm = neueAktion(Ansicht1, QStringLiteral("Histogramm"), QStringLiteral("&Histogramm"), 11);

    Extras1 = menue(QStringLiteral("Extras1"), QStringLiteral("Extras"));
    Einstellungn1 = neueAktion(Extras1, QStringLiteral("Einstellungn1"), QStringLiteral("Einstellungen"), 6);
    CSVImporteinstellungen1 = neueAktion(Extras1, QStringLiteral("CSVImporteinstellungen1"),
                                         QStringLiteral("CSV Importeinstellungen"), 12);

    Hilfe1 = menue(QStringLiteral("Hilfe1"), QStringLiteral("&Hilfe"));
    Hilfe2 = neueAktion(Hilfe1, QStringLiteral("Hilfe2"), QStringLiteral("Hilfe"), 14);
    Hilfe2->setShortcut(QKeySequence(Qt::Key_F1));
    Hilfe2->setShortcutContext(Qt::ApplicationShortcut);
    Info1 = neueAktion(Hilfe1, QStringLiteral("Info1"), QStringLiteral("Info"), 13);

    // The usual desktop keys besides the menus' own; they act only while this window is active.
    oeffnen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Speichern1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Beenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    auto* menueleiste = new QAction(this);
    menueleiste->setObjectName(QStringLiteral("menueleiste"));
    menueleiste->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(menueleiste);
    connect(menueleiste, &QAction::triggered, this,
            [this] { menuBar()->setActiveAction(Datei1->menuAction()); });

    auto verbindeBefehl = [this](QAction* aktion, std::function<void()> befehl) {
        Fehlerbericht::verbinde(aktion, &QAction::triggered, this, std::move(befehl));
    };
    verbindeBefehl(oeffnen, [this] { oeffnenClick(); });
    verbindeBefehl(Speichern1, [this] { Speichern1Click(); });
    verbindeBefehl(Beenden1, [this] { Beenden1Click(); });
    verbindeBefehl(SortierennachName1, [this] { SortierennachName1Click(); });
    verbindeBefehl(SortierennachNote1, [this] { Sortierennote(); });
    verbindeBefehl(UrsrnglicheReihenfolge1, [this] { UrsrnglicheReihenfolge1Click(); });
    verbindeBefehl(MarkierteZeilenlschen1, [this] { MarkierteZeilenlschen1Click(); });
    verbindeBefehl(Spaltenbreiteanpassen1, [this] { Spaltenbreiteanpassen1Click(); });
    verbindeBefehl(Hilfe2, [this] { Hilfe2Click(); });
    verbindeBefehl(importierencsv, [this] { importierencsvClick(); });
    verbindeBefehl(AnfgenCSV1, [this] { AnfgenCSV1Click(); });
    verbindeBefehl(SpeichernCSV1, [this] { SpeichernCSV1Click(); });
    verbindeBefehl(VomClipboardeinfgen1, [this] { VomClipboardeinfgen1Click(); });
    verbindeBefehl(Notenvergabe1, [this] { Notenvergabe1Click(); });
    verbindeBefehl(Einstellungn1, [this] { Einstellungn1Click(); });
    verbindeBefehl(CSVImporteinstellungen1, [this] { CSVImporteinstellungen1Click(); });
    verbindeBefehl(klasseneinteilung, [this] { klasseneinteilungClick(); });
    verbindeBefehl(KeineKlasenasuwertung1, [this] { KeineKlasenasuwertung1Click(); });
    verbindeBefehl(Grenzfaelle1, [this] { Grenzfaelle1Click(); });
    verbindeBefehl(Histogramm, [this] { HistogrammClick(); });
    verbindeBefehl(Ergebnis1, [this] { Ergebnis1Click(); });
    verbindeBefehl(Info1, [this] { Info1Click(); });
}

void THauptformular::verbindeFenster(Teinstellungsdialog* einstellungen, Tnotenvergabeform* notenvergabe,
                                     TImporteinstellungen* import) {
    m_einstellungen = einstellungen;
    m_notenvergabe = notenvergabe;
    m_import = import;
    m_notenvergabe->setzeVorschau([this] { NotenVorschau(); });
    m_notenvergabe->setzeListe([this]() -> const Notenliste& { return m_daten.FEintraege; });
}

void THauptformular::baueWerkzeugleiste() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setFixedHeight(std::max(geometrie::px(29), 22));
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);

    auto knopf = [this](const QString& name, QAction* aktion) {
        ToolBar1->addAction(aktion);
        QWidget* w = ToolBar1->widgetForAction(aktion);
        w->setObjectName(name);
        const int seite = std::max(geometrie::px(24), 20);
        w->setFixedSize(seite, seite);
    };
    auto trenner = [this](const QString& name) { ToolBar1->addSeparator()->setObjectName(name); };

    knopf(QStringLiteral("ToolButton18"), oeffnen);
    knopf(QStringLiteral("ToolButton17"), Speichern1);
    trenner(QStringLiteral("ToolButton19"));
    knopf(QStringLiteral("ToolButton1"), importierencsv);
    knopf(QStringLiteral("ToolButton2"), AnfgenCSV1);
    knopf(QStringLiteral("ToolButton3"), SpeichernCSV1);
    trenner(QStringLiteral("ToolButton28"));
    knopf(QStringLiteral("ToolButton27"), Beenden1);
    trenner(QStringLiteral("ToolButton20"));
    knopf(QStringLiteral("ToolButton5"), SortierennachName1);
    knopf(QStringLiteral("ToolButton7"), UrsrnglicheReihenfolge1);
    knopf(QStringLiteral("ToolButton6"), SortierennachNote1);
    trenner(QStringLiteral("ToolButton21"));
    knopf(QStringLiteral("ToolButton4"), VomClipboardeinfgen1);
    knopf(QStringLiteral("ToolButton10"), MarkierteZeilenlschen1);
    knopf(QStringLiteral("ToolButton29"), Spaltenbreiteanpassen1);
    trenner(QStringLiteral("ToolButton22"));
    knopf(QStringLiteral("ToolButton8"), Notenvergabe1);
    knopf(QStringLiteral("ToolButton9"), klasseneinteilung);
    knopf(QStringLiteral("ToolButton26"), KeineKlasenasuwertung1);
    trenner(QStringLiteral("ToolButton23"));
    knopf(QStringLiteral("ToolButton11"), Histogramm);
    knopf(QStringLiteral("ToolButton12"), Ergebnis1);
    trenner(QStringLiteral("ToolButton24"));
    knopf(QStringLiteral("ToolButton13"), Einstellungn1);
    knopf(QStringLiteral("ToolButton14"), CSVImporteinstellungen1);
    trenner(QStringLiteral("ToolButton25"));
    knopf(QStringLiteral("ToolButton15"), Info1);
    knopf(QStringLiteral("ToolButton16"), Hilfe2);
    knopf(QStringLiteral("ToolButton30"), Grenzfaelle1);
}

void THauptformular::closeEvent(QCloseEvent* ereignis) {
    // Closing the main window ends the program, whatever else stands open. exit() rather than
    // quit(): quit() closes the other windows first, and a closing import dialog would save.
    ereignis->accept();
    QCoreApplication::exit(0);
}

std::optional<QString> THauptformular::waehleDatei(QFileDialog* dialog, int filterIndex, bool csvEndung) {
    dialog->selectNameFilter(kDateifilter.value(filterIndex - 1));
    const QString endung = dialog->defaultSuffix();
    QMetaObject::Connection filterWechsel;
    if (csvEndung) {
        auto passeAn = [dialog, endung](const QString& filter) {
            dialog->setDefaultSuffix(filter == kDateifilter[0] ? QStringLiteral("csv")
                                     : filter == kMappenFilter ? QStringLiteral("xlsx")
                                                               : endung);
        };
        passeAn(kDateifilter.value(filterIndex - 1));
        filterWechsel = connect(dialog, &QFileDialog::filterSelected, dialog, passeAn);
    }
    const int ergebnis = dialog->exec();
    // selectedFiles() applies the default suffix of the moment, so read it before restoring.
    const QStringList gewaehlt = dialog->selectedFiles();
    if (csvEndung) {
        disconnect(filterWechsel);
        dialog->setDefaultSuffix(endung);
    }
    return steuerelemente::gewaehlteDatei(dialog, ergebnis, gewaehlt);
}

void THauptformular::Anzeigen() {
    // Like a string grid, the grid keeps its current cell and marked range through a listing,
    // within the new row count.
    const QModelIndex aktuell = erg->currentIndex();
    const int aktuelleZeile = aktuell.row(), aktuelleSpalte = aktuell.column();
    QList<QRect> markiert;
    for (const QItemSelectionRange& r : erg->selectionModel()->selection())
        markiert.append(QRect(QPoint(r.left(), r.top()), QPoint(r.right(), r.bottom())));

    m_modell.anzeigen(m_daten.FEintraege);

    const int letzte = m_modell.rowCount() - 1;
    if (letzte < 0)
        return;
    auto zelle = [this, letzte](int zeile, int spalte) {
        return m_modell.index(std::min(zeile, letzte), spalte);
    };
    if (aktuelleZeile >= 0)
        erg->selectionModel()->setCurrentIndex(zelle(aktuelleZeile, aktuelleSpalte),
                                               QItemSelectionModel::NoUpdate);
    QItemSelection neu;
    for (const QRect& r : markiert)
        if (r.top() <= letzte)
            neu.select(zelle(r.top(), r.left()), zelle(r.bottom(), r.right()));
    if (!neu.isEmpty())
        erg->selectionModel()->select(neu, QItemSelectionModel::ClearAndSelect);
}

void THauptformular::oeffneAufruf(const QStringList& argumente) {
    if (argumente.isEmpty())
        return;
    Fehlerbericht::ausfuehren([this, &argumente] {
        // The desktop hands over one record file; anything else is refused and the list stays as it is.
        if (argumente.size() > 1)
            fehler::melde(QStringLiteral("Skalora öffnet nur eine Notendatei auf einmal."));
        const QString& pfad = argumente.front();
        if (!pfad.endsWith(QStringLiteral(".noten"), Qt::CaseInsensitive))
            fehler::melde(QStringLiteral("„%1“ ist keine Notendatei (*.noten).").arg(pfad));
        oeffneDatei(pfad);
    });
}

void THauptformular::Speichern1Click() {
    const auto datei = waehleDatei(SaveDialog1, 2);
    if (!datei)
        return;
    notendatei::schreibe(*datei, m_daten.FEintraege);
}

void THauptformular::Beenden1Click() {
    close();
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

void THauptformular::Hilfe2Click() {
    // F1 reaches every window: it opens the page of the window that is active.
    hilfe::zeige(hilfe::kontextFuer(QApplication::activeWindow()));
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

void THauptformular::Einstellungn1Click() {
    steuerelemente::zeigeNichtmodal(m_einstellungen);
}

void THauptformular::CSVImporteinstellungen1Click() {
    steuerelemente::zeigeNichtmodal(m_import);
}

void THauptformular::Info1Click() {
    // A new box each time; it belongs to this window and destroys itself when closed.
    auto* info = new Tinfodialog(this);
    info->FHomepage = konfiguration::produktHomepage();
    info->FArchivName = QStringLiteral("skalora.zip");
    steuerelemente::zeigeNichtmodal(info);
}
