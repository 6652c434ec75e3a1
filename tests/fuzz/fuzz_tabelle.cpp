// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet readers (.xlsx and .ods). The first byte chooses the format, the locale and
// whether the rest is the file itself or the parts of a package that the harness packs (so the
// XML is reached past the container's checksums); the second byte the columns kept. Parts are
// separated by "\xFF\xFE\xFD"; each part's first byte names it from a table of part names,
// the rest is its content. Either the file is refused with a German message, changing nothing,
// or its rows keep the readers' promises: no row wider than asked, no empty cell or row at an
// end, every bound kept; and the import of the file takes exactly what the rows give.
#include "Pruefung.h"

#include "Auswertung.h"
#include "Fehler.h"
#include "Import.h"
#include "Tabelle.h"

#include <QDir>
#include <QFile>
#include <unistd.h>
#include <vector>
#include <zip.h>

namespace {

const QString& pfad(bool ods) {
    static const QString xlsx = QDir::tempPath() + QStringLiteral("/fuzz_tabelle_%1.xlsx").arg(getpid());
    static const QString odsPfad = QDir::tempPath() + QStringLiteral("/fuzz_tabelle_%1.ods").arg(getpid());
    return ods ? odsPfad : xlsx;
}

const char* const kTeile[] = {"[Content_Types].xml",
                              "_rels/.rels",
                              "xl/workbook.xml",
                              "xl/_rels/workbook.xml.rels",
                              "xl/worksheets/sheet1.xml",
                              "xl/sharedStrings.xml",
                              "xl/styles.xml",
                              "xl/worksheets/sheet2.xml",
                              "mimetype",
                              "content.xml",
                              "META-INF/manifest.xml",
                              "styles.xml",
                              "EncryptedPackage",
                              "xl/worksheets/_rels/sheet1.xml.rels",
                              "docProps/app.xml",
                              "Object 1/content.xml"};

// The parts packed as a ZIP file, stored uncompressed so that the packing costs little.
bool packe(const QString& ziel, const QByteArray& rest) {
    QFile::remove(ziel);
    int fehler = 0;
    zip_t* z = zip_open(QFile::encodeName(ziel).constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    if (!z)
        return false;
    const QByteArray trenner("\xFF\xFE\xFD");
    // The sources copy nothing: the contents live until zip_close.
    std::vector<QByteArray> inhalte;
    qsizetype von = 0;
    while (von <= rest.size()) {
        qsizetype bis = rest.indexOf(trenner, von);
        if (bis < 0)
            bis = rest.size();
        const QByteArray teil = rest.mid(von, bis - von);
        von = bis + trenner.size();
        if (teil.isEmpty())
            continue;
        const char* name = kTeile[static_cast<std::uint8_t>(teil[0]) % std::size(kTeile)];
        inhalte.push_back(teil.mid(1));
        zip_source_t* q = zip_source_buffer(z, inhalte.back().constData(),
                                            static_cast<zip_uint64_t>(inhalte.back().size()), 0);
        if (!q)
            continue;
        const zip_int64_t index = zip_file_add(z, name, q, ZIP_FL_OVERWRITE);
        if (index < 0)
            zip_source_free(q);
        else
            zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(z) != 0) {
        zip_discard(z);
        return false;
    }
    return true;
}

TNotenEintrag eintrag(const char* name, double punkte) {
    TNotenEintrag e = leererEintrag();
    e.setzeName(QByteArrayView(name));
    e.punkte = punkte;
    e.note = 2.0;
    e.ects = u'B';
    return e;
}

QByteArray alsBytes(const Notenliste& liste) {
    return QByteArray(reinterpret_cast<const char*>(liste.constData()),
                      liste.size() * qsizetype(sizeof(TNotenEintrag)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    const std::uint8_t wahl = l.byte();
    const bool ods = wahl & 1;
    const bool roh = wahl & 2;
    fuzz::waehleGebietsschema(static_cast<std::uint8_t>(wahl >> 2));
    const std::uint8_t s = l.byte();
    const qsizetype spalten = s < 200 ? s % 8 : tabelle::kSpaltenHoechstens;
    const QByteArray rest = l.rest();

    const QString& datei = pfad(ods);
    if (roh) {
        QFile f(datei);
        PRUEFE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        PRUEFE(f.write(rest) == rest.size());
    } else if (!packe(datei, rest)) {
        return 0;
    }

    tabelle::Zeilen zeilen;
    bool gelesen = false;
    try {
        zeilen = tabelle::lese(datei, spalten);
        gelesen = true;
    } catch (const Fehler& f) {
        PRUEFE(!f.text().isEmpty());
    }
    if (gelesen) {
        PRUEFE(zeilen.size() <= tabelle::kZeilenHoechstens);
        PRUEFE(zeilen.isEmpty() || !zeilen.constLast().isEmpty());
        for (const QStringList& z : zeilen) {
            PRUEFE(z.size() <= spalten);
            PRUEFE(z.isEmpty() || !z.constLast().isEmpty());
            for (const QString& zelle : z)
                PRUEFE(zelle.size() <= tabelle::kZellTextHoechstens);
        }
    }

    // The import, which keeps the four columns its settings name: a refusal leaves everything
    // as it was; otherwise it takes or skips every row the reader gives.
    if (spalten != 4)
        return 0;
    Auswertung a;
    a.FEintraege = {eintrag("Alt", 10), eintrag("Älter", 3)};
    a.FOriginal = {eintrag("Ursprung", 1)};
    a.FKlassen = {TNotenklasse{2, 2.0, u'B'}};
    a.FErsetzen = wahl & 0x80;
    const QByteArray vorherListe = alsBytes(a.FEintraege), vorherOriginal = alsBytes(a.FOriginal);
    const ImportEinstellungen e{.vorname = 1, .nachname = 2, .punkte = 3, .noten = 4, .titelzeilen = 0};
    try {
        const ImportZusammenfassung z = importiereTabelle(a, datei, e);
        PRUEFE(gelesen);
        if (z.ergebnis != ImportErgebnis::Gelesen) {
            PRUEFE(alsBytes(a.FEintraege) == vorherListe && alsBytes(a.FOriginal) == vorherOriginal);
            PRUEFE(a.FKlassen.size() == 1);
        } else {
            PRUEFE(z.uebernommen + z.uebergangen == zeilen.size());
            PRUEFE(alsBytes(a.FEintraege) == alsBytes(a.FOriginal));
            for (const TNotenEintrag& neu : a.FEintraege)
                PRUEFE(neu.ects == u'A' || neu.ects == u'B');
        }
    } catch (const Fehler&) {
        PRUEFE(!gelesen);
        PRUEFE(alsBytes(a.FEintraege) == vorherListe && alsBytes(a.FOriginal) == vorherOriginal);
        PRUEFE(a.FKlassen.size() == 1);
    }
    return 0;
}
