#include "einstellungen.h"

#include "EnhEdit.h"
#include "Formularspeicher.h"
#include "Geometrie.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "Radiogruppe.h"
#include "Steuerelemente.h"

#include <QLabel>

Teinstellungsdialog::Teinstellungsdialog(QWidget* eltern) : QDialog(eltern, Qt::Tool) {
    setObjectName(QStringLiteral("einstellungsdialog"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setFont(geometrie::designSchrift());
    resize(geometrie::groesse(228, 335));

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

    Label1 = steuerelemente::beschriftung(this, QStringLiteral("Label1"), QStringLiteral("Grenznote für \"Bestanden\""),
                                          8, 200);
    grenznote = steuerelemente::zahlfeld(this, QStringLiteral("grenznote"), 165, 197, 41, 24, false, 1,
                                         TFloatFormat::ffNumber, 4.0L);

    okbut = steuerelemente::knopf(this, QStringLiteral("okbut"), QStringLiteral("OK"), QStringLiteral("knopf_ok"), 8,
                                  283, 75, 33);
    okbut->setDefault(true);
    helpbut = steuerelemente::knopf(this, QStringLiteral("helpbut"), QStringLiteral("&Hilfe"),
                                    QStringLiteral("knopf_hilfe"), 118, 283, 75, 33);

    steuerelemente::tabReihenfolge({auswahl, okbut, includegrafik, helpbut, grenznote});

    Fehlerbericht::verbinde(okbut, &QPushButton::clicked, this, [this] { okbutClick(); });
    Fehlerbericht::verbinde(helpbut, &QPushButton::clicked, this, [this] { helpbutClick(); });

    FormCreate();
}

Teinstellungsdialog::~Teinstellungsdialog() {
    // Saved at program end, also when never opened.
    Fehlerbericht::ausfuehren([this] { FormularSpeichern(this); });
}

void Teinstellungsdialog::FormCreate() { Fehlerbericht::ausfuehren([this] { FormularLaden(this); }); }

void Teinstellungsdialog::okbutClick() { close(); }

void Teinstellungsdialog::helpbutClick() { hilfe::zeige(300); }

double Teinstellungsdialog::grenznoteWert() const { return static_cast<double>(grenznote->Value()); }

int Teinstellungsdialog::histogrammGruppe() const { return auswahl->ItemIndex(); }

bool Teinstellungsdialog::grafikEinschliessen() const { return includegrafik->isChecked(); }
