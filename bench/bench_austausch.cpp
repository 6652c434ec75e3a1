// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a delimited file of a million lines and exporting the list again: time and peak memory.
#include "Benchdaten.h"
#include "Export.h"
#include "Import.h"
#include "Messung.h"
#include "Zahltext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <malloc.h>
#include <string>

namespace {

constexpr int kZeilen = 1'000'000;

double mb(qint64 bytes) {
    return static_cast<double>(bytes) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    messung::zahlenMitPunkt();
    // Large blocks always from mmap and back to the system when freed, so the resident size
    // shows what the code holds rather than what the allocator kept.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));

    QTemporaryDir ordner;
    const QString eingabe = ordner.filePath(QStringLiteral("eingabe.csv"));
    const QString ausgabe = ordner.filePath(QStringLiteral("ausgabe.csv"));
    if (!benchdaten::schreibe(eingabe, benchdaten::pruefungsdatei(kZeilen)))
        return 1;
    const qint64 dateigroesse = QFileInfo(eingabe).size();
    std::printf("input: %d lines, %.1f MB, Windows-1252\n", kZeilen, mb(dateigroesse));

    const ImportEinstellungen e = benchdaten::pruefungsspalten();
    const QChar trenner = trennerAus(QStringLiteral(";"));

    // Memory first, in a process that has not yet freed large blocks.
    Auswertung a;
    a.FErsetzen = true;
    const qint64 zuwachs = messung::spitzenZuwachs([&] { importiereDatei(a, eingabe, trenner, e); });
    if (a.FEintraege.size() != std::size_t(kZeilen)) {
        std::printf("import read %lld entries, expected %d\n", static_cast<long long>(a.FEintraege.size()),
                    kZeilen);
        return 1;
    }
    const std::string zweifach = "< 2 x file = " + messung::mbText(2 * dateigroesse);
    if (zuwachs < 0) {
        std::printf("peak memory: /proc/self/clear_refs not writable, not measured\n");
    } else {
        // FOriginal shares the entries with FEintraege, so the list is held once: 56 bytes per entry.
        messung::speicherBericht("import peak RSS growth, total", zuwachs, zweifach,
                                 zuwachs < 2 * dateigroesse);
    }

    const double import = messung::besteZeitMs(
        3,
        [&] {
            a = Auswertung();
            a.FErsetzen = true;
        },
        [&] { importiereDatei(a, eingabe, trenner, e); });
    messung::bericht("import 10^6 lines (importiereDatei)", import, "< 150 ms", import < 150);

    const qint64 exportZuwachs = messung::spitzenZuwachs([&] { exportiereCsv(ausgabe, a.FEintraege); });
    if (exportZuwachs >= 0)
        messung::speicherBericht("export peak RSS growth", exportZuwachs, zweifach,
                                 exportZuwachs < 2 * dateigroesse);
    const double exportMs = messung::besteZeitMs(3, nullptr, [&] { exportiereCsv(ausgabe, a.FEintraege); });
    messung::bericht("export 10^6 entries (exportiereCsv)", exportMs, "< 120 ms", exportMs < 120);
    std::printf("output: %.1f MB\n", mb(QFileInfo(ausgabe).size()));

    // For comparison: the same file through a list of line strings.
    Auswertung b;
    b.FErsetzen = true;
    const qint64 listenZuwachs =
        messung::spitzenZuwachs([&] { ImportAuswerten(b, zeilenAusDatei(eingabe), trenner, e); });
    const double liste =
        messung::besteZeitMs(1, nullptr, [&] { ImportAuswerten(b, zeilenAusDatei(eingabe), trenner, e); });
    messung::bericht("  for comparison: zeilenAusDatei + ImportAuswerten", liste, "-", true);
    if (listenZuwachs >= 0)
        messung::speicherBericht("  for comparison: its peak RSS growth", listenZuwachs, "-", true);
    return 0;
}
