// SPDX-License-Identifier: GPL-3.0-or-later
#include "Export.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Fortschritt.h"
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

namespace formelschutz {
namespace {
char16_t einheit(char c) {
    return static_cast<unsigned char>(c);
}
char16_t einheit(QChar c) {
    return c.unicode();
}

// `zeilenvorschub`: LF counts as well. A quoted field's line breaks reach the import as LF, so
// the CR after an apostrophe that the export wrote comes back as LF.
template <class Text> bool noetigIn(Text text, bool zeilenvorschub) {
    qsizetype i = 0;
    const qsizetype n = static_cast<qsizetype>(text.size());
    while (i < n && einheit(text[i]) == u'\'')
        ++i;
    if (i == n)
        return false;
    const char16_t c = einheit(text[i]);
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r' ||
           (zeilenvorschub && c == u'\n');
}
} // namespace

bool noetig(std::string_view text) {
    return noetigIn(text, false);
}
bool noetig(QStringView text) {
    return noetigIn(text, false);
}

std::string_view entferne(std::string_view feld) {
    return !feld.empty() && feld.front() == '\'' && noetigIn(feld.substr(1), true) ? feld.substr(1) : feld;
}

QStringView entferne(QStringView feld) {
    return !feld.isEmpty() && feld.front() == u'\'' && noetigIn(feld.sliced(1), true) ? feld.sliced(1) : feld;
}
} // namespace formelschutz

namespace {

// A name cell: the bytes as stored, behind an apostrophe where a spreadsheet would take a formula.
// A name holding the separator, a quotation mark or a line break (a record may hold any bytes)
// is quoted (RFC 4180), and only such a name, so every other file stays as it always was.
char* schreibeName(char* z, QByteArrayView name) {
    const bool zitieren =
        name.contains(';') || name.contains('"') || name.contains('\r') || name.contains('\n');
    if (zitieren)
        *z++ = '"';
    if (formelschutz::noetig(std::string_view(name.data(), static_cast<std::size_t>(name.size()))))
        *z++ = '\'';
    if (!zitieren)
        return std::copy(name.begin(), name.end(), z);
    for (const char c : name) {
        if (c == '"')
            *z++ = '"';
        *z++ = c;
    }
    *z++ = '"';
    return z;
}
// At most two quotation marks, an apostrophe and every character doubled.
constexpr std::size_t kNameHoechstens = 3 + 2 * TNotenEintrag::kNamenLaenge;

// Through QSaveFile: a failed export leaves an existing file as it was.
template <class Schreiben> void speichereUeber(const QString& pfad, Schreiben&& schreiben) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    schreiben(static_cast<QIODevice&>(datei));
    fehler::schliesseAb(datei);
}

} // namespace

void exportiereCsv(QIODevice& ziel, const Notenliste& liste) {
    // Written in pieces, so a long list needs no second copy of itself as text. A line is at
    // most a name cell, two numbers of kKurzPlatz and four separators.
    constexpr std::size_t kStueck = 1 << 20;
    constexpr std::size_t kZeileHoechstens = kNameHoechstens + 2 * zahltext::kKurzPlatz + 4;
    const char sep = trennerByte();
    std::vector<char> puffer(kStueck + kZeileHoechstens);
    char* const anfang = puffer.data();
    char* z = anfang;
    qint64 geschrieben = 0;
    for (const TNotenEintrag& e : liste) {
        // A cancel throws before the file is committed, so an existing file stays as it was.
        if ((++geschrieben & 4095) == 0)
            fortschritt::melde(geschrieben, liste.size());
        z = schreibeName(z, e.nameBytes());
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
    speichereUeber(pfad, [&liste](QIODevice& ziel) { exportiereCsv(ziel, liste); });
}

void exportiereGrenzfaelle(const QString& pfad, const std::vector<grenzfaelle::Grenzfall>& faelle,
                           const Notenliste& liste) {
    QByteArray bytes = ansi::ausText(grenzfaelle::kopf().join(u';')) + "\r\n";
    char name[kNameHoechstens];
    for (const grenzfaelle::Grenzfall& f : faelle) {
        bytes.append(name, schreibeName(name, liste[f.index].nameBytes()) - name);
        for (int spalte = 1; spalte < grenzfaelle::kSpalten; ++spalte)
            bytes += ';' + ansi::ausText(grenzfaelle::zelle(f, liste, spalte));
        bytes += "\r\n";
    }
    speichereUeber(pfad, [&bytes](QIODevice& ziel) { fehler::schreibeAlles(ziel, bytes); });
}
