// SPDX-License-Identifier: GPL-3.0-or-later
// Peak memory of a whole evaluation at scale, step by step: import, grading, classes with ECTS
// groups, the report lines, the report document (the lines still held, as the report command
// holds them), optionally its layout, and the report saved as RTF.
//
//   bench_reportspeicher [students] [--layout] [--rtf FOLDER]
//
// students defaults to 10^6; the goal is 400 bytes a student in all (4 GB at 10^7), the whole
// process counted. --rtf keeps the saved report and a small restyled report with a picture in
// FOLDER, so two builds of the writer can be compared byte for byte.
#include "Benchdaten.h"
#include "Import.h"
#include "Klassen.h"
#include "Messung.h"
#include "Notenskala.h"
#include "Report.h"
#include "Reportdokument.h"
#include "Rtf.h"
#include "Zahltext.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <string>

namespace {

constexpr qint64 kBytesJeStudent = 400;

struct Schritt {
    double ms = 0;
    qint64 spitze = 0; // the process's peak resident size during the step
};

// The process's peak while `lauf` runs, the whole resident size counted (not only the growth).
Schritt miss(const std::function<void()>& lauf) {
    const bool zurueck = messung::spitzeZuruecksetzen();
    const auto start = std::chrono::steady_clock::now();
    lauf();
    const auto ende = std::chrono::steady_clock::now();
    Schritt s;
    s.ms = std::chrono::duration<double, std::milli>(ende - start).count();
    s.spitze = zurueck ? messung::speicher().spitze : -1;
    return s;
}

void zeige(const std::string& was, const Schritt& s, qint64 studenten) {
    const qint64 grenze = studenten * kBytesJeStudent;
    std::printf("%-40s %9.0f ms %9.1f MB peak   goal: < %-8s %s\n", was.c_str(), s.ms,
                static_cast<double>(s.spitze) / 1e6, messung::mbText(grenze).c_str(),
                s.spitze < 0 ? "not measured" : (s.spitze < grenze ? "met" : "MISSED"));
    std::fflush(stdout);
}

// A short report restyled as the font command does it, with the chart pasted below: fonts,
// colours and a picture, the writer's other paths.
void bunterBericht(QTextDocument& d, const Reportzeilen& zeilen, const QFont& schrift) {
    const Reportzeilen anfang(zeilen.begin(),
                              zeilen.begin() + std::min<std::ptrdiff_t>(2000, std::ssize(zeilen)));
    reportdokument::fuellen(d, anfang, schrift);
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setPointSize(14);
    serif.setItalic(true);
    const int ende = d.characterCount() - 1;
    reportdokument::schriftSetzen(d, ende / 3, ende / 2, serif, Qt::darkRed);
    QImage diagramm(60, 40, QImage::Format_RGB32);
    diagramm.fill(QColor(0, 64, 128));
    d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("diagramm")), diagramm);
    QTextCursor c(&d);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    QTextImageFormat bild;
    bild.setName(QStringLiteral("diagramm"));
    c.insertImage(bild);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    messung::zahlenMitPunkt();
    // Large blocks from mmap and back to the system when freed, so the resident size shows what
    // the code holds rather than what the allocator kept.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));

    qint64 studenten = 1'000'000;
    bool layout = false;
    QString rtfOrdner;
    const QStringList argumente = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        if (argumente[i] == u"--layout")
            layout = true;
        else if (argumente[i] == u"--rtf" && i + 1 < argumente.size())
            rtfOrdner = argumente[++i];
        else if (const auto n = zahltext::leseGanz(argumente[i]); n && *n > 0)
            studenten = *n;
        else {
            std::fprintf(stderr, "usage: bench_reportspeicher [students] [--layout] [--rtf FOLDER]\n");
            return 2;
        }
    }

    QTemporaryDir ordner;
    const QString eingabe = ordner.filePath(QStringLiteral("eingabe.csv"));
    if (!benchdaten::schreibe(eingabe, benchdaten::pruefungsdatei(static_cast<int>(studenten))))
        return 1;
    malloc_trim(0);
    std::printf("%lld students, input %.1f MB; at the start %.1f MB resident\n",
                static_cast<long long>(studenten), static_cast<double>(QFileInfo(eingabe).size()) / 1e6,
                static_cast<double>(messung::speicher().rss) / 1e6);

    Auswertung a;
    a.FErsetzen = true;
    zeige("import (importiereDatei)", miss([&] {
              importiereDatei(a, eingabe, trennerAus(QStringLiteral(";")), benchdaten::pruefungsspalten());
          }),
          studenten);
    QFile::remove(eingabe);
    const TNotenskala skala;
    zeige("grades (AlleNotenBerechnen)", miss([&] { AlleNotenBerechnen(a.FEintraege, skala); }), studenten);
    zeige("classes and ECTS groups", miss([&] {
              KlassenBilden(a);
              for (std::size_t i = 0; i < a.FKlassen.size(); ++i)
                  a.FKlassen[i].ects =
                      static_cast<char16_t>(u'A' + std::min<std::size_t>(i * 6 / a.FKlassen.size(), 5));
              klassen::ectsZaehlen(a);
          }),
          studenten);

    Reportzeilen zeilen;
    zeige("report lines (reportZeilen)", miss([&] { zeilen = reportZeilen(a, skala, 4.0); }), studenten);

    const QFont schrift = reportdokument::grundschrift(19);
    QTextDocument dokument;
    zeige("report document (fuellen)", miss([&] { reportdokument::fuellen(dokument, zeilen, schrift); }),
          studenten);
    QTextDocument bunt;
    if (!rtfOrdner.isEmpty())
        bunterBericht(bunt, zeilen, schrift);
    zeilen = Reportzeilen();
    malloc_trim(0);

    if (layout)
        zeige("layout of the whole document", miss([&] { dokument.documentLayout()->documentSize(); }),
              studenten);

    const QString rtfPfad = rtfOrdner.isEmpty() ? ordner.filePath(QStringLiteral("report.rtf"))
                                                : QDir(rtfOrdner).filePath(QStringLiteral("report.rtf"));
    zeige("report saved as RTF (rtf::schreibe)", miss([&] { rtf::schreibe(rtfPfad, dokument); }), studenten);
    std::printf("RTF: %.1f MB\n", static_cast<double>(QFileInfo(rtfPfad).size()) / 1e6);
    if (!rtfOrdner.isEmpty())
        rtf::schreibe(QDir(rtfOrdner).filePath(QStringLiteral("bunt.rtf")), bunt);
    return 0;
}
