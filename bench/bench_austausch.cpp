// Importing a delimited file of a million lines and exporting the list again: time and peak memory.
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

// VmRSS and VmHWM in bytes.
struct Speicher {
    qint64 rss = 0;
    qint64 spitze = 0;
};

Speicher speicher() {
    Speicher s;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return s;
    for (const QByteArray& zeile : status.readAll().split('\n')) {
        auto wert = [&zeile](const char* name) { return zeile.mid(qstrlen(name)).trimmed().split(' ').first().toLongLong() * 1024; };
        if (zeile.startsWith("VmRSS:"))
            s.rss = wert("VmRSS:");
        else if (zeile.startsWith("VmHWM:"))
            s.spitze = wert("VmHWM:");
    }
    return s;
}

// Sets the peak back to the present size; false where the kernel does not allow it.
bool spitzeZuruecksetzen() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// How far the resident size rose above its start while `lauf` ran.
qint64 spitzenZuwachs(const std::function<void()>& lauf) {
    const qint64 vorher = speicher().rss;
    if (!spitzeZuruecksetzen())
        return -1;
    lauf();
    return speicher().spitze - vorher;
}

// Title line and lines like "Jürgen;Meierhofer004711;37,5;2,3", about 30 bytes each, Windows-1252.
QByteArray erzeugeDatei() {
    const char* vornamen[] = {"Anna", "J\xFCrgen", "Zo\xEB", "Bert", "\xD6zlem", "Lukas", "Maria", "Sven"};
    const char* nachnamen[] = {"Meierhofer", "Gro\xDFmann", "Rothenberg", "\xC4rgerlich", "Kurzweil", "Webermann"};
    QByteArray text("Vorname;Nachname;Punkte;Note\r\n");
    text.reserve(36LL * kZeilen);
    char zahl[16];
    for (int i = 0; i < kZeilen; ++i) {
        text += vornamen[i % 8];
        text += ';';
        text += nachnamen[i % 6];
        std::snprintf(zahl, sizeof zahl, "%06d", i);
        text += zahl;
        text += ';';
        text += QByteArray::number(i % 60);
        if (i % 2)
            text += ",5";
        text += ';';
        text += QByteArray::number(1 + i % 5);
        text += ',';
        text += QByteArray::number(i % 10);
        text += "\r\n";
    }
    return text;
}

double mb(qint64 bytes) { return bytes / 1e6; }

std::string mbText(qint64 bytes) { return std::to_string(static_cast<long long>(mb(bytes) + 0.5)) + " MB"; }

// One memory line, laid out like messung::bericht.
void speicherBericht(const char* was, qint64 bytes, const std::string& ziel, bool erreicht) {
    std::printf("%-52s %10.1f MB   goal: %-28s %s\n", was, mb(bytes), ziel.c_str(), erreicht ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Large blocks always from mmap and back to the system when freed, so the resident size
    // shows what the code holds rather than what the allocator kept.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));

    QTemporaryDir ordner;
    const QString eingabe = ordner.filePath(QStringLiteral("eingabe.csv"));
    const QString ausgabe = ordner.filePath(QStringLiteral("ausgabe.csv"));
    {
        QFile f(eingabe);
        if (!f.open(QIODevice::WriteOnly) || f.write(erzeugeDatei()) < 0)
            return 1;
    }
    const qint64 dateigroesse = QFileInfo(eingabe).size();
    std::printf("input: %d lines, %.1f MB, Windows-1252\n", kZeilen, mb(dateigroesse));

    ImportEinstellungen e;
    e.vorname = 1;
    e.nachname = 2;
    e.punkte = 3;
    e.noten = 4;
    e.titelzeilen = 1;
    const QChar trenner = trennerAus(QStringLiteral(";"));

    // Memory first, in a process that has not yet freed large blocks.
    Auswertung a;
    a.FErsetzen = true;
    const qint64 zuwachs = spitzenZuwachs([&] { importiereDatei(a, eingabe, trenner, e); });
    if (a.FEintraege.size() != std::size_t(kZeilen)) {
        std::printf("import read %lld entries, expected %d\n", static_cast<long long>(a.FEintraege.size()), kZeilen);
        return 1;
    }
    const std::string dreifach = "< 3 x file = " + mbText(3 * dateigroesse);
    if (zuwachs < 0) {
        std::printf("peak memory: /proc/self/clear_refs not writable, not measured\n");
    } else {
        // FOriginal shares the entries with FEintraege, so the list is held once: 56 bytes per entry.
        speicherBericht("import peak RSS growth, total", zuwachs, dreifach, zuwachs < 3 * dateigroesse);
    }

    const double import = messung::besteZeitMs(3, [&] { a = Auswertung(); a.FErsetzen = true; },
                                                [&] { importiereDatei(a, eingabe, trenner, e); });
    messung::bericht("import 10^6 lines (importiereDatei)", import, "< 1000 ms", import < 1000);

    const qint64 exportZuwachs = spitzenZuwachs([&] { exportiereCsv(ausgabe, a.FEintraege); });
    if (exportZuwachs >= 0)
        speicherBericht("export peak RSS growth", exportZuwachs, dreifach, exportZuwachs < 3 * dateigroesse);
    const double exportMs = messung::besteZeitMs(3, nullptr, [&] { exportiereCsv(ausgabe, a.FEintraege); });
    messung::bericht("export 10^6 entries (exportiereCsv)", exportMs, "< 1000 ms", exportMs < 1000);
    std::printf("output: %.1f MB\n", mb(QFileInfo(ausgabe).size()));

    // For comparison: the same file through a list of line strings.
    Auswertung b;
    b.FErsetzen = true;
    const qint64 listenZuwachs = spitzenZuwachs([&] { ImportAuswerten(b, zeilenAusDatei(eingabe), trenner, e); });
    const double liste = messung::besteZeitMs(1, nullptr, [&] { ImportAuswerten(b, zeilenAusDatei(eingabe), trenner, e); });
    messung::bericht("  for comparison: zeilenAusDatei + ImportAuswerten", liste, "-", true);
    if (listenZuwachs >= 0)
        speicherBericht("  for comparison: its peak RSS growth", listenZuwachs, "-", true);
    return 0;
}
