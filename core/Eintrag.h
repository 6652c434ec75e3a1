// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The records the evaluation is made of: one student's result, the list of them, and one grade
// class. Plain values; nothing here knows the state that holds them or the computations on them.
//
// A student's identity (names, matriculation number, a stable id) and the points per task will
// live in a type of their own beside the list, not in this record: its 56 bytes are the record
// file's, written back as read. How a record names its student is settled with that type.

#include <QByteArray>
#include <QList>
#include <QString>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
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

// Implicitly shared: FOriginal, the grid and FEintraege share one copy until one of them changes.
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

// For tests.
// A lower limit, to see a failed allocation without allocating much; 0 lifts it.
void setzeTestgrenze(qsizetype eintraege);
} // namespace listengrenze

// One grade class: how many students have exactly this grade, and its ECTS letter.
struct TNotenklasse {
    std::int32_t anzahl = 0;
    double note = 0;
    char16_t ects = 0;
};

// The first class of every grade among `klassen`, by exact equality: 0 and -0 are one grade, a
// NaN grade has no class. Grades asked for in ascending order, as a list sorted by grade asks,
// are found without a search. The classes must outlive the finder and stay unchanged.
class ErsteKlasse {
public:
    explicit ErsteKlasse(const std::vector<TNotenklasse>& klassen);
    // The first class with exactly this grade, or nullptr.
    const TNotenklasse* zu(double note);

private:
    bool passt(std::size_t i, double note) const { return i < m_erste.size() && m_erste[i].first == note; }

    std::vector<std::pair<double, const TNotenklasse*>> m_erste; // by ascending grade, NaN left out
    std::size_t m_zuletzt = 0;                                   // where the last grade was found
};
