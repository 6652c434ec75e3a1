// SPDX-License-Identifier: GPL-3.0-or-later
#include "einstellungen.h"

#include "EnhEdit.h"
#include "Formularspeicher.h"
#include "Geometrie.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "Radiogruppe.h"
#include "Steuerelemente.h"

#include <QCheckBox>
#include <QLabel>

Teinstellungsdialog::Teinstellungsdialog(QWidget* eltern) : QDialog(eltern, Qt::Tool) {
    setObjectName(QStringLiteral("einstellungsdialog"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setFont(geometrie::designSchrift());
    resize(geometrie::groesse(228, 375)); // 40 taller, for the two boxes of the report section

    auswahl = new Radiogruppe(QStringLiteral("Gruppen"),
                              {QStringLiteral("Zehntelnoten"), QStringLiteral("Drittelnoten"),
                               QStringLiteral("Halbe Noten"), QStringLiteral("Ganze Noten")},
                              this);
    auswahl->setObjectName(QStringLiteral("auswahl"));
    geometrie::platziere(auswahl, 8, 16, 185, 105);
    auswahl->setItemIndex(1);

    includegrafik = new UmbruchCheckBox(QStringLiteral("Grafik in den Report mit einschließen"), this);
    includegrafik->setObjectName(QStringLiteral("includegrafik"));
    geometrie::platziere(includegrafik, 8, 136, 185, 41);

    Label1 = steuerelemente::beschriftung(this, QStringLiteral("Label1"),
                                          QStringLiteral("Grenznote für \"Bestanden\""), 8, 200);
    grenznote = steuerelemente::zahlfeld(this, QStringLiteral("grenznote"), 165, 197, 41, 24, false, 1,
                                         TFloatFormat::ffNumber, 4.0L);

    okbut = steuerelemente::knopf(this, QStringLiteral("okbut"), QStringLiteral("OK"),
                                  QStringLiteral("knopf_ok"), 8, 323, 75, 33);
    okbut->setDefault(true);
    helpbut = steuerelemente::knopf(this, QStringLiteral("helpbut"), QStringLiteral("&Hilfe"),
                                    QStringLiteral("knopf_hilfe"), 118, 323, 75, 33);

    // Created last, so the settings file keeps its keys in their old order and gains two at the end.
    weiterekennzahlen =
        new UmbruchCheckBox(QStringLiteral("Weitere Kennzahlen in den Report mit aufnehmen"), this);
    weiterekennzahlen->setObjectName(QStringLiteral("weiterekennzahlen"));
    geometrie::platziere(weiterekennzahlen, 8, 240, 185, 41);
    kleinegruppen = new QCheckBox(QStringLiteral("Kleine Gruppen ausblenden"), this);
    kleinegruppen->setObjectName(QStringLiteral("kleinegruppen"));
    geometrie::platziere(kleinegruppen, 24, 284, 185, 24);
    // Small groups are hidden in that section only.
    kleinegruppen->setEnabled(false);
    connect(weiterekennzahlen, &QCheckBox::toggled, kleinegruppen, &QWidget::setEnabled);

    // Beside the picture box; from the threshold the order still wraps to the group.
    steuerelemente::tabReihenfolge(
        {auswahl, okbut, includegrafik, weiterekennzahlen, kleinegruppen, helpbut, grenznote});

    Fehlerbericht::verbinde(okbut, &QPushButton::clicked, this, [this] { okbutClick(); });
    Fehlerbericht::verbinde(helpbut, &QPushButton::clicked, this, [this] { helpbutClick(); });

    FormCreate();
}

Teinstellungsdialog::~Teinstellungsdialog() {
    // Saved at program end, also when never opened.
    Fehlerbericht::ausfuehren([this] { FormularSpeichern(this); });
}

void Teinstellungsdialog::FormCreate() {
    Fehlerbericht::ausfuehren([this] { FormularLaden(this); });
}

void Teinstellungsdialog::okbutClick() {
    close();
}

void Teinstellungsdialog::helpbutClick() {
    hilfe::zeige(300);
}

double Teinstellungsdialog::grenznoteWert() const {
    return static_cast<double>(grenznote->Value());
}

int Teinstellungsdialog::histogrammGruppe() const {
    return auswahl->ItemIndex();
}

bool Teinstellungsdialog::grafikEinschliessen() const {
    return includegrafik->isChecked();
}

bool Teinstellungsdialog::weitereKennzahlen() const {
    return weiterekennzahlen->isChecked();
}

bool Teinstellungsdialog::kleineGruppenAusblenden() const {
    return kleinegruppen->isChecked();
}
