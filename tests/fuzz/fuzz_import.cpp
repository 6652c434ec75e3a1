// SPDX-License-Identifier: GPL-3.0-or-later
// The text import. The first bytes choose the locale, separator, column settings and block size,
// the rest is the file. The file path (importiereDatei, which reads the file in blocks) and the
// clipboard path (importiereText) must end in exactly the state and summary of the text path
// (zeilenAusBytes, then ImportAuswerten with the same title rule); what is not read changes
// nothing; without quotation marks every line after the title lines is taken, counted as
// skipped or one of the empty lines at the end, and with them no more lines than there are;
// every entry taken has a name without line breaks or tabs, readable points and the letter "A".
// Quoted fields that span lines, cut apart by small blocks, must read alike on every path.
#include "Pruefung.h"

#include "Auswertung.h"
#include "Fehler.h"
#include "Import.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <unistd.h>

namespace {

const QString& pfad() {
    static const QString p = QDir::tempPath() + QStringLiteral("/fuzz_import_%1.csv").arg(getpid());
    return p;
}

QByteArray alsBytes(const Notenliste& liste) {
    return QByteArray(reinterpret_cast<const char*>(liste.constData()),
                      liste.size() * qsizetype(sizeof(TNotenEintrag)));
}

TNotenEintrag eintrag(const char* name, double punkte, double note, char16_t ects) {
    TNotenEintrag e = leererEintrag();
    e.setzeName(QByteArrayView(name));
    e.punkte = punkte;
    e.note = note;
    e.ects = ects;
    return e;
}

// A state that an import must keep or replace as a whole.
Auswertung vorher(bool ersetzen) {
    Auswertung a;
    a.FEintraege = {eintrag("Alt", 10, 2.0, u'B'), eintrag("Älter", 3, 5.0, 0)};
    a.FOriginal = {eintrag("Ursprung", 1, 6.0, u'F')};
    a.FKlassen = {TNotenklasse{2, 2.0, u'B'}};
    a.FErsetzen = ersetzen;
    return a;
}

bool gleich(const ImportZusammenfassung& x, const ImportZusammenfassung& y) {
    if (x.ergebnis != y.ergebnis || x.uebernommen != y.uebernommen || x.uebergangen != y.uebergangen ||
        x.ersteUebergangene.size() != y.ersteUebergangene.size() || x.titelzeilen != y.titelzeilen ||
        x.ersteTitelzeile != y.ersteTitelzeile || x.geteilteZahlen != y.geteilteZahlen ||
        x.ersteGeteilteZeile != y.ersteGeteilteZeile || x.geteiltVorne != y.geteiltVorne ||
        x.geteiltHinten != y.geteiltHinten || x.offeneAnfuehrungen != y.offeneAnfuehrungen ||
        x.ersteOffeneAnfuehrung != y.ersteOffeneAnfuehrung)
        return false;
    for (qsizetype i = 0; i < x.ersteUebergangene.size(); ++i) {
        const UebergangeneZeile &a = x.ersteUebergangene[i], &b = y.ersteUebergangene[i];
        if (a.zeile != b.zeile || a.grund != b.grund || a.punkte != b.punkte)
            return false;
    }
    return true;
}

bool gleich(const Auswertung& x, const Auswertung& y) {
    return alsBytes(x.FEintraege) == alsBytes(y.FEintraege) &&
           alsBytes(x.FOriginal) == alsBytes(y.FOriginal) && x.FKlassen.size() == y.FKlassen.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    fuzz::waehleGebietsschema(l.byte());
    static const char16_t trennerWahl[] = {u';', u'\t',     u',',      u' ',      u'.',
                                           u'a', u'\u00E4', u'\u20AC', u'\u2013', u'\0'};
    const std::uint8_t t = l.byte();
    const QChar trenner(t < 10 * 16 ? trennerWahl[t % 10] : char16_t(t));
    ImportEinstellungen e;
    const std::uint8_t s1 = l.byte(), s2 = l.byte(), s3 = l.byte();
    e.vorname = s1 & 7;
    e.nachname = s1 >> 4 & 7;
    e.punkte = s2 & 7;
    e.noten = s2 >> 4 & 7;
    e.titelzeilen = (s3 & 3) - 1;
    const bool ersetzen = s3 & 4;
    // The file is read in blocks of 1 to 31 bytes, or in the normal ones.
    setzeTestblockgroesse(s3 >> 3);
    const QByteArray datei = l.rest();

    const QStringList zeilen = zeilenAusBytes(datei);
    for (const QString& z : zeilen)
        PRUEFE(!z.contains(u'\r') && !z.contains(u'\n') && !z.contains(QChar(u'\0')));

    Auswertung text = vorher(ersetzen);
    const ImportZusammenfassung zText = ImportAuswerten(text, zeilen, trenner, e);
    const ImportErgebnis rText = zText.ergebnis;

    {
        QFile f(pfad());
        PRUEFE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        PRUEFE(f.write(datei) == datei.size());
    }
    Auswertung ausDatei = vorher(ersetzen);
    ImportZusammenfassung zDatei;
    try {
        zDatei = importiereDatei(ausDatei, pfad(), trenner, e);
    } catch (const Fehler&) {
        PRUEFE(!"a readable file raises no error");
    }
    PRUEFE(gleich(zText, zDatei));
    PRUEFE(gleich(text, ausDatei));

    // Every line ended by a line feed: the clipboard text of the same lines.
    QString ablage;
    for (const QString& z : zeilen)
        ablage += z + u'\n';
    // The clipboard skips a title line only when it reads as no student.
    Auswertung ausAblage = vorher(ersetzen), ablageText = vorher(ersetzen);
    const ImportZusammenfassung zAblage =
        ImportAuswerten(ablageText, zeilen, trenner, e, Titelregel::NurWennKeinPruefling);
    PRUEFE(gleich(zAblage, importiereText(ausAblage, ablage, trenner, e)));
    PRUEFE(gleich(ablageText, ausAblage));
    PRUEFE(zAblage.titelzeilen <= zText.titelzeilen);

    const qsizetype titel = std::min<qsizetype>(std::max(e.titelzeilen, 0), zeilen.size());
    // Empty lines (blanks, control characters and separators only) at the end count for nothing.
    auto leer = [&](const QString& z) {
        return std::all_of(z.begin(), z.end(), [&](QChar c) { return c == trenner || c.unicode() <= 32; });
    };
    qsizetype amEnde = 0;
    while (amEnde < zeilen.size() - titel && leer(zeilen[zeilen.size() - 1 - amEnde]))
        ++amEnde;
    const bool anfuehrung =
        std::any_of(zeilen.begin(), zeilen.end(), [](const QString& z) { return z.contains(u'"'); });
    if (rText != ImportErgebnis::SpaltenFehler) {
        const qsizetype gezaehlt = zText.uebernommen + zText.uebergangen + zText.titelzeilen;
        PRUEFE(gezaehlt <= zeilen.size());
        if (!anfuehrung)
            PRUEFE(gezaehlt + amEnde == zeilen.size() && zText.titelzeilen == titel);
        PRUEFE(zText.ersteUebergangene.size() ==
               std::min<qsizetype>(zText.uebergangen, ImportZusammenfassung::kErsteHoechstens));
        qsizetype vorige = std::max(e.titelzeilen, 0);
        for (const UebergangeneZeile& u : zText.ersteUebergangene) {
            PRUEFE(u.zeile > vorige && u.zeile <= zeilen.size());
            vorige = u.zeile;
        }
        PRUEFE((rText == ImportErgebnis::NichtsBrauchbar) == (zText.uebernommen == 0));
    }

    const Auswertung alt = vorher(ersetzen);
    if (rText != ImportErgebnis::Gelesen) {
        PRUEFE(gleich(text, alt));
        return 0;
    }
    PRUEFE(text.FKlassen.empty());
    PRUEFE(alsBytes(text.FOriginal) == alsBytes(text.FEintraege));
    const qsizetype behalten = ersetzen ? 0 : alt.FEintraege.size();
    PRUEFE(text.FEintraege.size() >= behalten);
    PRUEFE(alsBytes(text.FEintraege.first(behalten)) == alsBytes(alt.FEintraege.first(behalten)));
    PRUEFE(text.FEintraege.size() - behalten == zText.uebernommen);
    for (qsizetype i = behalten; i < text.FEintraege.size(); ++i) {
        const TNotenEintrag& x = text.FEintraege[i];
        PRUEFE(x.laenge >= 1 && x.laenge <= TNotenEintrag::kNamenLaenge);
        PRUEFE(x.ects == u'A');
        PRUEFE(!x.nameBytes().contains('\r') && !x.nameBytes().contains('\n') &&
               !x.nameBytes().contains('\t'));
        PRUEFE(x.punkte != -1.0 && std::isfinite(x.punkte) && std::isfinite(x.note));
        const QByteArrayView name = x.nameBytes();
        PRUEFE(
            std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) > 32; }));
    }
    return 0;
}
