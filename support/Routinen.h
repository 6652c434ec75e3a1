// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's folders, version and language, settled from the environment.
//
// ordnerEinrichten() runs once at start, before any window exists, and fixes
// AnwendungsdatenOrdner (<per-user config folder>/Torvane/<program name>/, created if missing)
// and Einstellungsdatei (that folder + the program file's name with ".ini" as its extension).
// Both follow the name the program file was started under. The version comes from the
// project version compiled in; the language from the system locale.

#include <QLocale>
#include <QString>

namespace routinen {

void ordnerEinrichten();
// Empty before ordnerEinrichten(). The folder ends with "/".
QString AnwendungsdatenOrdner();
QString Einstellungsdatei();

// "major.minor.release Build: build" and major + minor / 100. Always true here: the version
// is compiled in; the out value is left untouched on false.
bool Versionstext(QString& text);
bool Versionsnummer(double& nummer);
QString versionstextAus(int major, int minor, int release, int build);
double versionsnummerAus(int major, int minor);

enum class Sprache { Deutsch, Englisch, Andere };
Sprache Benutzersprache();
// German in any country is Deutsch, English in any country Englisch.
Sprache spracheVon(const QLocale& locale);

} // namespace routinen
