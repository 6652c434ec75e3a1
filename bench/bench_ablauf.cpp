// SPDX-License-Identifier: GPL-3.0-or-later
// A whole evaluation of a million students in one process: import, grading with the grade
// dialog's defaults, sort by grade, classes and histogram ranges, export; and the Python
// script a power user writes instead, on the same file.
#include "Benchdaten.h"
#include "Export.h"
#include "Histogramm.h"
#include "Import.h"
#include "Klassen.h"
#include "Messung.h"
#include "Notenskala.h"
#include "Zahltext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <string>

namespace {

constexpr int kZeilen = 1'000'000;

double jetztMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One run of the script; -1 when it could not run.
double pythonMs(const QString& python, const QString& skript, const QString& eingabe,
                const QString& ausgabe) {
    QProcess p;
    const double start = jetztMs();
    p.start(python, {skript, eingabe, ausgabe});
    if (!p.waitForFinished(600'000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::printf("python_reference.py failed: %s\n", p.readAllStandardError().constData());
        return -1;
    }
    return jetztMs() - start;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    messung::zahlenMitPunkt();
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));

    QTemporaryDir ordner;
    const QString eingabe = ordner.filePath(QStringLiteral("eingabe.csv"));
    const QString ausgabe = ordner.filePath(QStringLiteral("ausgabe.csv"));
    const QString pythonAusgabe = ordner.filePath(QStringLiteral("python.csv"));
    if (!benchdaten::schreibe(eingabe, benchdaten::pruefungsdatei(kZeilen)))
        return 1;
    const qint64 groesse = QFileInfo(eingabe).size();
    std::printf("input: %d lines, %.1f MB, Windows-1252, \";\", title line\n", kZeilen,
                static_cast<double>(groesse) / 1e6);

    const ImportEinstellungen e = benchdaten::pruefungsspalten();
    const QChar trenner = trennerAus(QStringLiteral(";"));
    const TNotenskala skala; // the grade dialog's defaults: 50/1, 25/4, 0/6, thirds, worse grade

    Auswertung a;

    // Every step in the order the user takes them, best of several whole runs.
    constexpr int kLaeufe = 5;
    double import = 1e300, noten = 1e300, sortieren = 1e300, klassen = 1e300, ausfuhr = 1e300, summe = 1e300;
    std::size_t balken = 0;
    for (int lauf = 0; lauf < kLaeufe; ++lauf) {
        a = Auswertung();
        a.FErsetzen = true;
        const double t0 = jetztMs();
        importiereDatei(a, eingabe, trenner, e);
        const double t1 = jetztMs();
        AlleNotenBerechnen(a.FEintraege, skala);
        const double t2 = jetztMs();
        a.SortierenNachNote();
        const double t3 = jetztMs();
        KlassenBilden(a);
        balken = histogramm::bereiche(a.FKlassen, histogramm::breite(1)).size();
        const double t4 = jetztMs();
        exportiereCsv(ausgabe, a.FEintraege);
        const double t5 = jetztMs();
        import = std::min(import, t1 - t0);
        noten = std::min(noten, t2 - t1);
        sortieren = std::min(sortieren, t3 - t2);
        klassen = std::min(klassen, t4 - t3);
        ausfuhr = std::min(ausfuhr, t5 - t4);
        summe = std::min(summe, t5 - t0);
    }
    if (balken == 0 || a.FKlassen.empty() || a.FEintraege.size() != qsizetype(kZeilen)) {
        std::printf("the evaluation read %lld entries, expected %d\n",
                    static_cast<long long>(a.FEintraege.size()), kZeilen);
        return 1;
    }
    std::printf("%lld entries, %zu grade classes, %zu histogram ranges, output %.1f MB\n",
                static_cast<long long>(a.FEintraege.size()), a.FKlassen.size(), balken,
                static_cast<double>(QFileInfo(ausgabe).size()) / 1e6);

    // The steps ran with the allocator as the program has it. For the memory figure, large
    // blocks now come from mmap and go back when freed, so the resident size shows what the
    // import holds rather than what the allocator kept.
    a = Auswertung();
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    a.FErsetzen = true;
    const qint64 zuwachs = messung::spitzenZuwachs([&] { importiereDatei(a, eingabe, trenner, e); });
    messung::bericht("importiereDatei", import, "< 150 ms", import < 150);
    if (zuwachs < 0)
        std::printf("import peak memory: /proc/self/clear_refs not writable, not measured\n");
    else
        messung::speicherBericht("import peak RSS growth", zuwachs,
                                 "< 2 x file = " + messung::mbText(2 * groesse), zuwachs < 2 * groesse);
    messung::bericht("AlleNotenBerechnen (dialog defaults)", noten, "-", true);
    messung::bericht("sort by grade (SortierenNachNote)", sortieren, "< 150 ms", sortieren < 150);
    messung::bericht("KlassenBilden + histogram ranges", klassen, "-", true);
    messung::bericht("exportiereCsv", ausfuhr, "< 120 ms", ausfuhr < 120);
    messung::bericht("whole evaluation (sum of one run)", summe, "< 500 ms", summe < 500);

#ifdef SKALORA_PYTHON_REFERENZ
    const QString skript = QStringLiteral(SKALORA_PYTHON_REFERENZ);
#else
    const QString skript;
#endif
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (skript.isEmpty() || !QFileInfo::exists(skript)) {
        std::printf("python reference: %s not found, ratio not measured\n",
                    skript.isEmpty() ? "python_reference.py" : qPrintable(skript));
    } else if (python.isEmpty()) {
        std::printf("python reference: no python3 on the path, ratio not measured\n");
    } else {
        double py = 1e300;
        for (int lauf = 0; lauf < 2; ++lauf) {
            const double ms = pythonMs(python, skript, eingabe, pythonAusgabe);
            if (ms < 0)
                return 1;
            py = std::min(py, ms);
        }
        messung::bericht("python_reference.py, same file", py, "reference", true);
        const double verhaeltnis = py / summe;
        std::printf("%-52s %10.1f x    goal: %-28s %s\n", "whole evaluation, faster than python", verhaeltnis,
                    ">= 6 x", verhaeltnis >= 6 ? "met" : "MISSED");
    }
    return 0;
}
