// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result list: one record per student, and the evaluation state the main window owns.

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

// One student's result. The layout is that of the record file: 56 bytes, little-endian,
// copied to and from the file whole. Bytes without meaning are kept as they were read.
struct TNotenEintrag {
    static constexpr int kNamenLaenge = 30;

    std::uint8_t laenge;     // name length, 0..30
    char name[kNamenLaenge]; // Windows-1252; bytes after `laenge` carry no meaning
    std::uint8_t fuell1;     // alignment
    double punkte;
    double note;
    char16_t ects;          // "A".."F", 0 for none
    std::uint8_t fuell2[6]; // alignment

    // The name bytes; a length above 30 never leaves the record.
    QByteArrayView nameBytes() const { return {name, laenge <= kNamenLaenge ? laenge : kNamenLaenge}; }
    QString nameText() const;
    // Sets the name from bytes, cut to 30; the rest of the name room is left as it is.
    void setzeName(QByteArrayView bytes);
};

static_assert(std::endian::native == std::endian::little, "record layout is little-endian");
static_assert(std::is_trivially_copyable_v<TNotenEintrag> && std::is_standard_layout_v<TNotenEintrag>);
static_assert(sizeof(TNotenEintrag) == 56);
static_assert(offsetof(TNotenEintrag, laenge) == 0);
static_assert(offsetof(TNotenEintrag, name) == 1);
static_assert(offsetof(TNotenEintrag, fuell1) == 31);
static_assert(offsetof(TNotenEintrag, punkte) == 32);
static_assert(offsetof(TNotenEintrag, note) == 40);
static_assert(offsetof(TNotenEintrag, ects) == 48);
static_assert(offsetof(TNotenEintrag, fuell2) == 50);

// An all-zero record, as the import and the record reader start them.
inline TNotenEintrag leererEintrag() {
    return TNotenEintrag{};
}

// One grade class: how many students have exactly this grade, and its ECTS letter.
struct TNotenklasse {
    std::int32_t anzahl = 0;
    double note = 0;
    char16_t ects = 0;
};

// Implicitly shared: FOriginal, the grid and FEintraege share one copy until one of them changes.
// The texts the grid shows: five columns, row 0 the header, entry i in row i + 1.
namespace raster {
inline constexpr int kSpalten = 5;
QString kopf(int spalte);
// "%3d:" row number, name, points and grade with one decimal, the letter (empty for none).
QString zelle(int spalte, int zeile, const TNotenEintrag& e);
} // namespace raster

using Notenliste = QList<TNotenEintrag>;

// How many entries a list may hold. Qt 6.4's QList::reserve and its sized constructor do not
// report a failed allocation (they go on with a null block), so a list whose size comes from
// outside is checked here before room is taken for it.
namespace listengrenze {
// What the grid can number (its row count is an int) and the machine's memory can hold.
qsizetype hoechstens();
// Raises std::bad_alloc when a list of `eintraege` entries can't be held.
void pruefe(qsizetype eintraege);
// An empty list with room for exactly `eintraege` entries; std::bad_alloc when there is none.
Notenliste mitPlatz(qsizetype eintraege);
// For tests: a lower limit, to see a failed allocation without allocating much; 0 lifts it.
void setzeTestgrenze(qsizetype eintraege);
} // namespace listengrenze

// The evaluation state of the main window. The window owns one and calls its operations
// from its command handlers; the grid shows FEintraege through ErgebnisModell.
class Auswertung {
public:
    Notenliste FEintraege; // the current list, display order
    Notenliste FOriginal;  // as last brought in, or as left by the last deletion
    std::vector<TNotenklasse> FKlassen;
    std::array<std::int32_t, 6> FEctsAnzahl{};
    double FDurchschnitt = 0;
    double FStandardabweichung = 0;
    double FQuadratsumme = 0;
    double FGrenznote = 0;
    std::int32_t FBestanden = 0;
    bool FErsetzen = false;

    // Carries grade and letter of every entry into the first entry of FOriginal with the
    // same name bytes; the last of several equal names in FEintraege wins.
    void NotenUebernehmen();

    // A list was brought in: FOriginal becomes a copy of FEintraege.
    void OriginalMerken() { FOriginal = FEintraege; }

    void SortierenNachName();
    void SortierenNachNote();
    void UrspruenglicheReihenfolge() { FEintraege = FOriginal; }

    // Removes the entries shown in grid rows oben..unten (row 1 is the first entry).
    // Rows outside the list are ignored; an empty list raises the range error.
    void ZeilenLoeschen(int oben, int unten);
};
