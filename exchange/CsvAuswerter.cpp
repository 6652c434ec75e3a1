// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvAuswerter.h"

#include "Ansi.h"
#include "Export.h"
#include "Trimmen.h"
#include "Zahltext.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace csv {

namespace {

// The name room of a record, filled in Windows-1252 up to 30 bytes. Converting character by
// character and stopping at 30 gives what converting the whole name and cutting it would.
// A run of line breaks and tabs becomes one blank: a cell of two lines is one name.
struct Namenraum {
    char bytes[TNotenEintrag::kNamenLaenge];
    qsizetype laenge = 0;

    static bool umbruch(char16_t c) { return c == u'\r' || c == u'\n' || c == u'\t'; }

    // Every Windows-1252 byte decodes to a character that converts back to that byte, so the
    // name bytes of a byte line are its bytes.
    void haengeAn(std::string_view text) {
        // Up to the first break or tab as it stands.
        const std::size_t platz = static_cast<std::size_t>(TNotenEintrag::kNamenLaenge - laenge);
        const char* ende = text.data() + std::min(text.size(), platz);
        const char* bruch =
            std::find_if(text.data(), ende, [](char c) { return c == '\t' || c == '\n' || c == '\r'; });
        const auto ganz = static_cast<std::size_t>(bruch - text.data());
        std::memcpy(bytes + laenge, text.data(), ganz);
        laenge += static_cast<qsizetype>(ganz);
        if (bruch == ende)
            return;
        bool imUmbruch = false;
        for (std::size_t i = ganz; i < text.size() && laenge < TNotenEintrag::kNamenLaenge; ++i) {
            const char c = text[i];
            if (umbruch(einheit(c))) {
                if (!imUmbruch)
                    bytes[laenge++] = ' ';
                imUmbruch = true;
                continue;
            }
            imUmbruch = false;
            bytes[laenge++] = c;
        }
    }

    void haengeAn(QStringView text) {
        bool imUmbruch = false;
        for (qsizetype i = 0; i < text.size() && laenge < TNotenEintrag::kNamenLaenge; ++i) {
            const char16_t c = text[i].unicode();
            if (umbruch(c)) {
                if (!imUmbruch)
                    bytes[laenge++] = ' ';
                imUmbruch = true;
                continue;
            }
            imUmbruch = false;
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                bytes[laenge++] = static_cast<char>(c);
                continue;
            }
            // Rare characters go through the full conversion; a surrogate pair is one character.
            qsizetype zeichen = 1;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                zeichen = 2;
            bytes[laenge++] = ansi::ausText(text.sliced(i, zeichen)).at(0);
            i += zeichen - 1;
        }
    }

    // Blanks and control characters (codes up to 32) only, or nothing at all.
    bool leer() const {
        return std::all_of(bytes, bytes + laenge,
                           [](char c) { return istRandzeichen(static_cast<unsigned char>(c)); });
    }
};

template <class Ansicht> bool nurRand(Ansicht text) {
    for (qsizetype i = 0; i < laenge(text); ++i)
        if (!istRandzeichen(einheit(text, i)))
            return false;
    return true;
}

template <class Ansicht> bool ziffern(Ansicht text, bool vorzeichen) {
    qsizetype i = 0;
    const qsizetype n = laenge(text);
    if (vorzeichen && n > 0 && (einheit(text, 0) == u'-' || einheit(text, 0) == u'+'))
        ++i;
    if (i == n)
        return false;
    for (; i < n; ++i)
        if (einheit(text, i) < u'0' || einheit(text, i) > u'9')
            return false;
    return true;
}

// A field to show in a message: cut short, tabs and line breaks as blanks, cells joined by ";".
template <class Ansicht> QString zeigbar(Ansicht feld, qsizetype hoechstens) {
    const qsizetype n = laenge(feld);
    qsizetype bis = std::min(n, hoechstens);
    if (bis < n && QChar::isHighSurrogate(einheit(feld, bis - 1)))
        --bis; // not half a character
    QString text = alsText(teil(feld, 0, bis));
    for (QChar& c : text) {
        if (c.unicode() == kZellentrenner)
            c = u';';
        else if (c.unicode() < 32)
            c = u' ';
    }
    if (n > hoechstens)
        text += u'…';
    return text;
}

constexpr qsizetype kFeldZeigen = 20; // enough to recognise a field, however long it is
constexpr qsizetype kZeileZeigen = 60;

void zeilenumbruch(std::string& p) {
    p.push_back('\n');
}
void zeilenumbruch(std::u16string& p) {
    p.push_back(u'\n');
}

} // namespace

template <class Ansicht, class Zeichen>
Auswerter<Ansicht, Zeichen>::Auswerter(const ImportEinstellungen& e, Zeichen trenner, qsizetype schonDa,
                                       Titelregel regel)
    : m_trenner(trenner), m_anfuehrung(einheit(trenner) != u'"' && einheit(trenner) != kZellentrenner),
      m_geteiltPruefen(e.punkte > 0 && einheit(trenner) == zahltext::trennzeichen().dezimal.unicode()),
      m_titelPruefen(regel == Titelregel::NurWennKeinPruefling), m_ab(std::max(e.titelzeilen, 0)),
      m_schonDa(schonDa), m_spalten{e.vorname, e.nachname, e.punkte, e.noten, 0} {
    for (const int s : m_spalten)
        m_hoechste = std::max(m_hoechste, s);
    m_erreicht = m_hoechste <= 0;
    if (m_geteiltPruefen)
        m_spalten[4] = e.punkte + 1;
    for (std::size_t i = 0; i < kPlaetze; ++i) {
        m_lesenBis = std::max(m_lesenBis, m_spalten[i]);
        if (m_spalten[i] > 0 && m_spalten[i] < static_cast<int>(m_maske.size()))
            m_maske[static_cast<std::size_t>(m_spalten[i])] |= static_cast<std::uint8_t>(1u << i);
    }
}

template <class Ansicht, class Zeichen> void Auswerter<Ansicht, Zeichen>::lies(qsizetype nr, Ansicht zeile) {
    if (!m_offen)
        return verarbeite(nr, zeile, true);
    zeilenumbruch(m_satz);
    m_anfaenge.push_back(static_cast<qsizetype>(m_satz.size()));
    haengeAn(m_satz, zeile);
    if (bleibtOffen(zeile, m_trenner, 0, true)) {
        if (static_cast<qsizetype>(m_anfaenge.size()) < kSatzZeilenHoechstens)
            return;
        return loeseSatzAuf();
    }
    m_offen = false;
    verarbeite(m_satzNr, ansicht(m_satz), false);
}

// A quotation mark that stays open: each of the record's lines is read on its own, and one
// whose mark stays open there is read as it stands.
template <class Ansicht, class Zeichen> void Auswerter<Ansicht, Zeichen>::loeseSatzAuf() {
    m_offen = false;
    if (m_z.offeneAnfuehrungen++ == 0)
        m_z.ersteOffeneAnfuehrung = m_satzNr + 1;
    const Puffer<Ansicht> satz = std::move(m_satz);
    const std::vector<qsizetype> anfaenge = std::move(m_anfaenge);
    m_satz.clear();
    m_anfaenge.clear();
    for (std::size_t k = 0; k < anfaenge.size(); ++k) {
        const qsizetype von = anfaenge[k];
        const qsizetype bis =
            k + 1 < anfaenge.size() ? anfaenge[k + 1] - 1 : static_cast<qsizetype>(satz.size());
        verarbeite(m_satzNr + static_cast<qsizetype>(k), teil(ansicht(satz), von, bis - von), false);
    }
}

template <class Ansicht, class Zeichen>
void Auswerter<Ansicht, Zeichen>::verarbeite(qsizetype nr, Ansicht satz, bool darfWeiter) {
    Felder felder;
    bool offen = false;
    // Only the fields up to the highest chosen column are looked for: a line of a million
    // separators costs no more than its first few.
    bool erreicht = zerlegeBis(satz, felder, offen, m_anfuehrung);
    if (offen && !darfWeiter) {
        // A mark never closed is a plain character: the line as it stands.
        felder = Felder();
        erreicht = zerlegeBis(satz, felder, offen, false);
    }
    if (offen) {
        m_offen = true;
        m_satzNr = nr;
        m_satz.clear();
        haengeAn(m_satz, satz);
        m_anfaenge.assign(1, 0);
        return;
    }
    if (erreicht)
        m_erreicht = true;
    const qsizetype index = m_saetze++;
    if (index < m_ab) {
        TNotenEintrag eintrag = leererEintrag();
        Uebergangsgrund grund = Uebergangsgrund::KeinName;
        if (!m_titelPruefen || m_spalten[2] <= 0 || !baue(felder, eintrag, grund))
            return merkeTitel(satz);
        m_ab = index; // a student: the title lines end before it
    }
    if (leer(satz)) {
        if (m_leerAnzahl++ == 0)
            m_leerAb = nr;
        return;
    }
    holeLeereNach();
    pruefeGeteilt(nr, felder);
    TNotenEintrag eintrag = leererEintrag();
    Uebergangsgrund grund = Uebergangsgrund::KeinName;
    if (!baue(felder, eintrag, grund))
        return uebergehe(nr, grund, felder.feld[2]);
    // Room grows with the entries taken, never with the lines: a text of many empty lines
    // needs none.
    if (m_schonDa + m_neu.size() >= m_hoechstens)
        throw std::bad_alloc();
    m_neu.push_back(eintrag);
}

// Fills the fields of the chosen columns that the line has; true when it reaches the highest
// chosen column (the check for a wrong column needs no more than that). `offen`: a quotation
// mark is still open at the end of the line.
template <class Ansicht, class Zeichen>
bool Auswerter<Ansicht, Zeichen>::zerlegeBis(Ansicht zeile, Felder& felder, bool& offen, bool mitAnfuehrung) {
    offen = false;
    // A field's first character tells whether it is quoted; the rest of the line is looked at
    // for marks only after the chosen columns.
    const qsizetype n = laenge(zeile);
    bool erreicht = m_hoechste <= 0;
    qsizetype anfang = 0;
    for (int spalte = 1; spalte <= m_lesenBis; ++spalte) {
        const std::uint8_t maske = maskeVon(spalte);
        const auto platz = maske ? static_cast<std::size_t>(std::countr_zero(maske)) : kPlaetze;
        Ansicht feld;
        const Feldende e = liesFeld(zeile, m_trenner, anfang, mitAnfuehrung, feld, m_feldpuffer[platz]);
        for (std::size_t i = platz; i < kPlaetze; ++i)
            if (maske & (1u << i)) {
                felder.feld[i] = feld;
                felder.zitiert[i] = e.zitiert;
            }
        if (spalte == m_hoechste)
            erreicht = true;
        if (e.offen) {
            offen = true;
            return erreicht;
        }
        if (e.ende >= n)
            return erreicht;
        anfang = e.ende + 1;
    }
    if (mitAnfuehrung)
        offen = bleibtOffen(zeile, m_trenner, anfang, false);
    return erreicht;
}

template <class Ansicht, class Zeichen>
bool Auswerter<Ansicht, Zeichen>::baue(const Felder& f, TNotenEintrag& eintrag,
                                       Uebergangsgrund& grund) const {
    const auto& [vorname, nachname, punkte, note, danach] = f.feld;
    Namenraum name;
    if (vorname)
        name.haengeAn(formelschutz::entferne(*vorname));
    if (nachname) {
        if (vorname)
            name.haengeAn(std::string_view(" "));
        name.haengeAn(formelschutz::entferne(*nachname));
    }
    if (name.leer()) {
        grund = Uebergangsgrund::KeinName;
        return false;
    }
    eintrag = leererEintrag();
    eintrag.setzeName(QByteArrayView(name.bytes, name.laenge));
    eintrag.ects = u'A';
    if (m_spalten[2] > 0) {
        // An empty cell is no points, on every path: a spreadsheet leaves it out of its row.
        if (!punkte || nurRand(*punkte)) {
            grund = Uebergangsgrund::KeinePunkte;
            return false;
        }
        const auto wert = zahltext::leseDouble(*punkte);
        if (!wert) {
            grund = Uebergangsgrund::PunkteKeineZahl;
            return false;
        }
        eintrag.punkte = *wert;
    }
    if (eintrag.punkte == -1.0) {
        grund = Uebergangsgrund::PunkteMinusEins;
        return false;
    }
    if (note)
        eintrag.note = zahltext::leseDouble(*note).value_or(0.0);
    return true;
}

template <class Ansicht, class Zeichen>
void Auswerter<Ansicht, Zeichen>::pruefeGeteilt(qsizetype nr, const Felder& f) {
    const auto& punkte = f.feld[2];
    const auto& danach = f.feld[4];
    if (m_geteiltPruefen && f.zitiert[2])
        m_punkteZitiert = true;
    if (!m_geteiltPruefen || !punkte || !danach || f.zitiert[2] || f.zitiert[4] || !ziffern(*punkte, true) ||
        !ziffern(*danach, false))
        return;
    if (m_z.geteilteZahlen++ == 0) {
        m_z.ersteGeteilteZeile = nr + 1;
        m_z.geteiltVorne = zeigbar(*punkte, kFeldZeigen);
        m_z.geteiltHinten = zeigbar(*danach, kFeldZeigen);
    }
}

template <class Ansicht, class Zeichen> void Auswerter<Ansicht, Zeichen>::merkeTitel(Ansicht satz) {
    if (m_z.titelzeilen++ == 0)
        m_z.ersteTitelzeile = zeigbar(satz, kZeileZeigen);
}

template <class Ansicht, class Zeichen>
void Auswerter<Ansicht, Zeichen>::uebergehe(qsizetype nr, Uebergangsgrund grund,
                                            const std::optional<Ansicht>& punkte) {
    if (m_z.ersteUebergangene.size() < ImportZusammenfassung::kErsteHoechstens) {
        UebergangeneZeile u;
        u.zeile = nr + 1;
        u.grund = grund;
        if (punkte &&
            (grund == Uebergangsgrund::PunkteKeineZahl || grund == Uebergangsgrund::PunkteMinusEins))
            u.punkte = zeigbar(*punkte, kFeldZeigen);
        m_z.ersteUebergangene.append(u);
    }
    ++m_z.uebergangen;
}

// Empty lines before a line with content are skipped lines after all.
template <class Ansicht, class Zeichen> void Auswerter<Ansicht, Zeichen>::holeLeereNach() {
    for (qsizetype k = 0;
         k < m_leerAnzahl && m_z.ersteUebergangene.size() < ImportZusammenfassung::kErsteHoechstens; ++k) {
        UebergangeneZeile u;
        u.zeile = m_leerAb + k + 1;
        u.grund = Uebergangsgrund::KeinName;
        m_z.ersteUebergangene.append(u);
    }
    m_z.uebergangen += m_leerAnzahl;
    m_leerAnzahl = 0;
}

// Nothing but blanks, control characters and separators.
template <class Ansicht, class Zeichen> bool Auswerter<Ansicht, Zeichen>::leer(Ansicht satz) const {
    const char16_t t = einheit(m_trenner);
    for (qsizetype i = 0; i < laenge(satz); ++i) {
        const char16_t c = einheit(satz, i);
        if (c != t && !istRandzeichen(c))
            return false;
    }
    return true;
}

template <class Ansicht, class Zeichen>
ImportZusammenfassung Auswerter<Ansicht, Zeichen>::uebergib(Auswertung& a) {
    if (m_offen)
        loeseSatzAuf();
    // A writer that quotes points has quoted those with a decimal separator too: nothing split.
    if (m_punkteZitiert) {
        m_z.geteilteZahlen = m_z.ersteGeteilteZeile = 0;
        m_z.geteiltVorne.clear();
        m_z.geteiltHinten.clear();
    }
    if (!m_erreicht)
        m_z.ergebnis = ImportErgebnis::SpaltenFehler;
    else if (m_neu.isEmpty())
        m_z.ergebnis = ImportErgebnis::NichtsBrauchbar;
    if (m_z.ergebnis != ImportErgebnis::Gelesen)
        return std::move(m_z);
    m_z.uebernommen = m_neu.size();
    Notenliste liste;
    if (a.FErsetzen || a.FEintraege.isEmpty()) {
        liste = std::move(m_neu);
    } else {
        liste = a.FEintraege;
        liste.append(m_neu);
    }
    a.FKlassen.clear();
    a.FEintraege = std::move(liste);
    a.OriginalMerken();
    return std::move(m_z);
}

template class Auswerter<std::string_view, char>;
template class Auswerter<QStringView, QChar>;

} // namespace csv
