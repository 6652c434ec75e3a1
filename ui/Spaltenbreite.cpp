// SPDX-License-Identifier: GPL-3.0-or-later
#include "Spaltenbreite.h"

#include "Ansi.h"
#include "Zahltext.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// The text engine sums advances in 1/64 pixel; the estimate works in the same unit.
using Einheiten = qint64;
constexpr Einheiten kProPixel = 64;
// With ligature pairs left out the estimate is the measured width in every font tried; texts this
// close to the top are measured all the same, for fonts whose glyphs change with a wider context.
constexpr Einheiten kSpielraum = 4 * kProPixel;
// Up to this many distinct texts a column is measured whole.
constexpr std::size_t kAlleMessenBis = 2000;
constexpr qint32 kUnbekannt = std::numeric_limits<qint32>::min();
constexpr qint32 kErsetzt = kUnbekannt + 1; // the pair shapes to other glyphs than its characters

// Windows-1252 bytes whose characters are plain spacing glyphs: no controls, no soft hyphen.
// Only texts made of these are estimated; any other text is measured.
bool geschaetzt(unsigned char b) {
    static const std::array<bool, 256> tabelle = [] {
        std::array<bool, 256> t{};
        for (int i = 0x20; i < 0x100; ++i)
            t[static_cast<std::size_t>(i)] =
                i != 0x7F && i != 0xAD && !ansi::unbelegt(static_cast<unsigned char>(i));
        return t;
    }();
    return tabelle[b];
}

// One glyph of a shaped text: the font that drew it and its index there.
struct Glyph {
    QRawFont schrift;
    quint32 index = 0;
    bool operator==(const Glyph& g) const { return index == g.index && schrift == g.schrift; }
};

class Messer {
public:
    explicit Messer(const QFont& font)
        : m_font(font), m_fm(font), m_fmf(font), m_paar(256 * 256, kUnbekannt) {
        m_vorschub.fill(kUnbekannt);
    }

    // The width the grid's font gives the text; each distinct text is measured once.
    int genau(const QString& text) {
        const auto it = m_genau.constFind(text);
        if (it != m_genau.cend())
            return *it;
        const int breite = m_fm.horizontalAdvance(text);
        m_genau.insert(text, breite);
        return breite;
    }

    // The sum of the characters' advances and of each neighbour pair's correction (kerning), or
    // -1 when a byte is not one the estimate covers or a pair is drawn as a ligature: shaped
    // text is the sum of its pairs only where every character keeps its own glyph.
    Einheiten schaetzung(QByteArrayView bytes) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
        Einheiten summe = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (!geschaetzt(b[i]))
                return -1;
            summe += vorschub(b[i]);
            if (i > 0) {
                const qint32 p = paar(b[i - 1], b[i]);
                if (p == kErsetzt)
                    return -1;
                summe += p;
            }
        }
        return summe;
    }

    Einheiten vorschub(unsigned char b) {
        qint32& v = m_vorschub[b];
        if (v == kUnbekannt)
            v = einheiten(QByteArrayView(reinterpret_cast<const char*>(&b), 1));
        return v;
    }

    // What the two take together beyond their own advances, or kErsetzt.
    qint32 paar(unsigned char a, unsigned char b) {
        qint32& p = m_paar[std::size_t(a) * 256 + b];
        if (p == kUnbekannt) {
            const char zwei[2] = {static_cast<char>(a), static_cast<char>(b)};
            const QByteArrayView beide(zwei, 2);
            const std::vector<Glyph> g = glyphen(beide);
            const std::optional<Glyph>& ga = glyph(a);
            const std::optional<Glyph>& gb = glyph(b);
            if (ga && gb && g.size() == 2 && g[0] == *ga && g[1] == *gb)
                p = static_cast<qint32>(einheiten(beide) - vorschub(a) - vorschub(b));
            else
                p = kErsetzt;
        }
        return p;
    }

private:
    qint32 einheiten(QByteArrayView bytes) {
        return static_cast<qint32>(std::llround(m_fmf.horizontalAdvance(ansi::zuText(bytes)) * kProPixel));
    }

    std::vector<Glyph> glyphen(QByteArrayView bytes) const {
        QTextLayout layout(ansi::zuText(bytes), m_font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        std::vector<Glyph> g;
        for (const QGlyphRun& lauf : layout.glyphRuns())
            for (const quint32 index : lauf.glyphIndexes())
                g.push_back({lauf.rawFont(), index});
        return g;
    }

    // The one glyph a character is drawn with alone; none when it takes more or none.
    const std::optional<Glyph>& glyph(unsigned char b) {
        auto& g = m_glyph[b];
        if (!g.first) {
            g.first = true;
            const std::vector<Glyph> alle = glyphen(QByteArrayView(reinterpret_cast<const char*>(&b), 1));
            if (alle.size() == 1)
                g.second = alle.front();
        }
        return g.second;
    }

    QFont m_font;
    QFontMetrics m_fm;
    QFontMetricsF m_fmf;
    std::array<qint32, 256> m_vorschub;
    std::vector<qint32> m_paar;
    std::array<std::pair<bool, std::optional<Glyph>>, 256> m_glyph{};
    QHash<QString, int> m_genau;
};

// The widest of n Windows-1252 texts, at least `breite`. Texts the estimate covers are measured
// only while their estimate could still round above the widest measured so far.
template <class Text> int breitesteNachSchaetzung(Messer& messer, std::size_t n, Text&& text, int breite) {
    std::vector<Einheiten> schaetzung(n);
    Einheiten hoechste = -1;
    for (std::size_t i = 0; i < n; ++i) {
        const QByteArrayView bytes = text(i);
        schaetzung[i] = messer.schaetzung(bytes);
        if (schaetzung[i] < 0)
            breite = std::max(breite, messer.genau(ansi::zuText(bytes)));
        hoechste = std::max(hoechste, schaetzung[i]);
    }
    if (hoechste < 0)
        return breite;
    Einheiten grenze = hoechste - kSpielraum;
    Einheiten gemessenAb = std::numeric_limits<Einheiten>::max(); // all estimates from here on are measured
    for (;;) {
        for (std::size_t i = 0; i < n; ++i)
            if (schaetzung[i] >= grenze && schaetzung[i] < gemessenAb)
                breite = std::max(breite, messer.genau(ansi::zuText(text(i))));
        gemessenAb = grenze;
        // A text rounds above `breite` only from breite + 1/2 pixel on.
        const Einheiten noetig = breite * kProPixel + kProPixel / 2 - kSpielraum;
        if (noetig >= grenze)
            return breite;
        grenze = std::max<Einheiten>(noetig, 0);
        if (gemessenAb == 0)
            return breite;
    }
}

// The widest of distinct texts: all measured when they are few, else by estimate where the
// text is Windows-1252 of covered characters.
int breitesteVon(Messer& messer, const QList<QString>& texte, int breite) {
    if (static_cast<std::size_t>(texte.size()) <= kAlleMessenBis) {
        for (const QString& t : texte)
            breite = std::max(breite, messer.genau(t));
        return breite;
    }
    std::vector<QByteArray> bytes;
    bytes.reserve(static_cast<std::size_t>(texte.size()));
    for (const QString& t : texte) {
        QByteArray b = ansi::ausText(t);
        if (ansi::zuText(b) == t)
            bytes.push_back(std::move(b));
        else
            breite = std::max(breite, messer.genau(t));
    }
    return breitesteNachSchaetzung(
        messer, bytes.size(), [&bytes](std::size_t i) { return QByteArrayView(bytes[i]); }, breite);
}

// "%3d:" for rows 1 to n. Where the font gives the ten digits one advance, one correction next
// to each other, a blank and the colon, and no ligature among them, rows of equal digit count
// are alike and one of each count is measured.
int nummernspalte(Messer& messer, qsizetype n, int breite) {
    if (n <= 0)
        return breite;
    bool gleich = true;
    for (unsigned char z = '0'; z <= '9'; ++z) {
        gleich = gleich && messer.vorschub(z) == messer.vorschub('0');
        for (const unsigned char x : {' ', ':'})
            gleich = gleich && messer.paar(z, x) == messer.paar('0', x) &&
                     messer.paar(x, z) == messer.paar(x, '0');
        for (unsigned char y = '0'; y <= '9'; ++y)
            gleich = gleich && messer.paar(z, y) == messer.paar('0', '0');
    }
    for (const unsigned char x : {' ', ':', '0'})
        for (const unsigned char y : {' ', '0', ':'})
            gleich = gleich && messer.paar(x, y) != kErsetzt;
    if (gleich) {
        for (qint64 zeile = 1; zeile <= n; zeile *= 10)
            breite = std::max(breite, messer.genau(zahltext::ganz(zeile, 3) + u':'));
        return breite;
    }
    QByteArray puffer;
    return breitesteNachSchaetzung(
        messer, static_cast<std::size_t>(n),
        [&puffer](std::size_t i) {
            puffer = ansi::ausText(zahltext::ganz(static_cast<qint64>(i) + 1, 3) + u':');
            return QByteArrayView(puffer);
        },
        breite);
}

// "%.1f" depends only on the value in tenths rounded half away from zero, which a 64-bit
// significand holds exactly; so one value of each tenth is formatted. Other values (not finite,
// or beyond the 64-bit integers) are formatted one distinct value each.
int zahlenspalte(Messer& messer, const Notenliste& liste, double TNotenEintrag::*feld, int breite) {
    std::unordered_map<qint64, double> zehntel;
    QSet<quint64> andere;
    QList<QString> texte;
    constexpr long double kGrenze = 9.0e17L;
    qint64 letzter = std::numeric_limits<qint64>::min();
    for (const TNotenEintrag& e : liste) {
        const double wert = e.*feld;
        const long double mal10 = static_cast<long double>(wert) * 10.0L;
        if (std::isfinite(wert) && std::fabs(mal10) < kGrenze) {
            const qint64 r = std::llroundl(mal10);
            if (r != letzter && zehntel.emplace(r, wert).second)
                texte.append(zahltext::fest(wert, 1));
            letzter = r;
        } else {
            quint64 bits;
            std::memcpy(&bits, &wert, sizeof bits);
            if (!andere.contains(bits)) {
                andere.insert(bits);
                texte.append(zahltext::fest(wert, 1));
            }
        }
    }
    // Values whose tenths differ can still read alike ("0,0" and "-0,0" do not, both are "0,0").
    std::sort(texte.begin(), texte.end());
    texte.erase(std::unique(texte.begin(), texte.end()), texte.end());
    return breitesteVon(messer, texte, breite);
}

int ectsspalte(Messer& messer, const Notenliste& liste, int breite) {
    std::vector<bool> gesehen(0x10000, false);
    QList<QString> texte;
    for (const TNotenEintrag& e : liste) {
        if (e.ects == 0 || gesehen[e.ects])
            continue;
        gesehen[e.ects] = true;
        texte.append(QString(QChar(e.ects)));
    }
    return breitesteVon(messer, texte, breite);
}

} // namespace

namespace spaltenbreite {

std::array<int, raster::kSpalten> fuerRaster(const QFont& font, const Notenliste& liste) {
    Messer messer(font);
    std::array<int, raster::kSpalten> breiten{};
    for (int spalte = 0; spalte < raster::kSpalten; ++spalte)
        breiten[static_cast<std::size_t>(spalte)] = messer.genau(raster::kopf(spalte));
    breiten[0] = nummernspalte(messer, liste.size(), breiten[0]);
    breiten[1] = breitesteNachSchaetzung(
        messer, static_cast<std::size_t>(liste.size()),
        [&liste](std::size_t i) { return liste[static_cast<qsizetype>(i)].nameBytes(); }, breiten[1]);
    breiten[2] = zahlenspalte(messer, liste, &TNotenEintrag::punkte, breiten[2]);
    breiten[3] = zahlenspalte(messer, liste, &TNotenEintrag::note, breiten[3]);
    breiten[4] = ectsspalte(messer, liste, breiten[4]);
    for (int& b : breiten)
        b += kZugabe;
    return breiten;
}

} // namespace spaltenbreite
