// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Delimited text into the result list. The file or clipboard text is cut into lines, every
// line into fields at the separator, and the chosen columns become name, points and grade.
// Fields are not trimmed. A field that begins with a quotation mark is read as spreadsheets
// write it (RFC 4180): up to the closing mark, a doubled mark inside stands for one, and the
// separator and line breaks inside belong to the field, so such a line goes on in the next
// ones; a text without quotation marks reads as if there were no quoting. Line breaks and tabs
// in a name become single blanks. Numbers are read with the user's decimal separator
// (zahltext::leseDouble). Every path reports its progress through fortschritt::melde every few
// thousand lines (a file by its bytes) and lets a cancel (fortschritt::Abgebrochen) pass, with
// the lists as they were.

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
// Lines (records, for quoted fields that span lines) before position `titelzeilen` are
// skipped (but see Titelregel); a count below 0 counts as 0.
struct ImportEinstellungen {
    int vorname = 0, nachname = 0, punkte = 0, noten = 0;
    int titelzeilen = 1;
};

enum class ImportErgebnis { Gelesen, SpaltenFehler, NichtsBrauchbar };

inline const QString kSpaltenFehler = QStringLiteral(
    "Fehler: Die bei den Importeinstellungen angegebene Spaltenzahl deckt sich nicht mit der gefunden "
    "Spaltenzahl. Überprüfen sie die Einstellungen");

// Why a line after the title lines gave no entry. KeinePunkte: the points column is chosen and
// its field is empty, blank or missing on the line.
enum class Uebergangsgrund { KeinName, PunkteKeineZahl, PunkteMinusEins, KeinePunkte };

// Title lines: Fest skips as many as the settings say; NurWennKeinPruefling (the clipboard,
// where a copied block often has no header) stops skipping at the first of them that reads as
// a student, that is, gives an entry with points read from the chosen points column. Without a
// points column nothing tells a title from a student, and the count applies as set.
enum class Titelregel { Fest, NurWennKeinPruefling };

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
    qsizetype titelzeilen = 0;                  // title lines skipped
    QString ersteTitelzeile;                    // the first of them, cut short, cells joined by ";"
    // The separator is the decimal separator too, and this many lines have a whole number in
    // the points column followed by a field of digits: points like 4,5 split in two. None when
    // some line's points field is quoted: that writer quotes such numbers.
    qsizetype geteilteZahlen = 0;
    qsizetype ersteGeteilteZeile = 0; // counted from 1
    QString geteiltVorne, geteiltHinten;
    // Quotation marks that were not closed: such a line is read to its own end.
    qsizetype offeneAnfuehrungen = 0;
    qsizetype ersteOffeneAnfuehrung = 0; // counted from 1

    // "n Prüflinge übernommen, m Zeilen übergangen" (singular for 1), then ", k Titelzeilen
    // übersprungen" when there were any, and a short warning when points may have been split.
    QString statusText() const;
    // The details, one a line: the first title line, the warning on split points, unclosed
    // quotation marks, the first skipped lines and why; empty when there is nothing to say.
    QString uebergangeneText() const;
    // The message for NichtsBrauchbar: nothing changed, and why the lines were left out.
    QString nichtsBrauchbarText() const;
};

// Reads the lines into the list. A chosen column that no line reaches (all lines counted,
// title lines too) gives SpaltenFehler; no line that makes an entry gives NichtsBrauchbar.
// Both change nothing; the caller shows kSpaltenFehler or nichtsBrauchbarText(). Otherwise
// FKlassen is emptied, FEintraege replaced (a.FErsetzen) or appended to, and FOriginal becomes
// a copy of FEintraege. Lines with an empty name, with points that are empty, no number or
// exactly -1 are left out and counted (empty lines at the very end are not counted); every
// entry gets the letter "A". A quoted field may go on for at most kSatzZeilenHoechstens lines;
// a quotation mark still open after them, or at the end of the text, is a plain character:
// each of those lines is read on its own (one whose mark its own end doesn't close, as it
// stands), and the summary names the first. The separator U+FFFF (csv::kZellentrenner)
// marks lines joined from spreadsheet cells: quotation marks are plain characters there. A name field
// that begins with an apostrophe before a formula character (as the export writes such names)
// loses that apostrophe. The new entries are gathered aside and handed over at the end, so a
// failure on the way (std::bad_alloc) leaves all lists as they were.
inline constexpr qsizetype kSatzZeilenHoechstens = 1000;
ImportZusammenfassung ImportAuswerten(Auswertung& a, const QStringList& zeilen, QChar trenner,
                                      const ImportEinstellungen& e, Titelregel regel = Titelregel::Fest);

// zeilenAusDatei and ImportAuswerten in one, without holding the file or its lines: the file is
// read in blocks and decoded line by line. This is the one to use for files. A file error
// raises Fehler before anything changed; so does a file too large for memory, naming it.
ImportZusammenfassung importiereDatei(Auswertung& a, const QString& pfad, QChar trenner,
                                      const ImportEinstellungen& e);
// The message when memory runs out while the file `pfad` comes in.
QString zuWenigSpeicherText(const QString& pfad);
// zeilenAusText and ImportAuswerten in one, for the clipboard (Titelregel::NurWennKeinPruefling);
// too little memory raises Fehler.
ImportZusammenfassung importiereText(Auswertung& a, const QString& text, QChar trenner,
                                     const ImportEinstellungen& e);

// For tests.
// The fields of one line, empty ones included, quoted ones read as above (a line whose mark
// stays open is read as it stands); without quotation marks one more than it holds separators.
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
