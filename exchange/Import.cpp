// SPDX-License-Identifier: GPL-3.0-or-later
#include "Import.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Export.h"
#include "Fehler.h"
#include "Meldungsfehler.h"
#include "Trimmen.h"
#include "Zahltext.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

const QString kKeinTrenner = QStringLiteral(
    "Kein Trennzeichen eingestellt. Bitte tragen Sie in den CSV Importeinstellungen ein Trennzeichen ein "
    "(z. B. ; oder #9 für den Tabulator).");

// Windows-1252 byte -> UTF-16, taken once from the program's own conversion.
const std::array<char16_t, 256>& ansiTabelle() {
    static const std::array<char16_t, 256> tabelle = [] {
        QByteArray alle(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            alle[i] = static_cast<char>(i);
        const QString text = ansi::zuText(alle);
        std::array<char16_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[static_cast<std::size_t>(i)] = text[i].unicode();
        return t;
    }();
    return tabelle;
}

// The first CR or LF in p[i..n), or n.
qsizetype naechsterUmbruch(const char16_t* p, qsizetype i, qsizetype n) {
    while (i < n && p[i] != u'\r' && p[i] != u'\n')
        ++i;
    return i;
}
// Bytes are searched eight at a time: a byte equal to the one sought becomes zero after an xor,
// and nullbytes marks the lowest zero byte of a word exactly (borrows only reach bytes above it).
constexpr std::uint64_t kEins = 0x0101010101010101ULL;
constexpr std::uint64_t nullbytes(std::uint64_t w) {
    return (w - kEins) & ~w & (kEins * 0x80);
}

qsizetype naechsterUmbruch(const char* p, qsizetype i, qsizetype n) {
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wort;
        std::memcpy(&wort, p + i, sizeof wort);
        if (const std::uint64_t t = nullbytes(wort ^ (kEins * '\r')) | nullbytes(wort ^ (kEins * '\n')))
            return i + std::countr_zero(t) / 8;
    }
    while (i < n && p[i] != '\r' && p[i] != '\n')
        ++i;
    return i;
}

// Calls f(anfang, ende) for every line of p[0..n): CR LF, lone CR and lone LF end a line,
// and a break at the very end opens no further line.
template <class Einheit, class F> void zeilenGrenzen(const Einheit* p, qsizetype n, F&& f) {
    qsizetype anfang = 0;
    qsizetype i = 0;
    while (i < n) {
        i = naechsterUmbruch(p, i, n);
        if (i == n)
            break;
        const Einheit c = p[i];
        f(anfang, i);
        if (c == Einheit('\r') && i + 1 < n && p[i + 1] == Einheit('\n'))
            ++i;
        anfang = ++i;
    }
    if (anfang < n)
        f(anfang, n);
}

// One line of a byte text as UTF-16 in a reused buffer: Windows-1252, or UTF-8.
QStringView dekodiere(QByteArrayView zeile, bool utf8, std::u16string& puffer) {
    const auto* b = reinterpret_cast<const unsigned char*>(zeile.data());
    const auto n = static_cast<std::size_t>(zeile.size());
    if (!utf8) {
        const auto& t = ansiTabelle();
        puffer.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            puffer[i] = t[b[i]];
        return QStringView(puffer);
    }
    if (std::all_of(b, b + n, [](unsigned char c) { return c < 0x80; })) {
        puffer.assign(b, b + n);
        return QStringView(puffer);
    }
    const QString text = QString::fromUtf8(zeile);
    puffer.assign(text.utf16(), text.utf16() + text.size());
    return QStringView(puffer);
}

// The separator's byte where lines of Windows-1252 bytes can be cut and read without decoding:
// exactly one byte stands for it.
std::optional<char> einzelbyteTrenner(QChar trenner) {
    const auto& t = ansiTabelle();
    if (std::count(t.begin(), t.end(), trenner.unicode()) != 1)
        return std::nullopt;
    return static_cast<char>(std::find(t.begin(), t.end(), trenner.unicode()) - t.begin());
}

// A text's lines without a string per line. Windows-1252 and UTF-8 stay bytes and are decoded
// one line at a time into a reused buffer; UTF-16 is converted once and viewed in place.
class Zeilentext {
public:
    static Zeilentext ausBytes(QByteArray bytes) {
        Zeilentext t;
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
        const qsizetype n = bytes.size();
        const ansi::Marke marke = ansi::markeVon(bytes);
        if (marke.kodierung == ansi::Kodierung::Utf16LE || marke.kodierung == ansi::Kodierung::Utf16BE)
            return ausText(ansi::textAusDatei(bytes));
        t.m_anfang = marke.laenge;
        // A NUL ends the text; in both byte encodings it is a zero byte.
        const void* nul = std::memchr(b + t.m_anfang, 0, static_cast<std::size_t>(n - t.m_anfang));
        t.m_ende = nul ? static_cast<const unsigned char*>(nul) - b : n;
        // Without a mark the text before the NUL decides: valid UTF-8 with umlauts is UTF-8.
        t.m_utf8 = marke.kodierung == ansi::Kodierung::Utf8 ||
                   ansi::istUtf8MitNichtAscii(QByteArrayView(bytes.constData(), t.m_ende));
        t.m_bytes = std::move(bytes);
        return t;
    }

    static Zeilentext ausText(QString text) {
        Zeilentext t;
        const qsizetype nul = text.indexOf(QChar(u'\0'));
        if (nul >= 0)
            text.truncate(nul);
        t.m_text = std::move(text);
        t.m_istText = true;
        return t;
    }

    // f(position, QStringView) for every line; the view is valid during the call.
    template <class F> void fuerJedeZeile(F&& f) const {
        qsizetype nr = 0;
        if (m_istText) {
            const QStringView text(m_text);
            zeilenGrenzen(text.utf16(), text.size(),
                          [&](qsizetype a, qsizetype b) { f(nr++, text.sliced(a, b - a)); });
            return;
        }
        std::u16string puffer;
        const char* p = m_bytes.constData() + m_anfang;
        zeilenGrenzen(p, m_ende - m_anfang, [&](qsizetype a, qsizetype b) {
            f(nr++, dekodiere(QByteArrayView(p + a, b - a), m_utf8, puffer));
        });
    }

    bool istText() const { return m_istText; }
    bool utf8() const { return m_utf8; }

    // The bytes of a byte text, up to the NUL that ends it.
    std::string_view bytes() const {
        return {m_bytes.constData() + m_anfang, static_cast<std::size_t>(m_ende - m_anfang)};
    }

private:
    bool m_istText = false;
    bool m_utf8 = false;
    QString m_text;
    QByteArray m_bytes;
    qsizetype m_anfang = 0;
    qsizetype m_ende = 0;
};

void zerlege(std::vector<QStringView>& felder, QStringView zeile, QChar trenner) {
    felder.clear();
    qsizetype anfang = 0;
    for (qsizetype pos; (pos = zeile.indexOf(trenner, anfang)) >= 0; anfang = pos + 1)
        felder.push_back(zeile.sliced(anfang, pos - anfang));
    felder.push_back(zeile.sliced(anfang));
}

// The same few steps on bytes (std::string_view, char) and on UTF-16 (QStringView, QChar).
qsizetype finde(std::string_view zeile, char trenner, qsizetype ab) {
    // Fields are short: eight bytes at a time in place, rather than a library call per field.
    const char* p = zeile.data();
    const auto n = static_cast<qsizetype>(zeile.size());
    const std::uint64_t muster = kEins * static_cast<unsigned char>(trenner);
    qsizetype i = ab;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wort;
        std::memcpy(&wort, p + i, sizeof wort);
        if (const std::uint64_t t = nullbytes(wort ^ muster))
            return i + std::countr_zero(t) / 8;
    }
    for (; i < n; ++i)
        if (p[i] == trenner)
            return i;
    return -1;
}
qsizetype finde(QStringView zeile, QChar trenner, qsizetype ab) {
    return zeile.indexOf(trenner, ab);
}
std::string_view teil(std::string_view z, qsizetype ab, qsizetype n) {
    return z.substr(static_cast<std::size_t>(ab), static_cast<std::size_t>(n));
}
QStringView teil(QStringView z, qsizetype ab, qsizetype n) {
    return z.sliced(ab, n);
}
QString alsText(std::string_view bytes) {
    return ansi::zuText(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
QString alsText(QStringView text) {
    return text.toString();
}

// The name room of a record, filled in Windows-1252 up to 30 bytes. Converting character by
// character and stopping at 30 gives what converting the whole name and cutting it would.
struct Namenraum {
    char bytes[TNotenEintrag::kNamenLaenge];
    qsizetype laenge = 0;

    // Every Windows-1252 byte decodes to a character that converts back to that byte, so the
    // name bytes of a byte line are its bytes.
    void haengeAn(std::string_view text) {
        const std::size_t n =
            std::min(text.size(), static_cast<std::size_t>(TNotenEintrag::kNamenLaenge - laenge));
        std::memcpy(bytes + laenge, text.data(), n);
        laenge += static_cast<qsizetype>(n);
    }

    void haengeAn(QStringView text) {
        for (qsizetype i = 0; i < text.size() && laenge < TNotenEintrag::kNamenLaenge; ++i) {
            const char16_t c = text[i].unicode();
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

// The evaluation of one text, line by line. The new entries go into a list of their own; the
// caller's lists are touched only by uebergib, after the last line.
template <class Ansicht, class Zeichen> class Auswerter {
public:
    Auswerter(const ImportEinstellungen& e, Zeichen trenner, qsizetype schonDa)
        : m_trenner(trenner), m_ab(std::max(e.titelzeilen, 0)),
          m_schonDa(schonDa), m_spalten{e.vorname, e.nachname, e.punkte, e.noten} {
        for (const int s : m_spalten)
            m_hoechste = std::max(m_hoechste, s);
        m_erreicht = m_hoechste <= 0;
    }

    void lies(qsizetype nr, Ansicht zeile) {
        std::array<std::optional<Ansicht>, 4> felder;
        // Only the fields up to the highest chosen column are looked for: a line of a million
        // separators costs no more than its first few.
        if (zerlegeBis(zeile, felder))
            m_erreicht = true;
        if (nr < m_ab)
            return;
        const auto& [vorname, nachname, punkte, note] = felder;

        Namenraum name;
        if (vorname)
            name.haengeAn(formelschutz::entferne(*vorname));
        if (nachname) {
            if (vorname)
                name.haengeAn(std::string_view(" "));
            name.haengeAn(formelschutz::entferne(*nachname));
        }
        if (name.leer())
            return uebergehe(nr, Uebergangsgrund::KeinName, nullptr);

        TNotenEintrag eintrag = leererEintrag();
        eintrag.setzeName(QByteArrayView(name.bytes, name.laenge));
        eintrag.ects = u'A';
        if (punkte) {
            const auto wert = zahltext::leseDouble(*punkte);
            if (!wert)
                return uebergehe(nr, Uebergangsgrund::PunkteKeineZahl, &*punkte);
            eintrag.punkte = *wert;
        }
        if (eintrag.punkte == -1.0)
            return uebergehe(nr, Uebergangsgrund::PunkteMinusEins, punkte ? &*punkte : nullptr);
        if (note)
            eintrag.note = zahltext::leseDouble(*note).value_or(0.0);
        // Room grows with the entries taken, never with the lines: a text of many empty lines
        // needs none.
        if (m_schonDa + m_neu.size() >= m_hoechstens)
            throw std::bad_alloc();
        m_neu.push_back(eintrag);
    }

    // Hands the entries over, or tells why not. Nothing before the commit throws after it.
    ImportZusammenfassung uebergib(Auswertung& a) {
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

private:
    // Fills the fields of the chosen columns that the line has; true when it reaches the
    // highest chosen column (the check for a wrong column needs no more than that).
    bool zerlegeBis(Ansicht zeile, std::array<std::optional<Ansicht>, 4>& felder) const {
        qsizetype anfang = 0;
        for (int spalte = 1; spalte <= m_hoechste; ++spalte) {
            const qsizetype pos = finde(zeile, m_trenner, anfang);
            const qsizetype ende = pos < 0 ? static_cast<qsizetype>(zeile.size()) : pos;
            for (std::size_t i = 0; i < felder.size(); ++i)
                if (m_spalten[i] == spalte)
                    felder[i] = teil(zeile, anfang, ende - anfang);
            if (pos < 0)
                return spalte == m_hoechste;
            anfang = pos + 1;
        }
        return true;
    }

    void uebergehe(qsizetype nr, Uebergangsgrund grund, const Ansicht* punkte) {
        if (m_z.ersteUebergangene.size() < ImportZusammenfassung::kErsteHoechstens) {
            UebergangeneZeile u;
            u.zeile = nr + 1;
            u.grund = grund;
            if (punkte) {
                // Enough to recognise the field, however long it is.
                constexpr qsizetype kZeigen = 20;
                const qsizetype n = static_cast<qsizetype>(punkte->size());
                u.punkte = alsText(teil(*punkte, 0, std::min(n, kZeigen)));
                if (n > kZeigen)
                    u.punkte += u'…';
            }
            m_z.ersteUebergangene.append(u);
        }
        ++m_z.uebergangen;
    }

    Zeichen m_trenner;
    qsizetype m_ab;
    qsizetype m_schonDa;
    qsizetype m_hoechstens = listengrenze::hoechstens();
    std::array<int, 4> m_spalten;
    int m_hoechste = 0;
    bool m_erreicht = false;
    Notenliste m_neu;
    ImportZusammenfassung m_z;
};

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
        Auswerter<std::string_view, char> w(e, *trennerByte, schonDa(a));
        zeilen([&](QByteArrayView z) {
            w.lies(nr++, std::string_view(z.data(), static_cast<std::size_t>(z.size())));
        });
        return w.uebergib(a);
    }
    Auswerter<QStringView, QChar> w(e, trenner, schonDa(a));
    std::u16string puffer;
    zeilen([&](QByteArrayView z) { w.lies(nr++, dekodiere(z, utf8, puffer)); });
    return w.uebergib(a);
}

ImportZusammenfassung auswerten(Auswertung& a, const Zeilentext& text, QChar trenner,
                                const ImportEinstellungen& e) {
    if (text.istText()) {
        Auswerter<QStringView, QChar> w(e, trenner, schonDa(a));
        text.fuerJedeZeile([&w](qsizetype nr, QStringView zeile) { w.lies(nr, zeile); });
        return w.uebergib(a);
    }
    const std::string_view bytes = text.bytes();
    return werteBytesAus(a, text.utf8(), trenner, e, [&bytes](auto&& f) {
        zeilenGrenzen(bytes.data(), static_cast<qsizetype>(bytes.size()), [&](qsizetype von, qsizetype bis) {
            f(QByteArrayView(bytes.data() + von, bis - von));
        });
    });
}

qsizetype g_testblock = 0;

// A file read in blocks, so that the import never holds more of it than a block and the line
// that crosses into the next.
class Dateibloecke {
public:
    static constexpr qsizetype kBlock = 256 * 1024;

    explicit Dateibloecke(const QString& pfad) : m_datei(pfad) {
        errno = 0;
        if (!m_datei.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            fehler::wirfDateifehler(m_datei, errno);
    }

    qsizetype block() const { return g_testblock > 0 ? g_testblock : kBlock; }
    bool fortlaufend() const { return m_datei.isSequential(); }

    // Fills ziel[0..n) as far as the file goes; fewer bytes only at its end.
    qsizetype lies(char* ziel, qsizetype n) {
        qsizetype da = 0;
        while (da < n) {
            errno = 0;
            const qint64 r = m_datei.read(ziel + da, n - da);
            if (r < 0)
                fehler::wirfDateifehler(m_datei, errno);
            if (r == 0)
                break;
            da += r;
        }
        return da;
    }

    void geheZu(qint64 pos) {
        errno = 0;
        if (!m_datei.seek(pos))
            fehler::wirfDateifehler(m_datei, errno);
    }

    // Calls f(QByteArrayView) for every line from the present position on; a NUL ends the text.
    // Only the unfinished line at the end of a block is carried into the next, so a line longer
    // than a block grows the buffer, nothing else does.
    template <class F> void fuerJedeZeile(QByteArray& puffer, F&& f) {
        const qsizetype n = block();
        qsizetype belegt = 0;
        for (;;) {
            if (puffer.size() < belegt + n)
                puffer.resize(std::max(belegt + n, 2 * puffer.size()));
            char* p = puffer.data();
            const qsizetype neu = lies(p + belegt, n);
            const void* nul = std::memchr(p + belegt, 0, static_cast<std::size_t>(neu));
            const bool ende = nul || neu < n;
            const qsizetype laenge = nul ? static_cast<const char*>(nul) - p : belegt + neu;
            qsizetype schnitt = laenge;
            if (!ende) {
                // Up to the last break that is surely whole: a CR at the very end may be the first
                // half of CR LF. The carried bytes hold no other break, so only the new ones are searched.
                const qsizetype grenze = p[laenge - 1] == '\r' ? laenge - 1 : laenge;
                schnitt = 0;
                for (qsizetype j = grenze; j-- > std::max<qsizetype>(belegt - 1, 0);)
                    if (p[j] == '\r' || p[j] == '\n') {
                        schnitt = j + 1;
                        break;
                    }
            }
            zeilenGrenzen(p, schnitt,
                          [&](qsizetype von, qsizetype bis) { f(QByteArrayView(p + von, bis - von)); });
            if (ende)
                return;
            belegt = laenge - schnitt;
            std::memmove(p, p + schnitt, static_cast<std::size_t>(belegt));
        }
    }

private:
    QFile m_datei;
};

// The file in blocks: a pass over the bytes decides the encoding where no mark does, a second
// one reads the lines.
ImportZusammenfassung auswertenInBloecken(Auswertung& a, const QString& pfad, QChar trenner,
                                          const ImportEinstellungen& e) {
    // A pipe can be read only once, and UTF-16 is rare: both are read whole.
    auto ganz = [&] { return auswerten(a, Zeilentext::ausBytes(fehler::leseDatei(pfad)), trenner, e); };
    Dateibloecke datei(pfad);
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
        }
        utf8 = pruefung.ergebnis();
    }
    datei.geheZu(marke.laenge);
    return werteBytesAus(a, utf8, trenner, e, [&](auto&& f) { datei.fuerJedeZeile(puffer, f); });
}

// The lines as strings, grown one by one: room taken from a count of lines could be far more
// than memory holds.
QStringList alsListe(const Zeilentext& text) {
    QStringList zeilen;
    text.fuerJedeZeile([&zeilen](qsizetype, QStringView z) { zeilen.append(z.toString()); });
    return zeilen;
}

QString anzahlText(qsizetype n, const QString& einzahl, const QString& mehrzahl) {
    return zahltext::ganz(n) + u' ' + (n == 1 ? einzahl : mehrzahl);
}

} // namespace

void Zerlegen(QStringList& felder, QStringView zeile, QChar trenner) {
    std::vector<QStringView> ansichten;
    zerlege(ansichten, zeile, trenner);
    felder.clear();
    for (const QStringView f : ansichten)
        felder.append(f.toString());
}

QChar trennerAus(const QString& trennerText) {
    if (trennerText.isEmpty())
        fehler::abbruchMitFehlerbox(kKeinTrenner);
    if (trennerText.size() > 1 && trennerText[0] == u'#') {
        const QStringView rest = QStringView(trennerText).sliced(1);
        const auto code = zahltext::leseGanz(rest);
        if (!code || *code < std::numeric_limits<qint32>::min() || *code > std::numeric_limits<qint32>::max())
            fehler::abbruchMitFehlerbericht(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(rest));
        return QChar(static_cast<char16_t>(static_cast<quint32>(*code) & 0xFFFF));
    }
    return trennerText[0];
}

QStringList zeilenAusBytes(const QByteArray& bytes) {
    return alsListe(Zeilentext::ausBytes(bytes));
}

QStringList zeilenAusDatei(const QString& pfad) {
    return alsListe(Zeilentext::ausBytes(fehler::leseDatei(pfad)));
}

QStringList zeilenAusText(const QString& text) {
    return alsListe(Zeilentext::ausText(text));
}

ImportZusammenfassung ImportAuswerten(Auswertung& a, const QStringList& zeilen, QChar trenner,
                                      const ImportEinstellungen& e) {
    Auswerter<QStringView, QChar> w(e, trenner, schonDa(a));
    for (qsizetype nr = 0; nr < zeilen.size(); ++nr)
        w.lies(nr, zeilen[nr]);
    return w.uebergib(a);
}

void setzeTestblockgroesse(qsizetype bytes) {
    g_testblock = bytes;
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
        return auswerten(a, Zeilentext::ausText(text), trenner, e);
    } catch (const std::bad_alloc&) {
        fehler::abbruchMitFehlerbericht(
            QStringLiteral("Zu wenig Arbeitsspeicher, um den Text der Zwischenablage einzufügen. "
                           "Die Liste bleibt, wie sie war."));
    }
}

QString ImportZusammenfassung::statusText() const {
    return anzahlText(uebernommen, QStringLiteral("Prüfling übernommen"),
                      QStringLiteral("Prüflinge übernommen")) +
           QStringLiteral(", ") +
           anzahlText(uebergangen, QStringLiteral("Zeile übergangen"), QStringLiteral("Zeilen übergangen"));
}

QString ImportZusammenfassung::uebergangeneText() const {
    if (uebergangen == 0)
        return {};
    QStringList zeilen{QStringLiteral("Übergangene Zeilen:")};
    for (const UebergangeneZeile& u : ersteUebergangene) {
        QString grund;
        switch (u.grund) {
        case Uebergangsgrund::KeinName:
            grund = QStringLiteral("kein Name");
            break;
        case Uebergangsgrund::PunkteKeineZahl:
            grund =
                QStringLiteral(
                    "Punkte „%1“ sind keine Zahl im eingestellten Zahlenformat (Dezimaltrennzeichen „%2“)")
                    .arg(u.punkte, QString(zahltext::trennzeichen().dezimal));
            break;
        case Uebergangsgrund::PunkteMinusEins:
            grund = QStringLiteral("Punkte %1 gelten als keine Angabe").arg(zahltext::ganz(-1));
            break;
        }
        zeilen << QStringLiteral("Zeile %1: %2").arg(zahltext::ganz(u.zeile), grund);
    }
    if (uebergangen > ersteUebergangene.size())
        zeilen
            << QStringLiteral("… und %1 weitere").arg(zahltext::ganz(uebergangen - ersteUebergangene.size()));
    return zeilen.join(u'\n');
}

QString ImportZusammenfassung::nichtsBrauchbarText() const {
    QString text = QStringLiteral("Keine Zeile ergab einen Prüfling. Die Liste bleibt, wie sie war.");
    if (uebergangen > 0)
        text += QStringLiteral("\n\n") + uebergangeneText();
    else
        text += QStringLiteral("\n\nNach den Titelzeilen steht keine Zeile mehr.");
    return text;
}
