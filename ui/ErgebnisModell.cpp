#include "ErgebnisModell.h"

#include "Zahltext.h"

#include <QGuiApplication>
#include <QPalette>

namespace {
const QString kKopf[ErgebnisModell::SpaltenAnzahl] = {
    QStringLiteral("Nummer"), QStringLiteral("Name"), QStringLiteral("Punkte"), QStringLiteral("Note"),
    QStringLiteral("ECTS Gruppe")};
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

int ErgebnisModell::columnCount(const QModelIndex& eltern) const { return eltern.isValid() ? 0 : SpaltenAnzahl; }

QString ErgebnisModell::zellText(int spalte, int gridZeile) const {
    if (spalte < 0 || spalte >= SpaltenAnzahl)
        return {};
    if (gridZeile == 0)
        return kKopf[spalte];
    if (!m_angezeigt || gridZeile < 0 || gridZeile > static_cast<int>(m_liste.size()))
        return {};
    const TNotenEintrag& e = m_liste[static_cast<std::size_t>(gridZeile - 1)];
    switch (spalte) {
    case Nummer:
        return zahltext::ganz(gridZeile, 3) + u':';
    case Name:
        return e.nameText();
    case Punkte:
        return zahltext::fest(e.punkte, 1);
    case Note:
        return zahltext::fest(e.note, 1);
    case Ects:
        return e.ects == 0 ? QString() : QString(QChar(e.ects));
    default:
        return {};
    }
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
