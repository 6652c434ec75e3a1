// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the xlsx and ods readers share beyond the XML: the sheet as it grows within the bounds
// of Tabelle.h, and the shown form of numbers and truth values.

#include "Tabelle.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace tabelle {

// A number as the file stores it (always with "."), in the user's file form; nothing when it
// is no number.
std::optional<QString> zahlAusDatei(QStringView wert);

// "WAHR" or "FALSCH".
QString wahrheit(bool wert);

// Rows and cells are made only up to the last one with content, and every cell made counts
// against kZellenHoechstens; beyond a bound the file is refused. Only the columns of the
// Auswahl are kept; with `nur` a row holds those side by side.
class Blatt {
public:
    Blatt(const QString& pfad, const Auswahl& auswahl);

    // The columns of the file a row is looked at up to (cells beyond them are never kept).
    qsizetype spalten() const { return m_spalten; }

    // Sets cell (zeile, spalte) of the file, both from 0; an empty text or a column not kept
    // changes nothing but the width.
    void setze(qsizetype zeile, qsizetype spalte, const QString& text);

    // Appends `anzahl` rows of the same content, cells by the file's columns; repeated rows
    // share their cells. Rows without content are made only when a row with content follows.
    void haengeAn(const QStringList& zeile, qsizetype anzahl);

    // A cell with content in the file's column `spalte` (from 0), kept or not.
    void inhaltIn(qsizetype spalte) { m_breite = std::max(m_breite, spalte + 1); }
    // Columns up to the last with content in any row, kept or not; 0 for an empty sheet.
    qsizetype breite() const { return m_breite; }

    Zeilen nimm() { return std::move(m_zeilen); }

private:
    // Where the file's column `spalte` goes in a row; -1 when it is not kept.
    qsizetype platz(qsizetype spalte) const;
    void zaehle(qsizetype zellen);
    void pruefeZeile(qsizetype zeile) const;

    QString m_pfad;
    qsizetype m_spalten;
    QList<qsizetype> m_nur;
    qsizetype m_zellen = 0;
    qsizetype m_leer = 0; // rows without content not made yet
    qsizetype m_breite = 0;
    Zeilen m_zeilen;
};

} // namespace tabelle
