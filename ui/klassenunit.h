// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class evaluation window: one row per grade class, where the user marks with a letter
// the row in which each ECTS group begins. Shown modally by the classification; its cell
// texts live in a Klassenraster and survive between uses.

#include "Klassen.h"

#include <QAbstractTableModel>
#include <QDialog>

class QFrame;
class QPushButton;
class QTableView;

// The grid's cells over the raster: row 0 is the header, column 0 is fixed (not editable,
// not selectable), every other cell is editable text.
class KlassenModell : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit KlassenModell(Klassenraster& raster, QObject* eltern = nullptr);

    // The raster's row count or texts changed from outside.
    void neuLaden();
    // Column `spalte` changed in every row.
    void spalteGeaendert(int spalte);

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& wert, int rolle = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

private:
    Klassenraster& m_raster;
};

class TKlassenauswertungsform : public QDialog {
    Q_OBJECT
public:
    explicit TKlassenauswertungsform(QWidget* eltern = nullptr);

    // Where the group shares take the class counts and the number who passed.
    void verbinde(const Auswertung* daten) { m_daten = daten; }

    Klassenraster& raster() { return m_raster; }
    // After the raster was filled from outside.
    void rasterGeaendert() { m_modell.neuLaden(); }

    // Key release in the grid, also while a cell is edited: recomputes the group shares.
    void ergKeyUp();

    QTableView* erg;
    QFrame* GroupBox1;
    QPushButton* okbut;
    QPushButton* helpbut;
    QPushButton* vorschlagbut;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;

private:
    void FormCreate();
    void okbutClick();
    void helpbutClick();
    // The group column by the percentile split of those who passed, the group shares at once.
    void vorschlagbutClick();

    Klassenraster m_raster;
    KlassenModell m_modell;
    const Auswertung* m_daten = nullptr;
};
