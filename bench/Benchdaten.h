// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Generated data the benchmarks share: a graded list in memory, and the exam file of a million
// lines with the import settings that read it.

#include "Eintrag.h"
#include "Import.h"

#include <QFile>
#include <QString>
#include <random>
#include <string>
#include <unistd.h>

namespace benchdaten {

// Names of 5 to 11 letters, points 0 to 50; 17 distinct grades (thirds from 1,0), or with `roh`
// raw grades that are all distinct.
inline Notenliste zufallsliste(std::size_t n, unsigned saat, bool roh = false) {
    std::mt19937 zufall(saat);
    std::uniform_int_distribution<int> stufe(0, 16);
    std::uniform_real_distribution<double> roheNote(1.0, 6.0);
    std::uniform_real_distribution<double> punkte(0.0, 50.0);
    std::uniform_int_distribution<int> buchstabe('a', 'z');
    Notenliste l(static_cast<qsizetype>(n), leererEintrag());
    for (auto& e : l) {
        e.note = roh ? roheNote(zufall) : 1.0 + stufe(zufall) / 3.0;
        e.punkte = punkte(zufall);
        char name[12];
        for (char& c : name)
            c = static_cast<char>(buchstabe(zufall));
        e.setzeName(QByteArrayView(name, 5 + buchstabe(zufall) % 7));
    }
    return l;
}

// A title line and `zeilen` lines like "Jürgen;Meierhofer004711;37,5;2,3", Windows-1252, CR LF.
inline std::string pruefungsdatei(int zeilen) {
    const char* vornamen[] = {"Anna",
                              "J\xFC"
                              "rgen",
                              "Zo\xEB",
                              "Bert",
                              "\xD6zlem",
                              "Lukas",
                              "Maria",
                              "Sven"};
    const char* nachnamen[] = {"Meierhofer",   "Gro\xDFmann", "Rothenberg",
                               "\xC4rgerlich", "Kurzweil",    "Webermann"};
    std::string text("Vorname;Nachname;Punkte;Note\r\n");
    text.reserve(40 * static_cast<std::size_t>(zeilen));
    char zeile[96];
    for (int i = 0; i < zeilen; ++i) {
        const int punkte = static_cast<int>((static_cast<long long>(i) * 37) % 51);
        const int nummer = static_cast<int>((static_cast<long long>(i) * 7919) % zeilen);
        const int n =
            std::snprintf(zeile, sizeof zeile, "%s;%s%06d;%d%s;%d,%d\r\n", vornamen[i % 8],
                          nachnamen[(i / 8) % 6], nummer, punkte, i % 2 ? ",5" : "", 1 + i % 5, i % 10);
        text.append(zeile, static_cast<std::size_t>(n));
    }
    return text;
}

// Written through to the disk before it returns, so that the kernel's write-back of the new
// file does not run beside the steps being timed.
inline bool schreibe(const QString& pfad, const std::string& text) {
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(text.data(), qint64(text.size())) == qint64(text.size()) &&
           f.flush() && ::fsync(f.handle()) == 0;
}

// The columns of pruefungsdatei: first name, last name, points, grade, one title line.
inline ImportEinstellungen pruefungsspalten() {
    ImportEinstellungen e;
    e.vorname = 1;
    e.nachname = 2;
    e.punkte = 3;
    e.noten = 4;
    e.titelzeilen = 1;
    return e;
}

} // namespace benchdaten
