// SPDX-License-Identifier: GPL-3.0-or-later
#include "notenvergabe.h"

#include "EnhEdit.h"
#include "Formularspeicher.h"
#include "Geometrie.h"
#include "Meldung.h"
#include "Radiogruppe.h"
#include "Steuerelemente.h"
#include "Zahltext.h"
#include "hofsteedialog.h"

#include <QLabel>
#include <cmath>

Tnotenvergabeform::Tnotenvergabeform(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("notenvergabeform"));
    setWindowTitle(QStringLiteral("Noten vergeben"));
    setFont(geometrie::designSchrift());
    setSizeGripEnabled(true);
    resize(geometrie::groesse(483, 312));

    using steuerelemente::beschriftung;
    beschriftung(this, {}, QStringLiteral("Maximalpunktzahl:"), 16, 11);
    beschriftung(this, {}, QStringLiteral("Bestanden Punkte:"), 16, 51);
    beschriftung(this, {}, QStringLiteral("Minimalpunktzahl:"), 16, 91);
    for (int oben : {11, 51, 91})
        beschriftung(this, {}, QStringLiteral("entspricht Note:"), 232, oben);

    // Creation order is the tab order and the order of the keys in the settings file.
    // Points take whole numbers typed, grades one decimal.
    auto punktfeld = [this](const QString& name, int oben, long double wert) {
        return steuerelemente::zahlfeld(this, name, 144, oben, 41, 24, true, 0, TFloatFormat::ffGeneral,
                                        wert);
    };
    auto notenfeld = [this](const QString& name, int oben, long double wert) {
        return steuerelemente::zahlfeld(this, name, 360, oben, 41, 24, false, 1, TFloatFormat::ffFixed, wert);
    };
    vollepunkte = punktfeld(QStringLiteral("vollepunkte"), 8, 50);
    vollenote = notenfeld(QStringLiteral("vollenote"), 8, 1);
    bestandenpunkte = punktfeld(QStringLiteral("bestandenpunkte"), 48, 25);
    bestandennote = notenfeld(QStringLiteral("bestandennote"), 48, 4);
    nichtbestandenpunkte = punktfeld(QStringLiteral("nichtbestandenpunkte"), 88, 0);
    nichtbestandennote = notenfeld(QStringLiteral("nichtbestandennote"), 88, 6);
    const QString hinweis = QStringLiteral("Keine Note der Skala: erwartet wird eine Note von %1 bis %2.")
                                .arg(zahltext::fest(kBesteNote, 1), zahltext::fest(kSchlechtesteNote, 1));
    for (TEnhancedEdit* note : {vollenote, bestandennote, nichtbestandennote})
        note->setzeBereich(kBesteNote, kSchlechtesteNote, hinweis);

    okbut = steuerelemente::knopf(this, QStringLiteral("okbut"), QStringLiteral("OK"),
                                  QStringLiteral("knopf_ok"), 8, 274, 75, 30);
    okbut->setDefault(true);
    cancelbut = steuerelemente::knopf(this, QStringLiteral("cancelbut"), QStringLiteral("Abbrechen"),
                                      QStringLiteral("knopf_abbrechen"), 254, 274, 96, 30);

    notenschluessel = new Radiogruppe(
        QStringLiteral("Notenschlüssel"),
        {QStringLiteral("Halbe Noten"), QStringLiteral("Drittelnoten"), QStringLiteral("Zehntelnoten")},
        this);
    notenschluessel->setObjectName(QStringLiteral("notenschluessel"));
    geometrie::platziere(notenschluessel, 16, 136, 185, 105);
    notenschluessel->setItemIndex(1);

    runden =
        new Radiogruppe(QStringLiteral("Runden:"),
                        {QStringLiteral("auf die nächst bessere Note"),
                         QStringLiteral("auf die nächst schlechtere Note"), QStringLiteral("kaufmännisch")},
                        this);
    runden->setObjectName(QStringLiteral("runden"));
    geometrie::platziere(runden, 232, 136, 233, 105);
    runden->setItemIndex(1);

    Button1 = steuerelemente::knopf(this, QStringLiteral("Button1"), QStringLiteral("Berechnen"),
                                    QStringLiteral("knopf_rechnen"), 110, 274, 107, 30);

    // Right of "Abbrechen", within the designed width.
    hofsteebut = steuerelemente::knopf(this, QStringLiteral("hofsteebut"), QStringLiteral("Hofstee…"),
                                       QStringLiteral("knopf_rechnen"), 376, 274, 99, 30);

    erg = new QLabel(this);
    erg->setObjectName(QStringLiteral("erg"));
    erg->move(geometrie::px(16), geometrie::px(247));

    steuerelemente::tabReihenfolge({vollepunkte, vollenote, bestandenpunkte, bestandennote,
                                    nichtbestandenpunkte, nichtbestandennote, okbut, cancelbut,
                                    notenschluessel, runden, Button1});
    QWidget::setTabOrder(Button1, hofsteebut);
    vollepunkte->setFocus();

    Fehlerbericht::verbinde(okbut, &QPushButton::clicked, this, [this] { okbutClick(); });
    connect(cancelbut, &QPushButton::clicked, this, &QDialog::reject);
    Fehlerbericht::verbinde(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    Fehlerbericht::verbinde(hofsteebut, &QPushButton::clicked, this, [this] { hofsteebutClick(); });

    FormCreate();
}

void Tnotenvergabeform::FormCreate() {
    Fehlerbericht::ausfuehren([this] { FormularLaden(this); });
}

void Tnotenvergabeform::okbutClick() {
    // A settings file that can't be written is reported once the grades are given; it never
    // keeps the dialog open.
    FormularSpeichern(this);
    accept();
}

void Tnotenvergabeform::Button1Click() {
    if (m_vorschau)
        m_vorschau();
}

void Tnotenvergabeform::hofsteebutClick() {
    THofsteedialog d(this);
    d.setzeListe(m_liste ? m_liste() : Notenliste());
    if (!m_hofstee) {
        // A first guess from the maximum: pass points 40 to 60 % of it, 10 to 40 % failing.
        const long double volle = vollepunkte->Value();
        m_hofstee = HofsteeUrteile{std::round(volle * 2 / 5), std::round(volle * 3 / 5), 10, 40};
    }
    d.setzeUrteile(*m_hofstee);
    const bool uebernommen = d.exec() == QDialog::Accepted && d.wert();
    m_hofstee = d.urteile();
    if (uebernommen)
        bestandenpunkte->setValue(*d.wert());
}

TNotenskala Tnotenvergabeform::skala() const {
    TNotenskala s;
    s.vollepunkte = static_cast<double>(vollepunkte->Value());
    s.vollenote = static_cast<double>(vollenote->Value());
    s.bestandenpunkte = static_cast<double>(bestandenpunkte->Value());
    s.bestandennote = static_cast<double>(bestandennote->Value());
    s.nichtbestandenpunkte = static_cast<double>(nichtbestandenpunkte->Value());
    s.nichtbestandennote = static_cast<double>(nichtbestandennote->Value());
    s.notenschluessel = notenschluessel->ItemIndex();
    s.runden = runden->ItemIndex();
    return s;
}

void Tnotenvergabeform::zeigeErgebnis(double durchschnitt, double standardabweichung, int bestanden) {
    erg->setText(QStringLiteral("Durchschnitt: %1 Standardabweichung: %2 Bestanden: %3")
                     .arg(zahltext::fest(durchschnitt, 1), zahltext::fest(standardabweichung, 1),
                          zahltext::ganz(bestanden)));
    erg->resize(width() - erg->x(), erg->sizeHint().height());
}
