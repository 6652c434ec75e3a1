// SPDX-License-Identifier: GPL-3.0-or-later
#include "grenzfaelleunit.h"

#include "Auswertung.h"
#include "EnhEdit.h"
#include "Export.h"
#include "Fehler.h"
#include "Geometrie.h"
#include "Meldung.h"
#include "Steuerelemente.h"
#include "einstellungen.h"
#include "notenvergabe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

int GrenzfallModell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : static_cast<int>(m_faelle.size());
}

int GrenzfallModell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : grenzfaelle::kSpalten;
}

QVariant GrenzfallModell::data(const QModelIndex& index, int rolle) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (rolle == Qt::DisplayRole)
        return grenzfaelle::anzeige(m_faelle[static_cast<std::size_t>(index.row())], m_liste, index.column());
    if (rolle == Qt::TextAlignmentRole && index.column() >= 1 && index.column() <= 4)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant GrenzfallModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung != Qt::Horizontal || rolle != Qt::DisplayRole || abschnitt < 0 ||
        abschnitt >= grenzfaelle::kSpalten)
        return {};
    return grenzfaelle::kopf().at(abschnitt);
}

TGrenzfaelleform::TGrenzfaelleform(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Grenzfaelleform"));
    setWindowTitle(QStringLiteral("Grenzfälle"));
    setFont(geometrie::designSchrift());
    setSizeGripEnabled(true);
    resize(geometrie::groesse(600, 380));

    auto* abstandLabel = new QLabel(QStringLiteral("Abstand (Punkte):"), this);
    abstand = steuerelemente::zahlfeld(this, QStringLiteral("abstand"), 0, 0, 60, 24, false, 2,
                                       TFloatFormat::ffGeneral, 1);
    abstandLabel->setBuddy(abstand);
    abstand->setFixedWidth(geometrie::px(60)); // a number of a few digits, not the window's width

    erg = new QTableView(this);
    erg->setObjectName(QStringLiteral("erg"));
    erg->setModel(&m_modell);
    erg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    steuerelemente::richteRasterEin(erg);
    erg->horizontalHeader()->setStretchLastSection(true);
    // Every column fits in the window at its opening size; the last one takes the rest.
    const int breiten[] = {150, 60, 50, 85, 105};
    for (int spalte = 0; spalte < grenzfaelle::kSpalten - 1; ++spalte)
        erg->setColumnWidth(spalte, geometrie::px(breiten[spalte]));

    info = new QLabel(this);
    info->setObjectName(QStringLiteral("info"));
    info->setWordWrap(true);

    kopierenbut = steuerelemente::knopf(this, QStringLiteral("kopierenbut"), QStringLiteral("Kopieren"),
                                        QStringLiteral("bericht_kopieren"), 0, 0, 100, 30);
    exportierenbut =
        steuerelemente::knopf(this, QStringLiteral("exportierenbut"), QStringLiteral("Exportieren"),
                              QStringLiteral("bericht_speichern"), 0, 0, 110, 30);
    schliessenbut = steuerelemente::knopf(this, QStringLiteral("schliessenbut"), QStringLiteral("Schließen"),
                                          QStringLiteral("bericht_schliessen"), 0, 0, 100, 30);

    auto* oben = new QHBoxLayout;
    oben->addWidget(abstandLabel);
    oben->addWidget(abstand);
    oben->addStretch();
    auto* unten = new QHBoxLayout;
    unten->addWidget(kopierenbut);
    unten->addWidget(exportierenbut);
    unten->addStretch();
    unten->addWidget(schliessenbut);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(geometrie::px(8), geometrie::px(8), geometrie::px(8), geometrie::px(8));
    layout->addLayout(oben);
    layout->addWidget(erg, 1);
    layout->addWidget(info);
    layout->addLayout(unten);
    steuerelemente::tabReihenfolge({abstand, erg, kopierenbut, exportierenbut, schliessenbut});

    SaveDialog1 = steuerelemente::speicherdialog(
        this, QStringLiteral("SaveDialog1"),
        {QStringLiteral("CSV Dateien (*.csv)"), QStringLiteral("Alles (*.*)")}, QStringLiteral("csv"));

    connect(abstand, &TEnhancedEdit::geaendert, this, [this] { aktualisieren(); });
    Fehlerbericht::verbinde(kopierenbut, &QPushButton::clicked, this, [this] { kopierenbutClick(); });
    Fehlerbericht::verbinde(exportierenbut, &QPushButton::clicked, this, [this] { exportierenbutClick(); });
    Fehlerbericht::verbinde(schliessenbut, &QPushButton::clicked, this, [this] { close(); });
}

void TGrenzfaelleform::verbinde(const Auswertung* daten, const Tnotenvergabeform* notenvergabe,
                                const Teinstellungsdialog* einstellungen) {
    m_daten = daten;
    m_notenvergabe = notenvergabe;
    m_einstellungen = einstellungen;
}

void TGrenzfaelleform::zeige() {
    if (isVisible())
        aktualisieren();
    steuerelemente::zeigeNichtmodal(this);
}

void TGrenzfaelleform::showEvent(QShowEvent* ereignis) {
    aktualisieren();
    QDialog::showEvent(ereignis);
}

void TGrenzfaelleform::aktualisieren() {
    // The table lets go of the rows while they change, whatever ends the change.
    struct Wechsel {
        GrenzfallModell& m;
        explicit Wechsel(GrenzfallModell& modell) : m(modell) { m.beginneWechsel(); }
        ~Wechsel() { m.beendeWechsel(); }
    } wechsel(m_modell);
    m_faelle.clear();
    const Notenliste liste = m_daten ? m_daten->FEintraege : Notenliste();
    if (!m_notenvergabe || !m_einstellungen) {
        m_zwischenspeicher.nurListe(liste);
        info->clear();
        return;
    }
    // A scale that cannot grade its own range says why here; the window stays usable.
    try {
        m_zwischenspeicher.stelleBereit(liste, m_notenvergabe->skala(), m_einstellungen->grenznoteWert());
        m_faelle = m_zwischenspeicher.knappste(abstand->Value());
        info->setText(m_zwischenspeicher.zusammenfassung(static_cast<qsizetype>(m_faelle.size()),
                                                         static_cast<double>(abstand->Value())));
    } catch (const Fehler& f) {
        m_zwischenspeicher.nurListe(liste);
        info->setText(f.text());
    }
}

void TGrenzfaelleform::kopierenbutClick() {
    QGuiApplication::clipboard()->setText(grenzfaelle::alsTabText(m_faelle, m_zwischenspeicher.liste()));
}

void TGrenzfaelleform::exportierenbutClick() {
    const auto datei = steuerelemente::frageDatei(SaveDialog1);
    if (!datei)
        return;
    exportiereGrenzfaelle(*datei, m_faelle, m_zwischenspeicher.liste());
}
