// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file in INI layout, held whole in memory: load, read and change values, save.
//
// Reading: a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE; without one, valid UTF-8
// with a non-ASCII character is UTF-8 and anything else Windows-1252 (ansi::textAusDatei).
// Each line is trimmed of blanks and control characters; empty lines and lines beginning
// with ";" are skipped; "[name]" opens a section; other lines split at the first "=" into a
// trimmed key and value. Lines before the first section are dropped; lines without "=" are
// kept as they are but never match a key. Section and key names ignore letter case.
// Writing: an existing key keeps its place, a new key goes to the end of its section, a new
// section to the end of the file. The text is "[name]", the key lines and one empty line per
// section, CR LF, in the encoding (with its mark) the file was read in; Windows-1252 for a
// new file and for a file read without a mark. In Windows-1252 a character it cannot hold is
// written as "?"; when the Windows-1252 bytes would read back as UTF-8 (such as "Ã¤", the bytes
// of UTF-8 "ä"), that text is written as UTF-8 with its mark instead, holding the same
// characters. Each save decides anew from the text it writes.
// A value that isn't the number a reader wants gives the caller's default.

#include "Ansi.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

class IniDatei {
public:
    using Kodierung = ansi::Kodierung;

    // A missing file reads as empty; an existing file that can't be read throws Fehler.
    static IniDatei laden(const QString& pfad);
    // Writes the whole file back to the path it was loaded from, through QSaveFile, so a
    // failed save leaves the old file whole. Throws Fehler with the German file error.
    void speichern() const;

    // The file's bytes, without a path; laden and speichern are these plus the file.
    static IniDatei ausBytes(QByteArrayView inhalt);
    QByteArray alsBytes() const;

    const QString& pfad() const { return m_pfad; }
    Kodierung kodierung() const { return m_kodierung; }

    // Missing key: vorgabe. Integers: optional blanks, sign, decimal digits, in the range of
    // qint64. Booleans: an integer, non-zero is true. Numbers: the extended value zahltext::lese
    // reads, within the doubles' range; beyond it, the double zahltext::leseDouble reads
    // ("1,79769313486232E308", the file form of the largest double, reads as that double).
    QString lese(QStringView abschnitt, QStringView schluessel, const QString& vorgabe) const;
    qint64 leseGanz(QStringView abschnitt, QStringView schluessel, qint64 vorgabe) const;
    bool leseBool(QStringView abschnitt, QStringView schluessel, bool vorgabe) const;
    long double leseZahl(QStringView abschnitt, QStringView schluessel, long double vorgabe) const;

    void schreibe(QStringView abschnitt, QStringView schluessel, const QString& wert);
    void schreibeGanz(QStringView abschnitt, QStringView schluessel, qint64 wert);
    void schreibeBool(QStringView abschnitt, QStringView schluessel, bool wert);
    // Written as the double nearest to wert, in zahltext::kurz form ("4,5" under German); a
    // finite wert beyond the doubles as the largest double of its sign.
    void schreibeZahl(QStringView abschnitt, QStringView schluessel, long double wert);

    // For tests.
    bool hatAbschnitt(QStringView abschnitt) const;

private:
    struct Eintrag {
        QString schluessel; // the whole line when istPaar is false
        QString wert;
        bool istPaar = true;
    };
    struct Abschnitt {
        QString name;
        std::vector<Eintrag> eintraege;
    };

    const Abschnitt* finde(QStringView abschnitt) const;
    const Eintrag* finde(QStringView abschnitt, QStringView schluessel) const;

    std::vector<Abschnitt> m_abschnitte;
    QString m_pfad;
    Kodierung m_kodierung = Kodierung::Ansi;
};

// The backup beside the settings file: its path with the extension replaced by ".bak".
QString sicherungsdatei(const QString& pfad);

// Loads the settings file guarded by its completion marker: when "WroteSuccesful" in "Check"
// is a non-zero integer the file is copied over its backup; otherwise the backup is copied
// over the file (if there is one) and the file is loaded again. Copy failures go unreported.
IniDatei ladeGesichert(const QString& pfad);

// The first changes of every dialog save: "SektionVorhanden"=1 in the dialog's section, then
// the marker "WroteSuccesful"=1 in "Check".
void markiereGeschrieben(IniDatei& ini, QStringView abschnitt);
