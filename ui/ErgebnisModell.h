// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main grid's contents: a snapshot of the result list taken by each listing (Anzeigen),
// read cell by cell on demand, so listing a million entries is one copy and a reset.
// Model row i is grid row i + 1 (grid row 0 is the header).

#include "Eintrag.h"

#include <QAbstractTableModel>

class ErgebnisModell : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Spalte { Nummer, Name, Punkte, Note, Ects, SpaltenAnzahl };

    explicit ErgebnisModell(QObject* eltern = nullptr);

    // Anzeigen: the grid shows `liste` from now on.
    void anzeigen(const Notenliste& liste);
    bool angezeigt() const { return m_angezeigt; }
    // The list the grid shows (empty before the first listing).
    const Notenliste& liste() const { return m_liste; }

    int rowCount(const QModelIndex& eltern = {}) const override;
    int columnCount(const QModelIndex& eltern = {}) const override;
    QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
    QVariant headerData(int abschnitt, Qt::Orientation richtung, int rolle = Qt::DisplayRole) const override;

    // The text of a cell as the grid shows it; row 0 is the header row.
    QString zellText(int spalte, int gridZeile) const;

private:
    Notenliste m_liste;
    bool m_angezeigt = false; // before the first listing the grid shows four empty rows
};
