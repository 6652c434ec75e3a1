// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErgebnisModell.h"

#include "Ergebnisraster.h"
#include "Zahltext.h"

#include <QGuiApplication>
#include <QPalette>

namespace {
constexpr int kLeereZeilenAmAnfang = 4;
} // namespace

ErgebnisModell::ErgebnisModell(QObject* eltern) : QAbstractTableModel(eltern) {}

void ErgebnisModell::anzeigen(const Notenliste& liste) {
    beginResetModel();
    m_liste = liste;
    m_angezeigt = true;
    endResetModel();
}

int ErgebnisModell::rowCount(const QModelIndex& eltern) const {
    if (eltern.isValid())
        return 0;
    return m_angezeigt ? static_cast<int>(m_liste.size()) : kLeereZeilenAmAnfang;
}

int ErgebnisModell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : SpaltenAnzahl;
}

QString ErgebnisModell::zellText(int spalte, int gridZeile) const {
    if (gridZeile == 0)
        return raster::kopf(spalte);
    if (!m_angezeigt || gridZeile < 0 || gridZeile > m_liste.size())
        return {};
    return raster::zelle(spalte, gridZeile, m_liste[gridZeile - 1]);
}

QVariant ErgebnisModell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid())
        return {};
    if (rolle == Qt::DisplayRole)
        return zellText(index.column(), index.row() + 1);
    // The number column is the grid's fixed column and looks like the header.
    if (rolle == Qt::BackgroundRole && index.column() == Nummer)
        return QGuiApplication::palette().button();
    return {};
}

QVariant ErgebnisModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (rolle != Qt::DisplayRole)
        return {};
    if (richtung == Qt::Horizontal)
        return zellText(abschnitt, 0);
    return abschnitt + 1;
}
