// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The evaluation of one delimited text, line by line, into new result entries, on Windows-1252
// bytes (std::string_view, char) or on UTF-16 (QStringView, QChar). Internal to the import.

#include "CsvFelder.h"
#include "Import.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace csv {

// The new entries go into a list of their own; the caller's lists are touched only by
// uebergib, after the last line.
template <class Ansicht, class Zeichen> class Auswerter {
public:
    Auswerter(const ImportEinstellungen& e, Zeichen trenner, qsizetype schonDa, Titelregel regel);

    // The line at position nr (counted from 0), in order.
    void lies(qsizetype nr, Ansicht zeile);

    // Hands the entries over, or tells why not. Nothing before the commit throws after it.
    ImportZusammenfassung uebergib(Auswertung& a);

private:
    // First name, last name, points, grade, and the field after the points (for split numbers).
    static constexpr std::size_t kPlaetze = 5;
    struct Felder {
        std::array<std::optional<Ansicht>, kPlaetze> feld;
        std::array<bool, kPlaetze> zitiert{};
    };

    void verarbeite(qsizetype nr, Ansicht satz, bool darfWeiter);
    // Once a line: inlined into verarbeite, as the line's steps were before they had names.
    [[gnu::always_inline]] inline bool zerlegeBis(Ansicht zeile, Felder& felder, bool& offen,
                                                  bool mitAnfuehrung);
    [[gnu::always_inline]] inline bool baue(const Felder& f, TNotenEintrag& eintrag,
                                            Uebergangsgrund& grund) const;
    void pruefeGeteilt(qsizetype nr, const Felder& f);
    void merkeTitel(Ansicht satz);
    void uebergehe(qsizetype nr, Uebergangsgrund grund, const std::optional<Ansicht>& punkte);
    void holeLeereNach();
    void loeseSatzAuf();
    bool leer(Ansicht satz) const;
    std::uint8_t maskeVon(int spalte) const {
        if (spalte < static_cast<int>(m_maske.size()))
            return m_maske[static_cast<std::size_t>(spalte)];
        std::uint8_t m = 0;
        for (std::size_t i = 0; i < kPlaetze; ++i)
            if (m_spalten[i] == spalte)
                m |= static_cast<std::uint8_t>(1u << i);
        return m;
    }

    Zeichen m_trenner;
    bool m_anfuehrung;            // quotation marks count
    bool m_geteiltPruefen;        // the separator is the decimal separator too
    bool m_punkteZitiert = false; // and some line's points field is quoted
    bool m_titelPruefen;          // Titelregel::NurWennKeinPruefling
    qsizetype m_ab;               // records before this one are title lines
    qsizetype m_schonDa;
    qsizetype m_hoechstens = listengrenze::hoechstens();
    std::array<int, kPlaetze> m_spalten;
    int m_hoechste = 0;                    // the highest chosen column
    int m_lesenBis = 0;                    // the highest column read
    std::array<std::uint8_t, 8> m_maske{}; // per column: the places it fills
    bool m_erreicht = false;
    Notenliste m_neu;
    ImportZusammenfassung m_z;

    std::array<Puffer<Ansicht>, kPlaetze + 1> m_feldpuffer;
    // A record whose quotation marks go on past its first line: its lines so far, joined by LF.
    bool m_offen = false;
    Puffer<Ansicht> m_satz;
    std::vector<qsizetype> m_anfaenge; // where each of its lines begins in m_satz
    qsizetype m_satzNr = 0;
    qsizetype m_saetze = 0; // records read
    // Empty lines count as skipped only when a line with content follows them.
    qsizetype m_leerAb = 0, m_leerAnzahl = 0;
};

extern template class Auswerter<std::string_view, char>;
extern template class Auswerter<QStringView, QChar>;

} // namespace csv
