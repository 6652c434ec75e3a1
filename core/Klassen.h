// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Grade classes: the students with exactly the same grade, and the ECTS groups the user marks
// on them. The class evaluation window shows a Klassenraster; every rule that fills it, reads
// it back or derives the group shares lives here, so it runs without a window.

#include "Auswertung.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// Sorts FEintraege by grade and rebuilds FKlassen, one class per run of exactly equal grades.
// A class keeps the letter its entries share (so the report after a histogram still shows the
// groups of the last classification); entries without one or with different ones give none.
// The caller lists the sorted list.
void KlassenBilden(Auswertung& a);

// anzahl * 100 / nenner in percent, rounded to tenths from the exact fraction (ties away from
// zero); the double of a tenth prints back as itself. `nenner` must not be 0.
double anteilProzent(qint64 anzahl, qint64 nenner);

// A share of `nenner` students in percent, "##.#%", rounded exactly as the fraction
// anzahl * 100 / nenner (ties away from zero). No denominator (nobody passed): the empty text.
QString anteilText(qint64 anzahl, qint64 nenner);

// The cell texts of the class evaluation grid: row 0 the header, row i + 1 class i.
// The columns the classification writes (number, grade, count, share) are formed from the
// classes when read, so a hundred thousand classes cost no texts until they are shown;
// a text typed over one of them is kept beside until the next classification.
class Klassenraster {
public:
    enum Spalte { Nummer, Note, Anzahl, Anteil, Gruppe, Gruppenteil, SpaltenAnzahl };

    Klassenraster();

    int zeilen() const { return m_zeilen; }
    // Rows beyond the new count are dropped; new rows start empty. Row 0 always stays.
    void setzeZeilen(int anzahl);
    QString text(int spalte, int zeile) const;
    void setzeText(int spalte, int zeile, const QString& text);

    // Columns 0 to 3 of row i + 1 show class i: its number, grade "##.#", count, and its share
    // of `bestanden`; texts typed over them are dropped.
    void zeigeKlassen(const std::vector<TNotenklasse>& klassen, std::int32_t bestanden);

private:
    int m_zeilen = 1;
    std::array<QString, SpaltenAnzahl> m_kopf;
    std::vector<TNotenklasse> m_klassen;
    std::int32_t m_bestanden = 0;
    QHash<qint64, QString> m_ueberschrieben;      // columns 0-3 typed over, by row * columns + column
    std::vector<QString> m_gruppe, m_gruppenteil; // columns 4 and 5, by row
};

namespace klassen {

inline const QString kNichtBeruecksichtigt = QStringLiteral("nicht berücksichtigt");

// Rows for the classes: number, grade "##.#", count, share of those passed "##.#%", "F" in the
// group column above the pass threshold (other group cells keep their text), then "A" in row 1.
void rasterFuellen(Klassenraster& r, const Auswertung& a);

// The group letter of a cell: trimmed of characters up to code 32; empty for an empty cell,
// otherwise its first character with a-z in capitals.
char16_t buchstabe(const QString& zelle);

// Each class's letter from the group column; an empty cell continues the group above, an
// empty first row means A.
void buchstabenLesen(const Klassenraster& r, Auswertung& a);

// FEctsAnzahl from the classes' letters; letters outside A-F are counted nowhere.
void ectsZaehlen(Auswertung& a);

// Every entry takes the letter of the first class with exactly its grade.
void buchstabenVerteilen(Auswertung& a);

// Takes over the grid once the class evaluation window has closed: the group column's letters
// go to the classes (buchstabenLesen), are counted per letter (ectsZaehlen), given to the
// entries (buchstabenVerteilen) and carried into FOriginal by name (NotenUebernehmen).
void einteilungUebernehmen(const Klassenraster& r, Auswertung& a);

// The group-share column for rows 1..n from the group column of those rows: in each group's
// first row the share of those passed, "nicht berücksichtigt" in F rows, elsewhere empty.
QStringList gruppenanteile(const QStringList& gruppen, const std::vector<TNotenklasse>& klassen,
                           std::int32_t bestanden);

// gruppenanteile applied to the raster's rows.
void gruppenanteileSetzen(Klassenraster& r, const std::vector<TNotenklasse>& klassen, std::int32_t bestanden);

// The classic ECTS split of the students who passed as group cells for the classes, row 1 first:
// A the best 10 %, B the next 25 %, C the next 30 %, D the next 25 %, E the last 10 %, "F" in
// every class above `grenznote`. Classes stay whole: with c the passed students in better classes,
// a passed class belongs to the first group whose upper border (10, 35, 65, 90, 100 % of all who
// passed, P) lies above c, compared exactly as 100 * c < border * P. A class that starts right on a
// border so begins the next group. A letter stands in the first row of each group (and again after
// an F row, so reading back never continues an F); the other cells are empty.
QStringList vorschlag(const std::vector<TNotenklasse>& klassen, double grenznote);

// vorschlag written into the group column of the raster, then the group shares recomputed.
void vorschlagSetzen(Klassenraster& r, const Auswertung& a);

// One line of the grade distribution: the grades from `von` to `bis` (equal unless merged).
struct Verteilungszeile {
    double von = 0;
    double bis = 0;
    qint64 anzahl = 0;
    bool bestanden = false; // its grades are at most the pass threshold
    bool klein = false;     // fewer than the smallest group shown: count "< 3", no share
};

struct Notenverteilung {
    std::vector<Verteilungszeile> zeilen;
    // false when the pass rate would give a hidden count away (with the number of students).
    bool bestehensquoteZeigen = true;
};

inline constexpr qint64 kKleinsteGruppe = 3;

// The grades, one line per exactly equal grade, best first. Hiding small groups merges
// neighbouring grades on the same side of the threshold until every line holds at least
// kKleinsteGruppe students (a small rest joins the line before it): so no count, share or
// cumulative share, nor their differences or totals, tells a count below 3. A side with
// fewer students in all stays one line marked klein, and the pass rate is then left out.
// `aufsteigend`: the grades sorted, without NaN.
Notenverteilung notenverteilung(const std::vector<double>& aufsteigend, double grenznote,
                                bool kleineAusblenden);

} // namespace klassen
