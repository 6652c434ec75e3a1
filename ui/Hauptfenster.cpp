// SPDX-License-Identifier: GPL-3.0-or-later
// The main window itself: its grid, dialogs and file choice, the listing, and the commands
// that end the program or open another window or the help.

#include "Hauptfenster.h"

#include "Befehle.h"
#include "Geometrie.h"
#include "Hilfe.h"
#include "Info.h"
#include "Konfiguration.h"
#include "Steuerelemente.h"
#include "einstellungen.h"
#include "importform.h"
#include "notenvergabe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>

THauptformular::THauptformular(QWidget* eltern) : QMainWindow(eltern) {
    setObjectName(QStringLiteral("Hauptformular"));
    setWindowTitle(QStringLiteral("Skalora"));
    setFont(geometrie::designSchrift());

    befehle::einrichten(*this);

    erg = new QTableView(this);
    erg->setObjectName(QStringLiteral("erg"));
    erg->setModel(&m_modell);
    erg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    steuerelemente::richteRasterEin(erg);
    erg->horizontalHeader()->setDefaultSectionSize(geometrie::px(150));
    setCentralWidget(erg);
    baueStatusleiste();

    OpenDialog = steuerelemente::dateidialog(this, QStringLiteral("OpenDialog"), QFileDialog::AcceptOpen,
                                             kDateifilter);
    SaveDialog1 = steuerelemente::dateidialog(this, QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave,
                                              kDateifilter);
    SaveDialog1->setDefaultSuffix(QStringLiteral("noten"));
    // A program started from the desktop runs in "/"; the first dialog offers the user's files.
    const QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString anfang = QDir(dokumente).exists() ? dokumente : QDir::homePath();
    for (Zuletzt& z : m_zuletzt)
        z.ordner = anfang;
    zeigeVerlauf();

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

void THauptformular::verbindeFenster(Teinstellungsdialog* einstellungen, Tnotenvergabeform* notenvergabe,
                                     TImporteinstellungen* import) {
    m_einstellungen = einstellungen;
    m_notenvergabe = notenvergabe;
    m_import = import;
    m_notenvergabe->setzeVorschau([this] { NotenVorschau(); });
    m_notenvergabe->setzeListe([this]() -> const Notenliste& { return m_daten.FEintraege; });
}

void THauptformular::closeEvent(QCloseEvent* ereignis) {
    // Closing the main window ends the program, whatever else stands open. exit() rather than
    // quit(): quit() closes the other windows first, and a closing import dialog would save.
    ereignis->accept();
    QCoreApplication::exit(0);
}

std::optional<QString> THauptformular::waehleDatei(QFileDialog* dialog, int filterIndex, Dateizweck zweck,
                                                   bool csvEndung) {
    Zuletzt& zuletzt = m_zuletzt[static_cast<std::size_t>(zweck)];
    dialog->setDirectory(zuletzt.ordner);
    dialog->selectNameFilter(kDateifilter.value(filterIndex - 1));
    // The shared dialog shows the name this use chose last, or none (never another use's file).
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->clear();
    if (!zuletzt.datei.isEmpty())
        dialog->selectFile(zuletzt.datei);
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
    const auto datei = steuerelemente::gewaehlteDatei(dialog, ergebnis, gewaehlt);
    if (datei)
        zuletzt = {QFileInfo(*datei).fileName(), QFileInfo(*datei).absolutePath()};
    return datei;
}

THauptformular::Sperre::Sperre(THauptformular& f) : m_f(f) {
    befehle::sperren(m_f, true);
}

THauptformular::Sperre::~Sperre() {
    befehle::sperren(m_f, false);
    m_f.zeigeVerlauf();
}

void THauptformular::merke(verlauf::SchrittZeiger schritt) {
    m_verlauf.merke(std::move(schritt));
    zeigeVerlauf();
}

void THauptformular::zeigeVerlauf() {
    const bool frei = !hintergrund::laeuft();
    Rueckgaengig1->setEnabled(frei && m_verlauf.kannRueckgaengig());
    Wiederholen1->setEnabled(frei && m_verlauf.kannWiederholen());
    // The command a step belongs to, as the hint in the status bar.
    const QString zurueck = m_verlauf.rueckgaengigName(), vor = m_verlauf.wiederholenName();
    Rueckgaengig1->setStatusTip(zurueck.isEmpty() ? QString() : QStringLiteral("Rückgängig: ") + zurueck);
    Wiederholen1->setStatusTip(vor.isEmpty() ? QString() : QStringLiteral("Wiederholen: ") + vor);
    Rueckgaengig1->setToolTip(Rueckgaengig1->statusTip());
    Wiederholen1->setToolTip(Wiederholen1->statusTip());
}

void THauptformular::Rueckgaengig1Click() {
    m_verlauf.rueckgaengig(m_daten);
    zeigeVerlauf();
    Anzeigen();
}

void THauptformular::Wiederholen1Click() {
    m_verlauf.wiederholen(m_daten);
    zeigeVerlauf();
    Anzeigen();
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

void THauptformular::Beenden1Click() {
    close();
}

void THauptformular::Hilfe2Click() {
    // F1 reaches every window: it opens the page of the window that is active.
    hilfe::zeige(hilfe::kontextFuer(QApplication::activeWindow()));
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
