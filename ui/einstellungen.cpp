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

    Label1 = new QLabel(QStringLiteral("Grenznote für \"Bestanden\""), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(geometrie::px(8), geometrie::px(200));

    grenznote = new TEnhancedEdit(this);
    grenznote->setObjectName(QStringLiteral("grenznote"));
    grenznote->setAlignmentT(TEnhancedEdit::taRightJustify);
    grenznote->setDigits(1);
    grenznote->setFormat(TFloatFormat::ffNumber);
    grenznote->setValue(4.0L);
    geometrie::platziere(grenznote, 165, 197, 41, 24);

    okbut = steuerelemente::knopf(this, QStringLiteral("okbut"), QStringLiteral("OK"), QStringLiteral("knopf_ok"), 8,
                                  283, 75, 33);
    okbut->setDefault(true);
    helpbut = steuerelemente::knopf(this, QStringLiteral("helpbut"), QStringLiteral("&Hilfe"),
                                    QStringLiteral("knopf_hilfe"), 118, 283, 75, 33);

    setTabOrder(auswahl, okbut);
    setTabOrder(okbut, includegrafik);
    setTabOrder(includegrafik, helpbut);
    setTabOrder(helpbut, grenznote);

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

void Teinstellungsdialog::zeigeNichtmodal() {
    show();
    raise();
    activateWindow();
}
