// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings dialog: histogram grouping, report picture and the pass threshold. Its controls
// are the settings themselves; readers take their values at the moment they need them.
// It restores itself when created and saves when destroyed at program end.

#include <QDialog>

class Radiogruppe;
class TEnhancedEdit;
class UmbruchCheckBox;
class QCheckBox;
class QLabel;
class QPushButton;

class Teinstellungsdialog : public QDialog {
    Q_OBJECT
public:
    explicit Teinstellungsdialog(QWidget* eltern = nullptr);
    ~Teinstellungsdialog() override;

    // Pass threshold grade (the value of `grenznote`, rounded to double).
    double grenznoteWert() const;
    // Histogram grouping: 0 tenths, 1 thirds, 2 halves, 3 whole grades; -1 none chosen.
    int histogrammGruppe() const;
    bool grafikEinschliessen() const;
    // The report's section "Weitere Kennzahlen", and in it counts below 3 hidden.
    bool weitereKennzahlen() const;
    bool kleineGruppenAusblenden() const;

    Radiogruppe* auswahl;
    UmbruchCheckBox* includegrafik;
    QLabel* Label1;
    TEnhancedEdit* grenznote;
    QPushButton* okbut;
    QPushButton* helpbut;
    UmbruchCheckBox* weiterekennzahlen;
    QCheckBox* kleinegruppen;

private:
    void FormCreate();
    void okbutClick();
    void helpbutClick();
};
