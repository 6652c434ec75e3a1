#pragma once
// The "Grenzfälle" window: the students who lie less than a chosen distance below the next better
// grade step of the current scale, fewest points missing first, with copy and CSV export.
// Created once, shown modeless; it recomputes when shown and when the distance changes, from
// the list, the grade dialog's scale and the settings dialog's pass threshold of that moment.

#include "Grenzfaelle.h"

#include <QDialog>
#include <QStandardItemModel>
#include <vector>

class Auswertung;
class Teinstellungsdialog;
class TEnhancedEdit;
class Tnotenvergabeform;
class QFileDialog;
class QLabel;
class QPushButton;
class QTableView;

class TGrenzfaelleform : public QDialog {
    Q_OBJECT
public:
    explicit TGrenzfaelleform(QWidget* eltern = nullptr);

    // Where the list, the scale and the pass threshold are read at each recomputation.
    void verbinde(const Auswertung* daten, const Tnotenvergabeform* notenvergabe,
                  const Teinstellungsdialog* einstellungen);

    // Recomputes and shows the window, or brings it forward when it stands open.
    void zeige();
    void aktualisieren();

    // The rows shown, and the list they were taken from.
    const std::vector<grenzfaelle::Grenzfall>& faelle() const { return m_faelle; }
    const Notenliste& liste() const { return m_liste; }

    TEnhancedEdit* abstand;
    QTableView* erg;
    QLabel* info;
    QPushButton *kopierenbut, *exportierenbut, *schliessenbut;
    QFileDialog* SaveDialog1;

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    void kopierenbutClick();
    void exportierenbutClick();
    void fuelleRaster();

    QStandardItemModel m_modell;
    Notenliste m_liste;
    std::vector<grenzfaelle::Grenzfall> m_faelle;
    const Auswertung* m_daten = nullptr;
    const Tnotenvergabeform* m_notenvergabe = nullptr;
    const Teinstellungsdialog* m_einstellungen = nullptr;
};
