// SPDX-License-Identifier: GPL-3.0-or-later
#include "Report.h"

#include "Fortschritt.h"
#include "Klassen.h"
#include "Meldungsfehler.h"
#include "Statistik.h"
#include "Zahltext.h"

#include <algorithm>
#include <cmath>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64, "the table compares grades in x87 extended");

KeineAuswertung::KeineAuswertung() : Fehler(report::kKeineAuswertung) {}

namespace {

// Progress every few thousand entries or steps; a cancel throws out of it.
constexpr qint64 kJeMeldung = 4096;
void melde(qint64 erledigt, qint64 gesamt) {
    if (erledigt % kJeMeldung == 0)
        fortschritt::melde(erledigt, gesamt);
}

void zeile(Reportzeilen& zeilen, Stil stil, QString text) {
    zeilen.push_back({stil, std::move(text)});
}

// Tenths, halves to the even neighbour. g * 10 is exact in the 64-bit significand, so a tie
// is a real tie and the default rounding mode decides it.
long double zehntel(double g) {
    return std::nearbyint(static_cast<long double>(g) * 10.0L);
}

} // namespace

Reportzeilen reportZeilen(Auswertung& a, const TNotenskala& skala, double grenznote,
                          Reportoptionen optionen) {
    try {
        StatistikBerechnen(a);
        BestandeneZaehlen(a, grenznote);
    } catch (const Fehler&) {
        throw KeineAuswertung();
    }

    const qint64 anzahl = a.FEintraege.size();
    Reportzeilen zeilen;
    zeile(zeilen, Stil::Fett, QStringLiteral("Prüfungsergebnisse"));
    zeile(zeilen, Stil::Normal, QStringLiteral("Anzahl der Noten:   ") + zahltext::ganz(anzahl));
    zeile(zeilen, Stil::Normal, QStringLiteral("Durchschnitt:       ") + zahltext::fest(a.FDurchschnitt, 1));
    zeile(zeilen, Stil::Normal,
          QStringLiteral("Standardabweichung: ") + zahltext::fest(a.FStandardabweichung, 1));
    zeile(zeilen, Stil::Normal, QStringLiteral("Bestanden:          ") + zahltext::ganz(a.FBestanden));
    zeile(zeilen, Stil::Normal,
          QStringLiteral("Durchgefallen:      ") + zahltext::ganz(anzahl - a.FBestanden));
    zeile(zeilen, Stil::Normal, QString());
    zeile(zeilen, Stil::Fett, QStringLiteral("Einzelergebnisse"));

    if (a.FKlassen.empty())
        ReportEinzelergebnisse(a, zeilen);
    else
        ReportEinzelergebnisseEcts(a, zeilen);
    ReportNotenspiegel(skala, zeilen);
    if (optionen.weitereKennzahlen)
        ReportWeitereKennzahlen(a, optionen.kleineGruppenAusblenden, zeilen);
    return zeilen;
}

void ReportEinzelergebnisse(const Auswertung& a, Reportzeilen& zeilen) {
    zeile(zeilen, Stil::Unterstrichen,
          zahltext::linksbuendig(QStringLiteral("Name"), 30) + QStringLiteral("  Punkte  Note"));
    // Made from the shared list when read: no text per student is held.
    zeilen.einzelzeilen(a.FEintraege);
}

void ReportEinzelergebnisseEcts(const Auswertung& a, Reportzeilen& zeilen) {
    zeile(zeilen, Stil::Unterstrichen,
          zahltext::linksbuendig(QStringLiteral("Name"), 30) +
              QStringLiteral(" Punkte   Note   ECTS Gruppe"));

    // Each student's letter is found now; the lines are made from the shared list when read.
    ErsteKlasse ersteKlasse(a.FKlassen);
    std::vector<char16_t> ects;
    std::vector<qsizetype> eintraege; // the entries with a line, once one is left out
    bool luecke = false;
    const qsizetype anzahl = a.FEintraege.size();
    for (qsizetype i = 0; i < anzahl; ++i) {
        melde(i, anzahl);
        const TNotenklasse* klasse = ersteKlasse.zu(a.FEintraege[i].note);
        if (!klasse) { // the list changed after the classes were built
            if (!luecke)
                for (qsizetype k = 0; k < i; ++k)
                    eintraege.push_back(k);
            luecke = true;
            continue;
        }
        if (luecke)
            eintraege.push_back(i);
        ects.push_back(klasse->ects);
    }
    zeilen.einzelzeilenEcts(a.FEintraege, std::move(eintraege), std::move(ects));

    zeile(zeilen, Stil::Normal, QString());
    zeile(zeilen, Stil::Fett, QStringLiteral("ECTS Gruppen"));
    // The same shares as the class window: count * 100 / denominator, one exact division.
    // Nobody passed: no denominator, so no share text.
    auto gruppe = [&](int i, const QString& anteil) {
        zeile(zeilen, Stil::Normal,
              QString(QChar(u'A' + i)) + QStringLiteral(": ") +
                  zahltext::ganz(a.FEctsAnzahl[static_cast<std::size_t>(i)], 3) +
                  QStringLiteral(" Studenten = ") + anteil);
    };
    for (int i = 0; i < 5; ++i)
        gruppe(i, anteilText(a.FEctsAnzahl[static_cast<std::size_t>(i)], a.FBestanden));
    gruppe(5, anteilText(a.FEctsAnzahl[5], a.FEintraege.size()) + QStringLiteral(" aller Studenten"));
}

void ReportNotenspiegel(const TNotenskala& skala, Reportzeilen& zeilen) {
    zeile(zeilen, Stil::Normal, QString());
    zeile(zeilen, Stil::FettUnterstrichen, QStringLiteral("Notenspiegel"));

    // The steps are counted before the walk: a range typed by mistake, or scores so large that
    // adding 0.5 no longer changes them, would otherwise run for ever.
    const long double von = skala.nichtbestandenpunkte;
    const long double bis = skala.vollepunkte;
    constexpr long double kGanzzahlig = 4503599627370496.0L; // 2^52: from here on p + 0.5 may round back to p
    if (bis >= von && ((bis - von) * 2 > report::kHoechstSchritte || std::fabs(von) >= kGanzzahlig ||
                       std::fabs(bis) >= kGanzzahlig))
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Der Notenspiegel umfasst zu viele Punktzahlen: von der Minimalpunktzahl bis zur "
                           "Maximalpunktzahl sind höchstens %1 halbe Punkte möglich. Bitte prüfen Sie die "
                           "Punktzahlen der Notenvergabe.")
                .arg(zahltext::ganz(static_cast<qint64>(report::kHoechstSchritte))));

    long double vorher = zehntel(0);
    double p = skala.nichtbestandenpunkte;
    qint64 schritt = 0;
    do {
        melde(schritt++, 0);
        const double g = NoteBerechnen(p, skala);
        const long double jetzt = zehntel(g);
        if (jetzt != vorher)
            zeile(zeilen, Stil::Normal,
                  zahltext::fest(p, 1, 4) + QStringLiteral(" P  =  ") + zahltext::fest(g, 1));
        p += 0.5;
        vorher = jetzt;
    } while (skala.vollepunkte >= p);
}

namespace kennzahlen {

double quartil(const std::vector<double>& aufsteigend, int q) {
    if (aufsteigend.empty())
        fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
    // The index in whole quarters, so the position is exact for any length.
    const auto viertel = static_cast<qint64>(aufsteigend.size() - 1) * q;
    const auto k = static_cast<std::size_t>(viertel / 4);
    const long double anteil = static_cast<long double>(viertel % 4) / 4.0L;
    const long double unten = aufsteigend[k];
    if (anteil == 0)
        return aufsteigend[k];
    const long double oben = aufsteigend[k + 1];
    return static_cast<double>(unten + anteil * (oben - unten));
}

QString prozent(qint64 anzahl, qint64 nenner) {
    if (nenner <= 0 || anzahl < 0)
        return {};
    // The rounding of the class window's shares, written with its decimal always shown.
    return zahltext::fest(anteilProzent(anzahl, nenner), 1) + u'%';
}

} // namespace kennzahlen

namespace {

// The pass rate and the grade distribution, one line per grade; with small groups hidden
// neighbouring grades merged (klassen::notenverteilung), so that no figure, nor a difference of
// two, tells a count below 3.
void verteilung(const Auswertung& a, const std::vector<double>& noten, bool kleineGruppenAusblenden,
                Reportzeilen& zeilen) {
    const klassen::Notenverteilung v = klassen::notenverteilung(noten, a.FGrenznote, kleineGruppenAusblenden);
    zeile(zeilen, Stil::Normal, QString());
    zeile(zeilen, Stil::Normal,
          zahltext::linksbuendig(QStringLiteral("Bestehensquote:"), 18) +
              (v.bestehensquoteZeigen
                   ? kennzahlen::prozent(a.FBestanden, a.FEintraege.size()).rightJustified(8)
                   : QStringLiteral("   ausgeblendet")));

    // Hiding small groups widens the grade column for a range "1,0–1,7" where grades were merged.
    const int notenbreite = kleineGruppenAusblenden ? 9 : 4;
    zeile(zeilen, Stil::Normal, QString());
    zeile(zeilen, Stil::Fett, QStringLiteral("Notenverteilung"));
    zeile(zeilen, Stil::Unterstrichen,
          QStringLiteral("Note").leftJustified(notenbreite) + QStringLiteral("Anzahl").rightJustified(8) +
              QStringLiteral("Anteil").rightJustified(9) + QStringLiteral("kumuliert").rightJustified(11));
    qint64 bisher = 0; // students who passed with this grade or a better one
    qint64 n = 0;
    for (const klassen::Verteilungszeile& z : v.zeilen) {
        melde(n++, static_cast<qint64>(v.zeilen.size()));
        QString t = zahltext::fest(z.von, 1, 4);
        if (z.bis != z.von)
            t += u'\u2013' + zahltext::fest(z.bis, 1);
        t = t.leftJustified(notenbreite);
        t += z.klein ? kennzahlen::kKleineGruppe.rightJustified(8) : zahltext::ganz(z.anzahl, 8);
        if (z.bestanden && !z.klein) {
            bisher += z.anzahl;
            t += kennzahlen::prozent(z.anzahl, a.FBestanden).rightJustified(9);
            t += kennzahlen::prozent(bisher, a.FBestanden).rightJustified(11);
        }
        zeile(zeilen, Stil::Normal, std::move(t));
    }
    zeile(zeilen, Stil::Normal,
          QStringLiteral("Anteil und kumuliert: von allen, die bestanden haben (ECTS-Notentabelle)"));
}

} // namespace

void ReportWeitereKennzahlen(const Auswertung& a, bool kleineGruppenAusblenden, Reportzeilen& zeilen) {
    std::vector<double> punkte, noten;
    punkte.reserve(static_cast<std::size_t>(a.FEintraege.size()));
    noten.reserve(static_cast<std::size_t>(a.FEintraege.size()));
    qint64 n = 0;
    for (const TNotenEintrag& e : a.FEintraege) {
        melde(n++, a.FEintraege.size());
        // A NaN has no place in an order: the quartiles would depend on where the sort left it.
        if (std::isnan(e.punkte) || std::isnan(e.note))
            fehler::abbruchMitFehlerbericht(fehler::UngueltigeOperation);
        punkte.push_back(e.punkte);
        noten.push_back(e.note);
    }
    std::sort(punkte.begin(), punkte.end());
    std::sort(noten.begin(), noten.end());

    zeile(zeilen, Stil::Normal, QString());
    zeile(zeilen, Stil::FettUnterstrichen, QStringLiteral("Weitere Kennzahlen"));
    zeile(zeilen, Stil::Unterstrichen,
          zahltext::linksbuendig(QString(), 18) + QStringLiteral("Punkte").rightJustified(8) +
              QStringLiteral("Note").rightJustified(8));
    const std::pair<int, QString> quartile[] = {{1, QStringLiteral("1. Quartil:")},
                                                {2, QStringLiteral("Median:")},
                                                {3, QStringLiteral("3. Quartil:")}};
    for (const auto& [q, name] : quartile)
        zeile(zeilen, Stil::Normal,
              zahltext::linksbuendig(name, 18) + zahltext::fest(kennzahlen::quartil(punkte, q), 1, 8) +
                  zahltext::fest(kennzahlen::quartil(noten, q), 1, 8));
    verteilung(a, noten, kleineGruppenAusblenden, zeilen);
}
