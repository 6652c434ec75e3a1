// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands that bring a list in (open a record file, also one handed over at
// start, import or append a text file, paste from the clipboard) and the status bar line that
// sums up what each brought in.

#include "Hauptfenster.h"

#include "Meldung.h"
#include "Meldungsfehler.h"
#include "Notendatei.h"
#include "Tabelle.h"
#include "importform.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QStatusBar>

namespace {
// The file's name as the progress dialog and the questions name it.
QString name(const QString& pfad) {
    return QFileInfo(pfad).fileName();
}
} // namespace

void THauptformular::oeffnenClick() {
    const auto datei = waehleDatei(OpenDialog, 2, Dateizweck::Oeffnen);
    if (!datei)
        return;
    oeffneDatei(*datei);
}

void THauptformular::oeffneDatei(const QString& pfad) {
    // The reader returns a whole list or raises an error, so a failure changes nothing here.
    notendatei::Befund befund;
    Notenliste neu = imHintergrund(QStringLiteral("„%1“ wird geöffnet").arg(name(pfad)),
                                   [&pfad, &befund] { return notendatei::lese(pfad, &befund); });
    // Any file opens as records; one that cannot have been written as such is asked about first.
    if (!befund.plausibel() &&
        !meldung::zeige(
            meldung::Art::Warnfrage,
            QStringLiteral("„%1“ sieht nicht wie eine Notendatei aus — trotzdem öffnen?").arg(name(pfad)),
            this))
        return;
    merke(verlauf::vorErsatz(QStringLiteral("Öffnen"), m_daten, verlauf::Eintraege | verlauf::Original));
    m_daten.FEintraege = std::move(neu);
    m_daten.OriginalMerken();
    Anzeigen();
    ImportZusammenfassung z;
    z.uebernommen = m_daten.FEintraege.size();
    zeigeStatus(z);
}

void THauptformular::oeffneAufruf(const QStringList& argumente) {
    if (argumente.isEmpty())
        return;
    Fehlerbericht::ausfuehren([this, &argumente] {
        // The desktop hands over one record file; anything else is refused and the list stays as it is.
        if (argumente.size() > 1)
            fehler::abbruchMitFehlerbox(QStringLiteral("Skalora öffnet nur eine Notendatei auf einmal."));
        const QString& pfad = argumente.front();
        if (!pfad.endsWith(QStringLiteral(".noten"), Qt::CaseInsensitive))
            fehler::abbruchMitFehlerbox(QStringLiteral("„%1“ ist keine Notendatei (*.noten).").arg(pfad));
        oeffneDatei(pfad);
    });
}

void THauptformular::importierencsvClick() {
    m_daten.FErsetzen = true;
    Importieren1Click();
}

void THauptformular::AnfgenCSV1Click() {
    m_daten.FErsetzen = false;
    Importieren1Click();
}

void THauptformular::Importieren1Click() {
    // Spreadsheets are offered after the other filters, so their indexes stay; "Öffnen" keeps
    // the plain list.
    const QStringList filter = OpenDialog->nameFilters();
    OpenDialog->setNameFilters(filter + QStringList{QStringLiteral("Tabellen (*.xlsx *.ods)")});
    const auto datei = waehleDatei(OpenDialog, 1, Dateizweck::Import);
    OpenDialog->setNameFilters(filter);
    if (!datei)
        return;
    // A spreadsheet has its cells already; the separator setting plays no part.
    const bool mappe = tabelle::istTabelle(*datei);
    const QChar trenner = mappe ? QChar() : trennerAus(m_import->trennerText());
    const ImportEinstellungen e = m_import->einstellungen();
    const QString pfad = *datei;
    int blatt = -1;
    if (mappe) {
        const auto gewaehlt = waehleBlatt(pfad);
        if (!gewaehlt)
            return;
        blatt = *gewaehlt;
    }
    Auswertung neu = m_daten;
    QString blattText;
    const ImportZusammenfassung z =
        imHintergrund(QStringLiteral("„%1“ wird eingelesen").arg(name(pfad)),
                      [&neu, &pfad, mappe, blatt, trenner, &e, &blattText]() -> ImportZusammenfassung {
                          if (!mappe)
                              return importiereDatei(neu, pfad, trenner, e);
                          TabellenZusammenfassung t = importiereTabelle(neu, pfad, e, blatt);
                          blattText = t.blattText();
                          return t;
                      });
    uebernimmImport(
        z, neu, m_daten.FErsetzen ? QStringLiteral("Importieren (CSV)") : QStringLiteral("Anfügen (CSV)"));
    // Which sheet the rows came from, so that a workbook of several sheets brings no surprise.
    if (z.ergebnis == ImportErgebnis::Gelesen && !blattText.isEmpty())
        m_statustext->setText(m_statustext->text() + QStringLiteral(". ") + blattText);
}

std::optional<int> THauptformular::waehleBlatt(const QString& pfad) {
    const QStringList namen = imHintergrund(QStringLiteral("„%1“ wird geöffnet").arg(name(pfad)),
                                            [&pfad] { return tabelle::blaetter(pfad); });
    if (namen.size() <= 1)
        return -1;
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("Blattwahl"));
    dialog.setWindowTitle(QStringLiteral("Blatt wählen"));
    dialog.setLabelText(
        QStringLiteral("Die Arbeitsmappe „%1“ hat %2 Blätter. Welches soll eingelesen werden?")
            .arg(name(pfad))
            .arg(namen.size()));
    dialog.setComboBoxItems(QStringList{QStringLiteral("Das erste Blatt mit Daten")} + namen);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // The first entry leaves the choice to the reader; the others are the sheets in their order.
    const auto* liste = dialog.findChild<QComboBox*>();
    const int i = liste ? liste->currentIndex() : 0;
    return i <= 0 ? -1 : static_cast<int>(i - 1);
}

void THauptformular::VomClipboardeinfgen1Click() {
    const QString text = QGuiApplication::clipboard()->text();
    const ImportEinstellungen e = m_import->einstellungen();
    Auswertung neu = m_daten;
    const ImportZusammenfassung z =
        imHintergrund(QStringLiteral("Der Text der Zwischenablage wird eingefügt"),
                      [&neu, &text, &e] { return importiereText(neu, text, QChar(u'\t'), e); });
    uebernimmImport(z, neu, QStringLiteral("Vom Clipboard einfügen"));
}

void THauptformular::uebernimmImport(const ImportZusammenfassung& z, Auswertung& neu, const QString& befehl) {
    // The import read into a copy; what it changed comes over as one step.
    if (z.ergebnis == ImportErgebnis::Gelesen) {
        merke(verlauf::vorErsatz(befehl, m_daten, verlauf::Eintraege | verlauf::Original | verlauf::Klassen));
        m_daten.FEintraege = std::move(neu.FEintraege);
        m_daten.FOriginal = std::move(neu.FOriginal);
        m_daten.FKlassen = std::move(neu.FKlassen);
    }
    zeigeImport(z);
}

void THauptformular::zeigeImport(const ImportZusammenfassung& z) {
    switch (z.ergebnis) {
    case ImportErgebnis::SpaltenFehler:
        // Nothing was read; a summary of an earlier import would mislead.
        m_statustext->clear();
        m_statustext->setToolTip(QString());
        meldung::fehler(kSpaltenFehler, this);
        return;
    case ImportErgebnis::NichtsBrauchbar:
        zeigeStatus(z);
        meldung::fehler(z.nichtsBrauchbarText(), this);
        return;
    case ImportErgebnis::Gelesen:
        Anzeigen();
        zeigeStatus(z);
        return;
    }
}

void THauptformular::baueStatusleiste() {
    m_statustext = new QLabel(this);
    m_statustext->setObjectName(QStringLiteral("Statustext"));
    statusBar()->setObjectName(QStringLiteral("Statusleiste"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_statustext, 1);
}

void THauptformular::zeigeStatus(const ImportZusammenfassung& z) {
    m_statustext->setText(z.statusText());
    // Which lines were left out, and why, without a further dialog.
    m_statustext->setToolTip(z.uebergangeneText());
}
