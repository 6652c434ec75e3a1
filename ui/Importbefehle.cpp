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
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

void THauptformular::oeffnenClick() {
    const auto datei = waehleDatei(OpenDialog, 2);
    if (!datei)
        return;
    oeffneDatei(*datei);
}

void THauptformular::oeffneDatei(const QString& pfad) {
    // The reader returns a whole list or raises an error, so a failure changes nothing here.
    m_daten.FEintraege = notendatei::lese(pfad);
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
    const auto datei = waehleDatei(OpenDialog, 1);
    OpenDialog->setNameFilters(filter);
    if (!datei)
        return;
    // A spreadsheet has its cells already; the separator setting plays no part.
    if (tabelle::istTabelle(*datei))
        return zeigeImport(importiereTabelle(m_daten, *datei, m_import->einstellungen()));
    const QChar trenner = trennerAus(m_import->trennerText());
    zeigeImport(importiereDatei(m_daten, *datei, trenner, m_import->einstellungen()));
}

void THauptformular::VomClipboardeinfgen1Click() {
    zeigeImport(importiereText(m_daten, QGuiApplication::clipboard()->text(), QChar(u'\t'),
                               m_import->einstellungen()));
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
