// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of the update check, free of any network: how the server's version file is read,
// what follows from comparing it with the own version, and the texts the about boxes show.

#include "Routinen.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace aktualisierung {

// The file name with its extension (from the last "." of the name part on) replaced by
// `endung`, or `endung` appended when the name has none: "skalora.zip" -> "skalora.ver".
QString mitEndung(const QString& datei, const QString& endung);

// The version the server holds: the longest beginning of `koerper` made of the digits 0-9 and
// commas, read with the comma as decimal separator. No value when that beginning is empty or
// no version number: not a number ("1,0,5", ","), a major number beyond the 16 bits a
// version carries ("100000000000000000000"), or more than the two decimals of "a,bc".
std::optional<double> serverVersion(QByteArrayView koerper);

enum class Folge {
    Verbindungsproblem, // version file not fetched or unreadable: text 8, nothing more
    Ende,               // own version unknown: the check ends without a word
    KeineNeuere,        // exactly equal: text 9
    Frage,              // any other number, higher or lower: ask whether to fetch the archive
};
Folge entscheide(std::optional<double> server, std::optional<double> eigene);

// What a downloaded body must be to count as whole: the lengths HEAD and the GET itself
// announced (none where a reply named none) and the size limit.
struct Erwartung {
    std::optional<qint64> kopf;
    std::optional<qint64> koerper;
    qint64 grenze = 0;
};
// False as soon as the announcements contradict each other or the limit, or more has arrived
// than the body may hold: the transfer can stop there.
bool nochMoeglich(const Erwartung& e, qint64 erhalten);
// After a reply that ended without a network error: whether `erhalten` bytes are the whole
// body. Every length known must match; with none known, the connection's end is the body's end.
bool vollstaendig(const Erwartung& e, qint64 erhalten);

// The overall deadline in milliseconds of a request that expects `bytes`: `grund` plus the
// time the bytes take at a slow but working line (64 KiB/s), at most what a timer can hold.
int frist(int grund, qint64 bytes);

// The texts shared by all about boxes, numbered as the program has always counted them.
enum class Text {
    Datum = 1,
    Frage,
    Entpacker,
    Filter,
    Titel,
    Fortschritt,
    NachDownload,
    Verbindungsproblem,
    KeineNeuere,
    KeineVersion, // the version file came, but holds no version number
};
// German from the start; an about box created on a system that isn't German switches them
// to English for the rest of the run.
void waehleSprache(routinen::Sprache sprache);
QString text(Text t);

// Text 2, text 6 and text 7 filled in: "%f" two decimals, "%d" whole numbers, with the
// user's separators.
QString frage(double eigene, double server);
QString fortschritt(qint64 bisher, qint64 gesamt);
QString nachDownload(double eigene, double server);

// What the check says when it has no server version: text 8 when the version file could not
// be fetched, text 10 when it came but holds no version number ("-1,00", a page of HTML).
QString ohneServerversion(bool geholt);

} // namespace aktualisierung
