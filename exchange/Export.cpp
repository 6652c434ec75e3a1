#include "Export.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Zahltext.h"

#include <QSaveFile>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The decimal separator in Windows-1252: always one byte.
char trennerByte() {
    const QChar sep = zahltext::trennzeichen().dezimal;
    return ansi::ausText(QStringView(&sep, 1)).at(0);
}

char* schreibeZahl(char* z, double wert, char sep) {
    if (!std::isfinite(wert)) {
        const QByteArray text = zahltext::kurz(wert).toLatin1();
        return std::copy(text.begin(), text.end(), z);
    }
    const int n = zahltext::kurzAscii(wert, z);
    if (char* punkt = static_cast<char*>(std::memchr(z, '.', static_cast<std::size_t>(n))))
        *punkt = sep;
    return z + n;
}

} // namespace

void exportiereCsv(QIODevice& ziel, const Notenliste& liste) {
    // Written in pieces, so a long list needs no second copy of itself as text. A line is at
    // most a name, two numbers of kKurzPlatz and four separators.
    constexpr std::size_t kStueck = 1 << 20;
    constexpr std::size_t kZeileHoechstens = TNotenEintrag::kNamenLaenge + 2 * zahltext::kKurzPlatz + 4;
    const char sep = trennerByte();
    std::vector<char> puffer(kStueck + kZeileHoechstens);
    char* const anfang = puffer.data();
    char* z = anfang;
    for (const TNotenEintrag& e : liste) {
        const QByteArrayView name = e.nameBytes();
        z = std::copy(name.begin(), name.end(), z);
        *z++ = ';';
        z = schreibeZahl(z, e.punkte, sep);
        *z++ = ';';
        z = schreibeZahl(z, e.note, sep);
        *z++ = '\r';
        *z++ = '\n';
        if (static_cast<std::size_t>(z - anfang) >= kStueck) {
            fehler::schreibeAlles(ziel, QByteArrayView(anfang, z - anfang));
            z = anfang;
        }
    }
    if (z != anfang)
        fehler::schreibeAlles(ziel, QByteArrayView(anfang, z - anfang));
}

void exportiereCsv(const QString& pfad, const Notenliste& liste) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    exportiereCsv(static_cast<QIODevice&>(datei), liste);
    fehler::schliesseAb(datei);
}
