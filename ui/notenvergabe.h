// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grade assignment dialog: three anchor points, the grade step and the rounding rule.
// Its controls are the only store of the grading scale; skala() reads them at each call.
// "Berechnen" runs a preview given by the main window.

#include "Hofstee.h"
#include "Notenskala.h"

#include <QDialog>
#include <functional>
#include <optional>

class Radiogruppe;
class TEnhancedEdit;
class QLabel;
class QPushButton;

class Tnotenvergabeform : public QDialog {
    Q_OBJECT
public:
    explicit Tnotenvergabeform(QWidget* eltern = nullptr);

    // The scale as the controls hold it now.
    TNotenskala skala() const;

    // What "Berechnen" runs; it ends by calling zeigeErgebnis.
    void setzeVorschau(std::function<void()> vorschau) { m_vorschau = std::move(vorschau); }
    void zeigeErgebnis(double durchschnitt, double standardabweichung, int bestanden);
    // The list whose scores "Hofstee…" judges.
    void setzeListe(std::function<const Notenliste&()> liste) { m_liste = std::move(liste); }

    TEnhancedEdit *vollepunkte, *vollenote, *bestandenpunkte, *bestandennote, *nichtbestandenpunkte,
        *nichtbestandennote;
    QPushButton *okbut, *cancelbut, *Button1;
    QPushButton* hofsteebut;
    Radiogruppe *notenschluessel, *runden;
    QLabel* erg;

private:
    void FormCreate();
    void okbutClick();
    void Button1Click();
    void hofsteebutClick();

    std::function<void()> m_vorschau;
    std::function<const Notenliste&()> m_liste;
    // The judgements last taken or cancelled. The Hofstee dialog lives only while it is open,
    // so its fields never reach this dialog's settings.
    std::optional<HofsteeUrteile> m_hofstee;
};
