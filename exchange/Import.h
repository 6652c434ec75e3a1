#pragma once
// Delimited text into the result list. The file or clipboard text is cut into lines, every
// line into fields at the separator, and the chosen columns become name, points and grade.
// Fields are taken as they stand: no trimming, no quoting. Numbers are read with the user's
// decimal separator (zahltext::leseDouble).

#include "results.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

// The fields of one line: one more than it holds separators, empty ones included.
void Zerlegen(QStringList& felder, QStringView zeile, QChar trenner);

// The separator from the setting's text: "#" and a decimal integer give the character with the
// low 16 bits of that code (#9 TAB, #59 ";"); otherwise the first character ("#" alone is "#").
// An empty text, or a "#" form whose rest is no integer, raises Fehler; nothing is read then.
QChar trennerAus(const QString& trennerText);

// Text lines from a file's bytes: a UTF-8 or UTF-16 (LE/BE) byte-order mark selects that
// encoding, otherwise Windows-1252. Lines end at CR LF, lone CR or lone LF; a break at the very
// end adds no empty line; a NUL ends the text.
QStringList zeilenAusBytes(const QByteArray& bytes);
// The same from a file; a file error raises Fehler with its German text.
QStringList zeilenAusDatei(const QString& pfad);
// Clipboard text: the same line rule, a NUL ends the text.
QStringList zeilenAusText(const QString& text);

// The import settings. Columns: 0 = "Nicht genutzt", k = column k (1..6).
// Lines before position `titelzeilen` are skipped; a count below 0 counts as 0.
struct ImportEinstellungen {
    int vorname = 0, nachname = 0, punkte = 0, noten = 0;
    int titelzeilen = 1;
};

enum class ImportErgebnis { Gelesen, SpaltenFehler };

inline const QString kSpaltenFehler = QStringLiteral(
    "Fehler: Die bei den Importeinstellungen angegebene Spaltenzahl deckt sich nicht mit der gefunden "
    "Spaltenzahl. Überprüfen sie die Einstellungen");

// Reads the lines into the list. A chosen column beyond the widest line (all lines counted,
// title lines too) gives SpaltenFehler and changes nothing; the caller shows kSpaltenFehler.
// Otherwise FKlassen is emptied, FEintraege replaced (a.FErsetzen) or appended to, and
// FOriginal becomes a copy of FEintraege. Lines with an empty name, with points that are no
// number, or with points of exactly -1 are dropped; every entry gets the letter "A".
ImportErgebnis ImportAuswerten(Auswertung& a, const QStringList& zeilen, QChar trenner, const ImportEinstellungen& e);

// zeilenAusDatei and ImportAuswerten in one, without holding the lines as strings: the bytes
// are read once and decoded line by line. This is the one to use for files. A file error
// raises Fehler before anything changed.
ImportErgebnis importiereDatei(Auswertung& a, const QString& pfad, QChar trenner, const ImportEinstellungen& e);
