// SPDX-License-Identifier: GPL-3.0-or-later
#include "importform.h"

#include "EnhEdit.h"
#include "Formularspeicher.h"
#include "Geometrie.h"
#include "Meldung.h"
#include "Steuerelemente.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>

namespace {
QComboBox* spaltenliste(QWidget* eltern, const QString& name, int links, int breite) {
    auto* l = new QComboBox(eltern);
    l->setObjectName(name);
    l->addItems({QStringLiteral("Nicht genutzt"), QStringLiteral("1"), QStringLiteral("2"),
                 QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")});
    l->setCurrentIndex(0);
    l->move(geometrie::px(links), geometrie::px(88));
    l->resize(geometrie::px(breite), l->sizeHint().height());
    return l;
}

} // namespace

TImporteinstellungen::TImporteinstellungen(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("Importeinstellungen"));
    setWindowTitle(QStringLiteral("Importeinstellungen"));
    setFont(geometrie::designSchrift());
    resize(geometrie::groesse(598, 200));

    // Creation order is the order of the keys in the settings file.
    trenner = new TLabeledEdit(QStringLiteral("Trennzeichen beim CSV Import"), this);
    trenner->setObjectName(QStringLiteral("trenner"));
    geometrie::platziere(trenner, 24, 32, 41, 24);
    trenner->setText(QStringLiteral(";"));

    Label5 = steuerelemente::beschriftung(this, QStringLiteral("Label5"),
                                          QStringLiteral("Zu überspringende Titelzeilen:"), 328, 10);
    Label1 = steuerelemente::beschriftung(this, QStringLiteral("Label1"), QStringLiteral("Spalte Vorname:"),
                                          24, 62);
    Label2 = steuerelemente::beschriftung(this, QStringLiteral("Label2"), QStringLiteral("Spalte Nachname:"),
                                          192, 62);
    Label3 = steuerelemente::beschriftung(this, QStringLiteral("Label3"), QStringLiteral("Spalte Punkte:"),
                                          328, 62);
    Label4 =
        steuerelemente::beschriftung(this, QStringLiteral("Label4"), QStringLiteral("Spalte Note:"), 472, 62);

    vorname = spaltenliste(this, QStringLiteral("vorname"), 24, 121);
    nachname = spaltenliste(this, QStringLiteral("nachname"), 192, 113);
    punkte = spaltenliste(this, QStringLiteral("punkte"), 328, 113);
    noten = spaltenliste(this, QStringLiteral("noten"), 472, 113);

    ueberspringen = steuerelemente::zahlfeld(this, QStringLiteral("ueberspringen"), 328, 32, 57, 24, true, 0,
                                             TFloatFormat::ffFixed, 1.0L);

    okbut = steuerelemente::knopf(this, QStringLiteral("okbut"), QStringLiteral("OK"),
                                  QStringLiteral("knopf_ok"), 24, 144, 97, 33);
    okbut->setDefault(true);
    cancelbut = steuerelemente::knopf(this, QStringLiteral("cancelbut"), QStringLiteral("Abbrechen"),
                                      QStringLiteral("knopf_abbrechen"), 192, 144, 97, 33);

    steuerelemente::tabReihenfolge(
        {trenner, vorname, nachname, punkte, noten, okbut, cancelbut, ueberspringen});

    Fehlerbericht::verbinde(okbut, &QPushButton::clicked, this, [this] { okbutClick(); });
    Fehlerbericht::verbinde(cancelbut, &QPushButton::clicked, this, [this] { cancelbutClick(); });

    FormCreate();
}

void TImporteinstellungen::FormCreate() {
    Fehlerbericht::ausfuehren([this] { FormularLaden(this); });
}

void TImporteinstellungen::okbutClick() {
    FormularSpeichern(this);
    close();
}

void TImporteinstellungen::cancelbutClick() {
    close();
}

void TImporteinstellungen::closeEvent(QCloseEvent* e) {
    // Every close saves, "Abbrechen" and the close box included; the changes stay in force.
    Fehlerbericht::ausfuehren([this] { FormularSpeichern(this); });
    e->accept();
}

void TImporteinstellungen::reject() {
    // Esc closes like the close box, which saves.
    close();
}

QString TImporteinstellungen::trennerText() const {
    return trenner->text();
}
int TImporteinstellungen::spalteVorname() const {
    return vorname->currentIndex();
}
int TImporteinstellungen::spalteNachname() const {
    return nachname->currentIndex();
}
int TImporteinstellungen::spaltePunkte() const {
    return punkte->currentIndex();
}
int TImporteinstellungen::spalteNote() const {
    return noten->currentIndex();
}
int TImporteinstellungen::titelzeilen() const {
    return ueberspringen->ValueInt();
}

ImportEinstellungen TImporteinstellungen::einstellungen() const {
    ImportEinstellungen e;
    e.vorname = spalteVorname();
    e.nachname = spalteNachname();
    e.punkte = spaltePunkte();
    e.noten = spalteNote();
    e.titelzeilen = titelzeilen();
    return e;
}
