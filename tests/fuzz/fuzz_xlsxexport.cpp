// SPDX-License-Identifier: GPL-3.0-or-later
// The xlsx writer against the reader: a list made from the input (after a locale byte, records
// of a name length, the name's Windows-1252 bytes and two raw doubles for points and grade) is
// written as a workbook and imported again with name, points and grade in columns 1 to 3.
// Every entry with a name comes back, in order, with its name as the import's rules make it
// (an apostrophe before a formula character is taken off) and its numbers as the file form
// (at most 15 significant digits) gives them: exact for a number that form writes exactly,
// otherwise within that form's rounding. An entry without a name (blanks and control
// characters only), or with points of exactly -1, is left out, as the import does.
#include "Pruefung.h"

#include "Auswertung.h"
#include "Fehler.h"
#include "Import.h"
#include "Tabelle.h"
#include "XlsxExport.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace {

const QString& pfad() {
    static const QString p = QDir::tempPath() + QStringLiteral("/fuzz_xlsxexport_%1.xlsx").arg(getpid());
    return p;
}

// Finite, and short of the largest doubles, which 15 digits round up past the largest.
double endlich(double x) {
    return std::isfinite(x) && std::fabs(x) < 1e300 ? x : 0.0;
}

// The number as the import reads it back from the file form.
double wieGelesen(double x) {
    return zahltext::leseDouble(zahltext::kurz(x)).value_or(std::nan(""));
}

bool zahlGleich(double zurueck, double x) {
    const double erwartet = wieGelesen(x);
    if (erwartet == x)
        return zurueck == x;
    // Rounded twice on the way (the library's digits, then the file form's 15): a few units
    // in the 15th digit.
    return std::fabs(zurueck - x) <= std::fabs(x) * 1e-14;
}

// The import's blank test: a name of blanks and control characters only is no name.
bool ohneName(QByteArrayView name) {
    return std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

QByteArray erwarteterName(QByteArrayView name) {
    // The import takes back the apostrophe the CSV export puts before a formula character.
    if (name.size() >= 2 && name[0] == '\'' && QByteArrayView("=+-@\t\r").contains(name[1]))
        return name.sliced(1).toByteArray();
    return name.toByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    fuzz::waehleGebietsschema(l.byte());
    Notenliste liste;
    while (l.uebrig() > 0 && liste.size() < 200) {
        TNotenEintrag e = leererEintrag();
        const int laenge = l.byte() % (TNotenEintrag::kNamenLaenge + 1);
        QByteArray name;
        for (int i = 0; i < laenge && l.uebrig() > 0; ++i) {
            // Control characters come as blanks. Tabs and line breaks become blanks on import,
            // runs of them one, which is not modelled here; and the writer's escape of the
            // others ("_x0000_") can join a literal "_x0010" before it into an escape that the
            // reader then takes for a character.
            const char c = static_cast<char>(l.byte());
            name.append(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
        }
        e.setzeName(name);
        e.punkte = endlich(l.roh<double>());
        e.note = endlich(l.roh<double>());
        liste.append(e);
    }

    try {
        exportiereXlsx(pfad(), liste);
    } catch (const Fehler& f) {
        std::fprintf(stderr, "%s\n", f.what());
        PRUEFE(!"a small list is always written");
    }

    Auswertung a;
    a.FErsetzen = true;
    const ImportEinstellungen e{.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0};
    ImportZusammenfassung z;
    try {
        z = importiereTabelle(a, pfad(), e);
    } catch (const Fehler& f) {
        std::fprintf(stderr, "%s\n", f.what());
        PRUEFE(!"the written workbook reads");
    }

    Notenliste mitNamen;
    for (const TNotenEintrag& x : liste)
        if (!ohneName(x.nameBytes()) && x.punkte != -1) // the import leaves out points of exactly -1
            mitNamen.append(x);
    if (mitNamen.isEmpty()) {
        PRUEFE(z.ergebnis != ImportErgebnis::Gelesen || a.FEintraege.isEmpty());
        return 0;
    }
    PRUEFE(z.ergebnis == ImportErgebnis::Gelesen);
    if (a.FEintraege.size() != mitNamen.size()) {
        for (const TNotenEintrag& x : a.FEintraege)
            std::fprintf(stderr, "read: %s\n", x.nameBytes().toByteArray().toHex().constData());
        for (const TNotenEintrag& x : mitNamen)
            std::fprintf(stderr, "written: %s\n", x.nameBytes().toByteArray().toHex().constData());
        PRUEFE(!"every entry with a name comes back");
    }
    for (qsizetype i = 0; i < mitNamen.size(); ++i) {
        const TNotenEintrag& vorher = mitNamen[i];
        const TNotenEintrag& zurueck = a.FEintraege[i];
        if (zurueck.nameBytes() != erwarteterName(vorher.nameBytes())) {
            std::fprintf(stderr, "name %s came back as %s\n",
                         vorher.nameBytes().toByteArray().toHex().constData(),
                         zurueck.nameBytes().toByteArray().toHex().constData());
            PRUEFE(!"the name comes back");
        }
        PRUEFE(zahlGleich(zurueck.punkte, vorher.punkte));
        PRUEFE(zahlGleich(zurueck.note, vorher.note));
        PRUEFE(zurueck.ects == u'A');
    }
    return 0;
}
