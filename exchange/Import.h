// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Delimited text into the result list. The file or clipboard text is cut into lines, every
// line into fields at the separator, and the chosen columns become name, points and grade.
// Fields are taken as they stand: no trimming, no quoting. Numbers are read with the user's
// decimal separator (zahltext::leseDouble).

#include "Auswertung.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The separator from the setting's text: "#" and a decimal integer give the character with the
// low 16 bits of that code (#9 TAB, #59 ";"); otherwise the first character ("#" alone is "#").
// An empty text, or a "#" form whose rest is no integer, raises Fehler; nothing is read then.
QChar trennerAus(const QString& trennerText);

// The import settings. Columns: 0 = "Nicht genutzt", k = column k (1..6).
// Lines before position `titelzeilen` are skipped; a count below 0 counts as 0.
struct ImportEinstellungen {
    int vorname = 0, nachname = 0, punkte = 0, noten = 0;
    int titelzeilen = 1;
};

enum class ImportErgebnis { Gelesen, SpaltenFehler, NichtsBrauchbar };

inline const QString kSpaltenFehler = QStringLiteral(
    "Fehler: Die bei den Importeinstellungen angegebene Spaltenzahl deckt sich nicht mit der gefunden "
    "Spaltenzahl. Überprüfen sie die Einstellungen");

// Why a line after the title lines gave no entry.
enum class Uebergangsgrund { KeinName, PunkteKeineZahl, PunkteMinusEins };

struct UebergangeneZeile {
    qsizetype zeile = 0; // counted from 1, title lines included, as an editor numbers them
    Uebergangsgrund grund = Uebergangsgrund::KeinName;
    QString punkte; // the points field as it stood, cut short
};

// What an import brought in and what it left out. The windows show it; the texts are made here.
struct ImportZusammenfassung {
    static constexpr int kErsteHoechstens = 10;

    ImportErgebnis ergebnis = ImportErgebnis::Gelesen;
    qsizetype uebernommen = 0;                  // entries added to the list
    qsizetype uebergangen = 0;                  // lines after the title lines that gave no entry
    QList<UebergangeneZeile> ersteUebergangene; // the first kErsteHoechstens of them

    // "n Prüflinge übernommen, m Zeilen übergangen" (singular for 1).
    QString statusText() const;
    // The first skipped lines and why, one a line; empty when none was skipped.
    QString uebergangeneText() const;
    // The message for NichtsBrauchbar: nothing changed, and why the lines were left out.
    QString nichtsBrauchbarText() const;
};

// Reads the lines into the list. A chosen column that no line reaches (all lines counted,
// title lines too) gives SpaltenFehler; no line that makes an entry gives NichtsBrauchbar.
// Both change nothing; the caller shows kSpaltenFehler or nichtsBrauchbarText(). Otherwise
// FKlassen is emptied, FEintraege replaced (a.FErsetzen) or appended to, and FOriginal becomes
// a copy of FEintraege. Lines with an empty name, with points that are no number, or with
// points of exactly -1 are left out and counted; every entry gets the letter "A". A name field
// that begins with an apostrophe before a formula character (as the export writes such names)
// loses that apostrophe. The new entries are gathered aside and handed over at the end, so a
// failure on the way (std::bad_alloc) leaves all lists as they were.
ImportZusammenfassung ImportAuswerten(Auswertung& a, const QStringList& zeilen, QChar trenner,
                                      const ImportEinstellungen& e);

// zeilenAusDatei and ImportAuswerten in one, without holding the file or its lines: the file is
// read in blocks and decoded line by line. This is the one to use for files. A file error
// raises Fehler before anything changed; so does a file too large for memory, naming it.
ImportZusammenfassung importiereDatei(Auswertung& a, const QString& pfad, QChar trenner,
                                      const ImportEinstellungen& e);
// The message when memory runs out while the file `pfad` comes in.
QString zuWenigSpeicherText(const QString& pfad);
// zeilenAusText and ImportAuswerten in one, for the clipboard; too little memory raises Fehler.
ImportZusammenfassung importiereText(Auswertung& a, const QString& text, QChar trenner,
                                     const ImportEinstellungen& e);

// For tests.
// The fields of one line: one more than it holds separators, empty ones included.
void Zerlegen(QStringList& felder, QStringView zeile, QChar trenner);

// Text lines from a file's bytes: a UTF-8 or UTF-16 (LE/BE) byte-order mark selects that
// encoding; without one, valid UTF-8 with a non-ASCII character is UTF-8 and anything else
// Windows-1252 (ansi::textAusDatei). Lines end at CR LF, lone CR or lone LF; a break at the very
// end adds no empty line; a NUL ends the text.
QStringList zeilenAusBytes(const QByteArray& bytes);
// The same from a file; a file error raises Fehler with its German text.
QStringList zeilenAusDatei(const QString& pfad);
// Clipboard text: the same line rule, a NUL ends the text.
QStringList zeilenAusText(const QString& text);
// The size of the blocks a file is read in (0: the normal 256 KiB).
void setzeTestblockgroesse(qsizetype bytes);
