#include "Import.h"

#include "Ansi.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Zahltext.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
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

// Calls f(anfang, ende) for every line of p[0..n): CR LF, lone CR and lone LF end a line,
// and a break at the very end opens no further line.
template <class Einheit, class F>
void zeilenGrenzen(const Einheit* p, qsizetype n, F&& f) {
    qsizetype anfang = 0;
    qsizetype i = 0;
    while (i < n) {
        const Einheit c = p[i];
        if (c != Einheit('\r') && c != Einheit('\n')) {
            ++i;
            continue;
        }
        f(anfang, i);
        if (c == Einheit('\r') && i + 1 < n && p[i + 1] == Einheit('\n'))
            ++i;
        anfang = ++i;
    }
    if (anfang < n)
        f(anfang, n);
}

struct Umfang {
    qsizetype zeilen = 0;
    qsizetype felder = 0;  // the most fields any line yields
};

// A text's lines without a string per line. Windows-1252 and UTF-8 stay bytes and are decoded
// one line at a time into a reused buffer; UTF-16 is converted once and viewed in place.
class Zeilentext {
public:
    static Zeilentext ausBytes(QByteArray bytes) {
        Zeilentext t;
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
        const qsizetype n = bytes.size();
        if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
            t.m_utf8 = true;
            t.m_anfang = 3;
        } else if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
            const qsizetype einheiten = (n - 2) / 2;
            QString text(einheiten, Qt::Uninitialized);
            if (b[0] == 0xFF)
                qFromLittleEndian<char16_t>(b + 2, einheiten, text.data());
            else
                qFromBigEndian<char16_t>(b + 2, einheiten, text.data());
            return ausText(std::move(text));
        }
        // A NUL ends the text; in both byte encodings it is a zero byte.
        const void* nul = std::memchr(b + t.m_anfang, 0, static_cast<std::size_t>(n - t.m_anfang));
        t.m_ende = nul ? static_cast<const unsigned char*>(nul) - b : n;
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

    // Number of lines and the most fields of a line. Where the separator is a single byte of
    // the encoding, the bytes are counted without decoding.
    Umfang umfang(QChar trenner) const {
        Umfang u;
        auto zaehle = [&u](qsizetype trennerAnzahl) {
            ++u.zeilen;
            u.felder = std::max(u.felder, trennerAnzahl + 1);
        };
        if (m_istText) {
            const QStringView text(m_text);
            zeilenGrenzen(text.utf16(), text.size(),
                          [&](qsizetype a, qsizetype b) { zaehle(text.sliced(a, b - a).count(trenner)); });
            return u;
        }
        std::optional<char> trennerByte;
        if (m_utf8) {
            if (trenner.unicode() < 0x80)
                trennerByte = static_cast<char>(trenner.unicode());
        } else {
            const auto& t = ansiTabelle();
            const auto it = std::find(t.begin(), t.end(), trenner.unicode());
            // Not in Windows-1252: no line can hold it.
            trennerByte = it != t.end() ? static_cast<char>(it - t.begin()) : char(0);
        }
        const char* p = m_bytes.constData() + m_anfang;
        if (trennerByte) {
            zeilenGrenzen(p, m_ende - m_anfang,
                          [&](qsizetype a, qsizetype b) { zaehle(std::count(p + a, p + b, *trennerByte)); });
        } else {
            std::u16string puffer;
            zeilenGrenzen(p, m_ende - m_anfang, [&](qsizetype a, qsizetype b) {
                zaehle(dekodiere(QByteArrayView(p + a, b - a), puffer).count(trenner));
            });
        }
        return u;
    }

    // f(QStringView) for every line from position `ab` on; the view is valid during the call.
    template <class F>
    void fuerJedeZeile(qsizetype ab, F&& f) const {
        qsizetype nr = 0;
        if (m_istText) {
            const QStringView text(m_text);
            zeilenGrenzen(text.utf16(), text.size(), [&](qsizetype a, qsizetype b) {
                if (nr++ >= ab)
                    f(text.sliced(a, b - a));
            });
            return;
        }
        std::u16string puffer;
        const char* p = m_bytes.constData() + m_anfang;
        zeilenGrenzen(p, m_ende - m_anfang, [&](qsizetype a, qsizetype b) {
            if (nr++ >= ab)
                f(dekodiere(QByteArrayView(p + a, b - a), puffer));
        });
    }

    // The separator's byte where lines can be cut and read as Windows-1252 bytes without
    // decoding: exactly one byte stands for it.
    std::optional<char> einzelbyteTrenner(QChar trenner) const {
        if (m_istText || m_utf8)
            return std::nullopt;
        const auto& t = ansiTabelle();
        if (std::count(t.begin(), t.end(), trenner.unicode()) != 1)
            return std::nullopt;
        return static_cast<char>(std::find(t.begin(), t.end(), trenner.unicode()) - t.begin());
    }

    // The bytes of a byte text, up to the NUL that ends it.
    std::string_view bytes() const {
        return {m_bytes.constData() + m_anfang, static_cast<std::size_t>(m_ende - m_anfang)};
    }

private:
    QStringView dekodiere(QByteArrayView zeile, std::u16string& puffer) const {
        const auto* b = reinterpret_cast<const unsigned char*>(zeile.data());
        const auto n = static_cast<std::size_t>(zeile.size());
        if (!m_utf8) {
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

    bool m_istText = false;
    bool m_utf8 = false;
    QString m_text;
    QByteArray m_bytes;
    qsizetype m_anfang = 0;
    qsizetype m_ende = 0;
};

// The lines the caller already holds.
class Zeilenliste {
public:
    explicit Zeilenliste(const QStringList& zeilen) : m_zeilen(zeilen) {}

    Umfang umfang(QChar trenner) const {
        Umfang u;
        u.zeilen = m_zeilen.size();
        for (const QString& z : m_zeilen)
            u.felder = std::max(u.felder, z.count(trenner) + 1);
        return u;
    }

    template <class F>
    void fuerJedeZeile(qsizetype ab, F&& f) const {
        for (qsizetype i = ab; i < m_zeilen.size(); ++i)
            f(QStringView(m_zeilen[i]));
    }

private:
    const QStringList& m_zeilen;
};

void zerlege(std::vector<QStringView>& felder, QStringView zeile, QChar trenner) {
    felder.clear();
    qsizetype anfang = 0;
    for (qsizetype pos; (pos = zeile.indexOf(trenner, anfang)) >= 0; anfang = pos + 1)
        felder.push_back(zeile.sliced(anfang, pos - anfang));
    felder.push_back(zeile.sliced(anfang));
}

// The name room of a record, filled in Windows-1252 up to 30 bytes. Converting character by
// character and stopping at 30 gives what converting the whole name and cutting it would.
struct Namenraum {
    char bytes[TNotenEintrag::kNamenLaenge];
    qsizetype laenge = 0;

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
        return std::all_of(bytes, bytes + laenge, [](char c) { return static_cast<unsigned char>(c) <= 32; });
    }
};

// One line's bytes into the list, as the decoded line would go.
void zeileAusBytes(Notenliste& ziel, std::string_view zeile, char trenner, const ImportEinstellungen& e,
                   std::vector<std::string_view>& felder) {
    felder.clear();
    for (std::size_t anfang = 0;;) {
        const std::size_t pos = zeile.find(trenner, anfang);
        if (pos == std::string_view::npos) {
            felder.push_back(zeile.substr(anfang));
            break;
        }
        felder.push_back(zeile.substr(anfang, pos - anfang));
        anfang = pos + 1;
    }
    auto feld = [&felder](int spalte) -> const std::string_view* {
        return spalte >= 1 && static_cast<std::size_t>(spalte) <= felder.size() ? &felder[std::size_t(spalte - 1)] : nullptr;
    };

    // Every Windows-1252 byte decodes to a character that converts back to that byte, so the
    // name bytes are the file's bytes.
    char name[TNotenEintrag::kNamenLaenge];
    std::size_t laenge = 0;
    auto haengeAn = [&](std::string_view text) {
        const std::size_t n = std::min(text.size(), sizeof name - laenge);
        std::memcpy(name + laenge, text.data(), n);
        laenge += n;
    };
    const auto* vorname = feld(e.vorname);
    const auto* nachname = feld(e.nachname);
    if (vorname)
        haengeAn(*vorname);
    if (nachname) {
        if (vorname)
            haengeAn(" ");
        haengeAn(*nachname);
    }
    if (std::all_of(name, name + laenge, [](char c) { return static_cast<unsigned char>(c) <= 32; }))
        return;

    TNotenEintrag eintrag = leererEintrag();
    eintrag.setzeName(QByteArrayView(name, static_cast<qsizetype>(laenge)));
    eintrag.ects = u'A';
    if (const auto* punkte = feld(e.punkte))
        eintrag.punkte = zahltext::leseDouble(*punkte).value_or(-1.0);
    if (eintrag.punkte == -1.0)
        return;
    if (const auto* note = feld(e.noten))
        eintrag.note = zahltext::leseDouble(*note).value_or(0.0);
    ziel.push_back(eintrag);
}

// The whole evaluation for Windows-1252 bytes in one pass: the entries go into a list of
// their own while the widest line is found, so a wrong column still changes nothing.
ImportErgebnis auswertenBytes(Auswertung& a, std::string_view text, char trenner, const ImportEinstellungen& e) {
    // The list grows with the entries it takes: room reserved from the file's line count could
    // be far more than memory holds (a file of empty lines), and a failed reservation is no error.
    Notenliste neu;
    const qsizetype ab = std::max(e.titelzeilen, 0);
    qsizetype nr = 0;
    std::size_t felder = 0;
    std::vector<std::string_view> zeilenfelder;
    zeilenGrenzen(text.data(), static_cast<qsizetype>(text.size()), [&](qsizetype von, qsizetype bis) {
        const std::string_view zeile(text.data() + von, static_cast<std::size_t>(bis - von));
        if (nr++ < ab) {
            felder = std::max(felder, static_cast<std::size_t>(std::count(zeile.begin(), zeile.end(), trenner)) + 1);
            return;
        }
        zeileAusBytes(neu, zeile, trenner, e, zeilenfelder);
        felder = std::max(felder, zeilenfelder.size());
    });
    for (const int spalte : {e.vorname, e.nachname, e.punkte, e.noten})
        if (spalte > 0 && static_cast<std::size_t>(spalte) > felder)
            return ImportErgebnis::SpaltenFehler;
    a.FKlassen.clear();
    if (a.FErsetzen)
        a.FEintraege = std::move(neu);
    else
        a.FEintraege.append(neu);
    return ImportErgebnis::Gelesen;
}

template <class Quelle>
ImportErgebnis auswerten(Auswertung& a, const Quelle& quelle, QChar trenner, const ImportEinstellungen& e) {
    if constexpr (std::is_same_v<Quelle, Zeilentext>) {
        // Windows-1252 with a one-byte separator and an ASCII decimal separator: the bytes are
        // read as they stand, which is what decoding and converting back would give.
        const auto trennerByte = quelle.einzelbyteTrenner(trenner);
        if (trennerByte && zahltext::trennzeichen().dezimal.unicode() < 0x80)
            return auswertenBytes(a, quelle.bytes(), *trennerByte, e);
    }
    // The column check comes before anything is emptied, so a wrong setting loses nothing.
    const Umfang umfang = quelle.umfang(trenner);
    for (const int spalte : {e.vorname, e.nachname, e.punkte, e.noten})
        if (spalte > umfang.felder)
            return ImportErgebnis::SpaltenFehler;

    a.FKlassen.clear();
    if (a.FErsetzen)
        a.FEintraege = Notenliste();  // frees the old room, unlike clear()
    const qsizetype ab = std::max(e.titelzeilen, 0);
    // Lines that get dropped leave reserved room untouched, which costs no memory.
    a.FEintraege.reserve(a.FEintraege.size() + static_cast<std::size_t>(std::max<qsizetype>(umfang.zeilen - ab, 0)));

    std::vector<QStringView> felder;
    auto feld = [&felder](int spalte) -> std::optional<QStringView> {
        if (spalte >= 1 && static_cast<std::size_t>(spalte) <= felder.size())
            return felder[static_cast<std::size_t>(spalte - 1)];
        return std::nullopt;
    };
    quelle.fuerJedeZeile(ab, [&](QStringView zeile) {
        zerlege(felder, zeile, trenner);

        Namenraum name;
        const auto vorname = feld(e.vorname);
        const auto nachname = feld(e.nachname);
        if (vorname)
            name.haengeAn(*vorname);
        if (nachname) {
            if (vorname)
                name.haengeAn(u" ");
            name.haengeAn(*nachname);
        }
        if (name.leer())
            return;

        TNotenEintrag eintrag = leererEintrag();
        eintrag.setzeName(QByteArrayView(name.bytes, name.laenge));
        eintrag.ects = u'A';
        if (const auto punkte = feld(e.punkte))
            eintrag.punkte = zahltext::leseDouble(*punkte).value_or(-1.0);
        if (eintrag.punkte == -1.0)
            return;
        if (const auto note = feld(e.noten))
            eintrag.note = zahltext::leseDouble(*note).value_or(0.0);
        a.FEintraege.push_back(eintrag);
    });
    return ImportErgebnis::Gelesen;
}

QStringList alsListe(const Zeilentext& text) {
    QStringList zeilen;
    zeilen.reserve(text.umfang(QChar(u'\n')).zeilen);
    text.fuerJedeZeile(0, [&zeilen](QStringView z) { zeilen.append(z.toString()); });
    return zeilen;
}

} // namespace

void Zerlegen(QStringList& felder, QStringView zeile, QChar trenner) {
    std::vector<QStringView> ansichten;
    zerlege(ansichten, zeile, trenner);
    felder.clear();
    felder.reserve(static_cast<qsizetype>(ansichten.size()));
    for (const QStringView f : ansichten)
        felder.append(f.toString());
}

QChar trennerAus(const QString& trennerText) {
    if (trennerText.isEmpty())
        fehler::wirf(kKeinTrenner);
    if (trennerText.size() > 1 && trennerText[0] == u'#') {
        const QStringView rest = QStringView(trennerText).sliced(1);
        const auto code = zahltext::leseGanz(rest);
        if (!code || *code < std::numeric_limits<qint32>::min() || *code > std::numeric_limits<qint32>::max())
            fehler::wirf(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(rest));
        return QChar(static_cast<char16_t>(static_cast<quint32>(*code) & 0xFFFF));
    }
    return trennerText[0];
}

QStringList zeilenAusBytes(const QByteArray& bytes) { return alsListe(Zeilentext::ausBytes(bytes)); }

QStringList zeilenAusDatei(const QString& pfad) { return alsListe(Zeilentext::ausBytes(fehler::leseDatei(pfad))); }

QStringList zeilenAusText(const QString& text) { return alsListe(Zeilentext::ausText(text)); }

ImportErgebnis ImportAuswerten(Auswertung& a, const QStringList& zeilen, QChar trenner, const ImportEinstellungen& e) {
    const ImportErgebnis r = auswerten(a, Zeilenliste(zeilen), trenner, e);
    if (r == ImportErgebnis::Gelesen)
        a.OriginalMerken();
    return r;
}

ImportErgebnis importiereDatei(Auswertung& a, const QString& pfad, QChar trenner, const ImportEinstellungen& e) {
    ImportErgebnis r;
    {
        // The text goes before the copy into FOriginal, so the two never add up.
        const Zeilentext text = Zeilentext::ausBytes(fehler::leseDatei(pfad));
        r = auswerten(a, text, trenner, e);
    }
    if (r == ImportErgebnis::Gelesen)
        a.OriginalMerken();
    return r;
}
