// SPDX-License-Identifier: GPL-3.0-or-later
// The grading scale against a plain reference written from the rule itself: the raw grade in
// extended precision, the step by integer part and fraction (tenths by the exact 10 r), the
// rounding rule. Finite inputs never crash; results agree to the bit, errors to the text; and
// AlleNotenBerechnen grades up to the failing entry and leaves it and the rest alone.
#include "Pruefung.h"

#include "Fehler.h"
#include "Notenskala.h"

#include <cmath>
#include <cstring>
#include <optional>

namespace {

struct Ausgang {
    std::optional<double> note;
    QString fehler;
};

double zehntel(long double k) {
    return static_cast<double>(static_cast<long long>(k)) / 10.0;
}

// u and t for tenths: u the largest tenth whose nearest double is not above r, t the next one.
// Decided exactly where tenths are counted within 2^53 (|r| below 9e14); beyond that only
// u <= r < t is asked of the program.
bool zehntelReferenz(double r, double& u, double& t) {
    if (!(std::fabs(r) < 9.0e14))
        return false;
    long double k = std::floor(static_cast<long double>(r) * 10); // exact: 53 + 4 bits
    while (zehntel(k + 1) <= r)
        ++k;
    u = zehntel(k);
    t = zehntel(k + 1);
    return true;
}

Ausgang referenz(double p, const TNotenskala& s, bool& zehntelGeprueft) {
    zehntelGeprueft = true;
    long double r;
    if (p > s.bestandenpunkte) {
        const long double abstand = static_cast<long double>(p) - s.bestandenpunkte;
        const long double breite = static_cast<long double>(s.vollepunkte) - s.bestandenpunkte;
        if (breite == 0)
            return {std::nullopt, abstand == 0 ? fehler::UngueltigeOperation : fehler::DivisionDurchNull};
        r = s.bestandennote - abstand / breite * (static_cast<long double>(s.bestandennote) - s.vollenote);
    } else {
        const long double abstand = static_cast<long double>(p) - s.nichtbestandenpunkte;
        const long double breite = static_cast<long double>(s.bestandenpunkte) - s.nichtbestandenpunkte;
        if (breite == 0)
            return {std::nullopt, abstand == 0 ? fehler::UngueltigeOperation : fehler::DivisionDurchNull};
        r = s.nichtbestandennote -
            abstand / breite * (static_cast<long double>(s.nichtbestandennote) - s.bestandennote);
    }
    const double roh = static_cast<double>(r);
    if (!std::isfinite(roh))
        return {std::nullopt, fehler::UngueltigeOperation};

    double u = roh, t = roh;
    const double I = std::trunc(roh);
    const double f = roh - I;
    if (s.notenschluessel == 0) {
        if (f >= 0.5) {
            u = static_cast<double>(I + 0.5L);
            t = static_cast<double>(I + 1.0L);
        } else {
            u = I;
            t = static_cast<double>(I + 0.5L);
        }
    } else if (s.notenschluessel == 1) {
        if (f < 0.3L) {
            u = I;
            t = static_cast<double>(I + 0.3L);
        } else if (f < 0.7L) {
            u = static_cast<double>(I + 0.3L);
            t = static_cast<double>(I + 0.7L);
        } else {
            u = static_cast<double>(I + 0.7L);
            t = static_cast<double>(I + 1.0L);
        }
    } else if (s.notenschluessel == 2) {
        zehntelGeprueft = zehntelReferenz(roh, u, t);
    }
    double note;
    if (s.runden == 0)
        note = u;
    else if (s.runden == 1)
        note = t;
    else if (s.runden == 2)
        note = std::fabs(static_cast<long double>(u) - roh) > std::fabs(static_cast<long double>(t) - roh)
                   ? t
                   : u;
    else
        note = roh;
    if (s.runden < 0 || s.runden > 2)
        zehntelGeprueft = true; // the raw grade itself, no step
    return {note == 0 ? 0.0 : note, {}};
}

Ausgang programm(double p, const TNotenskala& s) {
    try {
        return {NoteBerechnen(p, s), {}};
    } catch (const Fehler& f) {
        return {std::nullopt, f.text()};
    }
}

double zahl(fuzz::Leser& l, bool dezimal) {
    if (dezimal)
        return static_cast<double>(l.roh<std::int16_t>()) / 10.0;
    return l.roh<double>();
}

bool bitgleich(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    fuzz::Leser l(daten, groesse);
    const std::uint8_t art = l.byte();
    const bool dezimal = art & 1; // anchors and scores as tenths, as users type them
    TNotenskala s;
    s.vollepunkte = zahl(l, dezimal);
    s.vollenote = zahl(l, dezimal);
    s.bestandenpunkte = zahl(l, dezimal);
    s.bestandennote = zahl(l, dezimal);
    s.nichtbestandenpunkte = zahl(l, dezimal);
    s.nichtbestandennote = zahl(l, dezimal);
    s.notenschluessel = static_cast<int>(l.byte() % 5) - 1;
    s.runden = static_cast<int>(l.byte() % 5) - 1;
    for (const double x : {s.vollepunkte, s.vollenote, s.bestandenpunkte, s.bestandennote,
                           s.nichtbestandenpunkte, s.nichtbestandennote})
        if (!std::isfinite(x))
            return -1;

    Notenliste liste;
    while (l.uebrig() > 0 && liste.size() < 64) {
        TNotenEintrag e = leererEintrag();
        e.punkte = zahl(l, dezimal);
        e.note = -7.5; // an old grade no scale gives from these inputs by chance
        if (!std::isfinite(e.punkte))
            return -1;
        liste.push_back(e);
    }

    qsizetype ersterFehler = -1;
    for (qsizetype i = 0; i < liste.size(); ++i) {
        bool zehntelGeprueft = true;
        const Ausgang soll = referenz(liste[i].punkte, s, zehntelGeprueft);
        const Ausgang ist = programm(liste[i].punkte, s);
        if (!zehntelGeprueft) {
            // Tenths of huge raw grades: a finite grade, never a crash.
            PRUEFE(ist.note.has_value() && std::isfinite(*ist.note));
        } else {
            PRUEFE(soll.note.has_value() == ist.note.has_value());
            if (soll.note)
                PRUEFE(bitgleich(*soll.note, *ist.note));
            else
                PRUEFE(soll.fehler == ist.fehler);
        }
        if (!ist.note && ersterFehler < 0)
            ersterFehler = i;
    }

    Notenliste alle = liste;
    try {
        AlleNotenBerechnen(alle, s);
        PRUEFE(ersterFehler < 0);
    } catch (const Fehler&) {
        PRUEFE(ersterFehler >= 0);
    }
    for (qsizetype i = 0; i < liste.size(); ++i) {
        const bool benotet = ersterFehler < 0 || i < ersterFehler;
        PRUEFE(bitgleich(alle[i].note, benotet ? *programm(liste[i].punkte, s).note : liste[i].note));
        PRUEFE(bitgleich(alle[i].punkte, liste[i].punkte));
    }
    return 0;
}
