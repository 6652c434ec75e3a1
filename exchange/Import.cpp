// SPDX-License-Identifier: GPL-3.0-or-later
// The import's paths: a file read in blocks, a text, a list of lines. Lines come from
// Textzeilen, fields from CsvFelder, the entries from CsvAuswerter.
#include "Import.h"

#include "Ansi.h"
#include "CsvAuswerter.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Meldungsfehler.h"
#include "Textzeilen.h"
#include "Zahltext.h"

#include <QDir>
#include <algorithm>
#include <new>
#include <optional>

using textzeilen::Zeilentext;

namespace {

// The separator's byte where lines of Windows-1252 bytes can be cut and read without decoding:
// exactly one byte stands for it.
std::optional<char> einzelbyteTrenner(QChar trenner) {
    const auto& t = textzeilen::ansiTabelle();
    if (std::count(t.begin(), t.end(), trenner.unicode()) != 1)
        return std::nullopt;
    return static_cast<char>(std::find(t.begin(), t.end(), trenner.unicode()) - t.begin());
}

qsizetype schonDa(const Auswertung& a) {
    return a.FErsetzen ? 0 : a.FEintraege.size();
}

// Byte lines into the list: read as they stand where they are Windows-1252 with a one-byte
// separator and an ASCII decimal separator (what decoding and converting back would give),
// else decoded line by line. `zeilen(f)` calls f(QByteArrayView) for every line in order.
template <class Zeilen>
ImportZusammenfassung werteBytesAus(Auswertung& a, bool utf8, QChar trenner, const ImportEinstellungen& e,
                                    Zeilen&& zeilen) {
    const auto trennerByte = utf8 ? std::nullopt : einzelbyteTrenner(trenner);
    qsizetype nr = 0;
    if (trennerByte && zahltext::trennzeichen().dezimal.unicode() < 0x80) {
        csv::Auswerter<std::string_view, char> w(e, *trennerByte, schonDa(a), Titelregel::Fest);
        zeilen([&](QByteArrayView z) {
            w.lies(nr++, std::string_view(z.data(), static_cast<std::size_t>(z.size())));
        });
        return w.uebergib(a);
    }
    csv::Auswerter<QStringView, QChar> w(e, trenner, schonDa(a), Titelregel::Fest);
    std::u16string puffer;
    zeilen([&](QByteArrayView z) { w.lies(nr++, textzeilen::dekodiere(z, utf8, puffer)); });
    return w.uebergib(a);
}

ImportZusammenfassung auswerten(Auswertung& a, const Zeilentext& text, QChar trenner,
                                const ImportEinstellungen& e, Titelregel regel) {
    if (text.istText()) {
        csv::Auswerter<QStringView, QChar> w(e, trenner, schonDa(a), regel);
        text.fuerJedeZeile([&w](qsizetype nr, QStringView zeile) { w.lies(nr, zeile); });
        return w.uebergib(a);
    }
    const std::string_view bytes = text.bytes();
    const textzeilen::Lage lage{text.anfang(), text.anfang() + static_cast<qint64>(bytes.size())};
    return werteBytesAus(a, text.utf8(), trenner, e, [&](auto&& f) {
        textzeilen::zeilenGrenzen(
            bytes.data(), static_cast<qsizetype>(bytes.size()),
            [&](qsizetype von, qsizetype bis) { f(QByteArrayView(bytes.data() + von, bis - von)); }, lage);
    });
}

// The file in blocks: a pass over the bytes decides the encoding where no mark does, a second
// one reads the lines.
ImportZusammenfassung auswertenInBloecken(Auswertung& a, const QString& pfad, QChar trenner,
                                          const ImportEinstellungen& e) {
    // A pipe can be read only once, and UTF-16 is rare: both are read whole.
    auto ganz = [&] {
        return auswerten(a, Zeilentext::ausBytes(fehler::leseDatei(pfad)), trenner, e, Titelregel::Fest);
    };
    textzeilen::Dateibloecke datei(pfad);
    if (datei.fortlaufend())
        return ganz();
    const qsizetype n = datei.block();
    QByteArray puffer(std::max<qsizetype>(n, 3), Qt::Uninitialized);
    const ansi::Marke marke =
        ansi::markeVon(QByteArrayView(puffer.constData(), datei.lies(puffer.data(), 3)));
    if (marke.kodierung == ansi::Kodierung::Utf16LE || marke.kodierung == ansi::Kodierung::Utf16BE)
        return ganz();
    bool utf8 = marke.kodierung == ansi::Kodierung::Utf8;
    if (!utf8) {
        // The bytes before the first NUL decide; a Windows-1252 umlaut ends the pass early.
        datei.geheZu(0);
        ansi::Utf8Pruefung pruefung;
        for (;;) {
            const qsizetype da = datei.lies(puffer.data(), n);
            const void* nul = std::memchr(puffer.constData(), 0, static_cast<std::size_t>(da));
            pruefung.weiter(QByteArrayView(puffer.constData(),
                                           nul ? static_cast<const char*>(nul) - puffer.constData() : da));
            if (nul || da < n || pruefung.ungueltig())
                break;
            // The lines' pass reports progress; this one, often ended early, only looks for a cancel.
            fortschritt::pruefe();
        }
        utf8 = pruefung.ergebnis();
    }
    datei.geheZu(marke.laenge);
    return werteBytesAus(a, utf8, trenner, e,
                         [&](auto&& f) { datei.fuerJedeZeile(puffer, marke.laenge, f); });
}

} // namespace

QStringList zeilenAusBytes(const QByteArray& bytes) {
    return textzeilen::alsListe(Zeilentext::ausBytes(bytes));
}

QStringList zeilenAusDatei(const QString& pfad) {
    return textzeilen::alsListe(Zeilentext::ausBytes(fehler::leseDatei(pfad)));
}

QStringList zeilenAusText(const QString& text) {
    return textzeilen::alsListe(Zeilentext::ausText(text));
}

ImportZusammenfassung ImportAuswerten(Auswertung& a, const QStringList& zeilen, QChar trenner,
                                      const ImportEinstellungen& e, Titelregel regel) {
    csv::Auswerter<QStringView, QChar> w(e, trenner, schonDa(a), regel);
    for (qsizetype nr = 0; nr < zeilen.size(); ++nr) {
        w.lies(nr, zeilen[nr]);
        if ((nr + 1) % textzeilen::kMeldenAlle == 0)
            fortschritt::melde(nr + 1, zeilen.size());
    }
    return w.uebergib(a);
}

void setzeTestblockgroesse(qsizetype bytes) {
    textzeilen::setzeTestblock(bytes);
}

QString zuWenigSpeicherText(const QString& pfad) {
    return QStringLiteral("Zu wenig Arbeitsspeicher, um „%1“ zu importieren. Die Liste bleibt, wie sie war.")
        .arg(QDir::toNativeSeparators(pfad));
}

ImportZusammenfassung importiereDatei(Auswertung& a, const QString& pfad, QChar trenner,
                                      const ImportEinstellungen& e) {
    try {
        return auswertenInBloecken(a, pfad, trenner, e);
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(zuWenigSpeicherText(pfad));
    }
}

ImportZusammenfassung importiereText(Auswertung& a, const QString& text, QChar trenner,
                                     const ImportEinstellungen& e) {
    try {
        return auswerten(a, Zeilentext::ausText(text), trenner, e, Titelregel::NurWennKeinPruefling);
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(
            QStringLiteral("Zu wenig Arbeitsspeicher, um den Text der Zwischenablage einzufügen. "
                           "Die Liste bleibt, wie sie war."));
    }
}
