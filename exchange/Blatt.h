// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the xlsx and ods readers share beyond the XML: the sheet as it grows within the bounds
// of Tabelle.h, and the shown form of numbers and truth values.

#include "Tabelle.h"

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
// against kZellenHoechstens; beyond a bound the file is refused.
class Blatt {
public:
    Blatt(const QString& pfad, qsizetype spalten);

    // The columns kept.
    qsizetype spalten() const { return m_spalten; }

    // Sets cell (zeile, spalte), both from 0; an empty text or a column beyond the kept ones
    // changes nothing.
    void setze(qsizetype zeile, qsizetype spalte, const QString& text);

    // Appends `anzahl` rows of the same content after `leerDavor` empty ones; repeated rows
    // share their cells. A row without content changes nothing.
    void haengeAn(const QStringList& zeile, qsizetype leerDavor, qsizetype anzahl);

    Zeilen nimm() { return std::move(m_zeilen); }

private:
    void zaehle(qsizetype zellen);
    void pruefeZeile(qsizetype zeile) const;

    QString m_pfad;
    qsizetype m_spalten;
    qsizetype m_zellen = 0;
    Zeilen m_zeilen;
};

} // namespace tabelle
