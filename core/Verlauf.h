// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo and redo of the commands that change the list, its grades or its letters. A step holds
// what its command changed: a reordering as the order it made (4 bytes an entry), grades and
// letters as the values they had, deleted rows as those rows; a command that replaces the whole
// list keeps the lists it replaced. The steps together stay within a step count and a byte
// budget; beyond them the oldest go first.

#include "Auswertung.h"

#include <QString>
#include <deque>
#include <memory>
#include <vector>

namespace verlauf {

// One command's change. It stands either done or undone; tausche() brings the evaluation from
// the one state into the other.
class Schritt {
public:
    explicit Schritt(QString name) : m_name(std::move(name)) {}
    virtual ~Schritt() = default;
    Schritt(const Schritt&) = delete;
    Schritt& operator=(const Schritt&) = delete;

    // The command's caption, for the menu's hint.
    const QString& name() const { return m_name; }
    // What the step holds, in bytes (an estimate: shared lists count once).
    virtual qint64 bytes() const = 0;
    // False when the evaluation cannot stand in the state the step expects (its sizes differ):
    // something the history does not know changed the list.
    virtual bool passt(const Auswertung& a) const = 0;
    virtual void tausche(Auswertung& a) = 0;

private:
    QString m_name;
};

using SchrittZeiger = std::unique_ptr<Schritt>;

// What of the evaluation a whole replacement changes.
enum Teil : unsigned { Eintraege = 1, Original = 2, Klassen = 4 };

// Before a command replaces lists whole (import, append, paste, open: Eintraege | Original,
// with Klassen when it empties the classes; the original order: Eintraege): keeps them as they are.
SchrittZeiger vorErsatz(const QString& name, const Auswertung& vorher, unsigned teile);
// Before a command changes grades or letters (of FEintraege and FOriginal, with mitKlassen also
// FKlassen and FEctsAnzahl) without changing the lists' lengths or order: keeps those values.
SchrittZeiger vorBewertung(const QString& name, const Auswertung& vorher, bool mitKlassen);
// Sorts FEintraege with `sortieren` and returns the step, or nullptr when the order stayed.
SchrittZeiger sortiere(const QString& name, Auswertung& a, void (*sortieren)(Notenliste&));
// Deletes grid rows oben..unten as Auswertung::ZeilenLoeschen does (raising its error on an
// empty list) and returns the step.
SchrittZeiger loesche(const QString& name, Auswertung& a, int oben, int unten);
// Several steps as one, undone in reverse order; the parts keep the lists' lengths. Null parts
// are left out; nullptr when none is left.
SchrittZeiger sammlung(const QString& name, std::vector<SchrittZeiger> teile);

class Verlauf {
public:
    static constexpr qsizetype kSchritteHoechstens = 100;
    static constexpr qint64 kBytesHoechstens = qint64(512) << 20;

    explicit Verlauf(qint64 bytesHoechstens = kBytesHoechstens,
                     qsizetype schritteHoechstens = kSchritteHoechstens)
        : m_bytesHoechstens(bytesHoechstens), m_schritteHoechstens(schritteHoechstens) {}

    // A command changed the evaluation: its step goes on top, the steps undone before are
    // given up, and the oldest beyond the limits go. Null (nothing changed) is ignored.
    void merke(SchrittZeiger schritt);

    bool kannRueckgaengig() const { return !m_zurueck.empty(); }
    bool kannWiederholen() const { return !m_vor.empty(); }
    // The name of the step the next undo or redo would take; empty when there is none.
    QString rueckgaengigName() const;
    QString wiederholenName() const;

    // Undoes the last step or redoes the last one undone. False when there is none, or when it
    // no longer fits the evaluation: then the whole history is given up and nothing changes.
    bool rueckgaengig(Auswertung& a);
    bool wiederholen(Auswertung& a);

    void leeren();
    qsizetype schritte() const { return static_cast<qsizetype>(m_zurueck.size() + m_vor.size()); }
    qint64 bytes() const;

private:
    bool bewege(std::deque<SchrittZeiger>& von, std::deque<SchrittZeiger>& nach, Auswertung& a);
    void kuerze();

    qint64 m_bytesHoechstens;
    qsizetype m_schritteHoechstens;
    std::deque<SchrittZeiger> m_zurueck; // done, the last at the back
    std::deque<SchrittZeiger> m_vor;     // undone, the last undone at the back
};

} // namespace verlauf
