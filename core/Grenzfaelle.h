// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Borderline cases: the students who lie a few points below the next better grade step of the
// current scale. Where each step begins is found on a grid of points (hundredths by default)
// with NoteBerechnen itself, so it is exactly the grade the program gives, whatever the step
// and the rounding rule.

#include "Eintrag.h"
#include "Notenskala.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace grenzfaelle {

// Grid points per point: 100 searches the hundredths, 2 the half points.
inline constexpr int kTeilung = 100;
// More steps than this along the grid (a scale without a step on a wide range) is refused.
inline constexpr std::size_t kHoechstensStufen = 1000000;

// One grade step: its grade and the grid point from which on it is given.
struct Stufe {
    double note;
    double ab;
    qint64 k; // grid index of `ab` (ab is the double nearest to k / teilung)
};

// The steps along the grid from the lower to the upper of nichtbestandenpunkte and vollepunkte.
struct Stufenfolge {
    int teilung = kTeilung;
    qint64 von = 0; // first and last grid index; no grid point when bis < von
    qint64 bis = -1;
    std::vector<Stufe> stufen; // in order of points; neighbours differ in their grade

    // The grid point k: the double nearest to k / teilung.
    double punkt(qint64 k) const { return static_cast<double>(k) / static_cast<double>(teilung); }
};

// Searches the grid. Throws Fehler when the scale cannot grade a point of its own range (a
// piece of zero width), when the range does not fit the grid, or beyond kHoechstensStufen.
// `teilung` must lie between 1 and 100.
Stufenfolge stufen(const TNotenskala& skala, int teilung = kTeilung);

// The points of the first step whose grade passes (at most grenznote); none when none does.
std::optional<double> bestehenAb(const Stufenfolge& folge, double grenznote);

struct Grenzfall {
    qsizetype index = 0; // position in the list
    double punkte = 0;
    double note = 0;         // NoteBerechnen of the points
    double bessereNote = 0;  // the first better grade on the grid above the points
    double ab = 0;           // the grid point from which on it is given
    long double fehlend = 0; // ab - punkte, exact
    bool bestehen = false;   // the better grade passes and the present one does not
};

// For every entry that has a grade under the scale and a better one on the grid above its
// points, in list order. Entries the scale cannot grade are left out.
std::vector<Grenzfall> naechsteStufen(const Notenliste& liste, const TNotenskala& skala,
                                      const Stufenfolge& folge, double grenznote);

// All of naechsteStufen, fewest missing first; ties by name bytes (unsigned), then by position
// in the list. The cases missing less than any distance are a prefix.
std::vector<Grenzfall> geordnet(const Notenliste& liste, const TNotenskala& skala, const Stufenfolge& folge,
                                double grenznote);
// That prefix of `geordnet`: the cases missing less than `abstand`.
std::vector<Grenzfall> knappste(const std::vector<Grenzfall>& geordnet, long double abstand);

// For tests.
// knappste of geordnet in one call, on the steps given and on the steps searched anew.
std::vector<Grenzfall> auswahl(const Notenliste& liste, const TNotenskala& skala, const Stufenfolge& folge,
                               double grenznote, long double abstand);
std::vector<Grenzfall> auswahl(const Notenliste& liste, const TNotenskala& skala, double grenznote,
                               long double abstand, int teilung = kTeilung);

// The table the window shows, copies and exports: Name, Punkte, Note, Bessere Note,
// Fehlende Punkte, Bestehen ("ja" or empty). Points in their shortest form, grades with one
// decimal, the points missing rounded to two.
inline constexpr int kSpalten = 6;
QStringList kopf();
QStringList zeile(const Grenzfall& fall, const Notenliste& liste);
// One cell of that row (spalte 0..kSpalten-1), for a table that asks only for what it shows.
QString zelle(const Grenzfall& fall, const Notenliste& liste, int spalte);
// The cell as the window shows it: the points as the result grid shows them (one decimal), so
// a student reads the same in both; the copy and the export keep the exact points of zelle.
QString anzeige(const Grenzfall& fall, const Notenliste& liste, int spalte);

// Header and rows, cells separated by TAB, every line ended by CR LF; control characters in
// names become blanks so that the cells stay apart.
QString alsTabText(const std::vector<Grenzfall>& faelle, const Notenliste& liste);

// A cache of what the window shows: all cases of a list in order, kept while the list, the scale and the
// pass threshold stay, so that a new distance only takes another prefix. A list that changed is
// no longer shared with the copy kept here (a change to a shared list detaches it).
class Zwischenspeicher {
public:
    // Finds the cases anew unless list, scale and threshold are those of the last call. Throws
    // Fehler as stufen does; then nothing is kept.
    void stelleBereit(const Notenliste& liste, const TNotenskala& skala, double grenznote);
    // Keeps the list only, with no cases (no scale to grade it).
    void nurListe(const Notenliste& liste);

    const Notenliste& liste() const { return m_liste; }
    std::vector<Grenzfall> knappste(long double abstand) const;
    // "Bestanden (Note 4,0 oder besser) ab 25,01 Punkten. 2 Prüflinge liegen weniger als 1 Punkt
    // unter der nächst besseren Note." for `anzahl` cases within `abstand` points.
    QString zusammenfassung(qsizetype anzahl, double abstand) const;

private:
    Notenliste m_liste;
    bool m_bereit = false;
    TNotenskala m_skala;
    double m_grenznote = 0;
    std::optional<double> m_bestehenAb;
    std::vector<Grenzfall> m_geordnet;
};

} // namespace grenzfaelle
