// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Grenzfälle" window: the students who lie less than a chosen distance below the next better
// grade step of the current scale, fewest points missing first, with copy and CSV export.
// Created once, shown modeless; it recomputes when shown and when the distance changes, from
// the list, the grade dialog's scale and the settings dialog's pass threshold of that moment.

#include "Grenzfaelle.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <vector>

class Auswertung;
class Teinstellungsdialog;
class TEnhancedEdit;
class Tnotenvergabeform;
class QFileDialog;
class QLabel;
class QPushButton;
class QTableView;

// The rows of the window, their texts made when the table asks for them: a large list can
// have hundreds of thousands of borderline cases, far too many for an item per cell.
class GrenzfallModell : public QAbstractTableModel {
    Q_OBJECT
public:
    GrenzfallModell(const std::vector<grenzfaelle::Grenzfall>& faelle, const Notenliste& liste,
                    QObject* eltern = nullptr)
        : QAbstractTableModel(eltern), m_faelle(faelle), m_liste(liste) {}

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

    // Call around every change of the rows or the list.
    void beginneWechsel() { beginResetModel(); }
    void beendeWechsel() { endResetModel(); }

private:
    const std::vector<grenzfaelle::Grenzfall>& m_faelle;
    const Notenliste& m_liste;
};

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

    grenzfaelle::Zwischenspeicher m_zwischenspeicher;
    std::vector<grenzfaelle::Grenzfall> m_faelle;
    GrenzfallModell m_modell{m_faelle, m_zwischenspeicher.liste()};
    const Auswertung* m_daten = nullptr;
    const Tnotenvergabeform* m_notenvergabe = nullptr;
    const Teinstellungsdialog* m_einstellungen = nullptr;
};
