// SPDX-License-Identifier: GPL-3.0-or-later
// "Spaltenbreite anpassen": the widths found without measuring every cell are those of measuring
// every cell of the grid, in several fonts, on random lists and on awkward texts.
#include "ErgebnisModell.h"
#include "Spaltenbreite.h"
#include "Testdaten.h"
#include "Zahltext.h"

#include <QFont>
#include <QTest>
#include <cmath>
#include <limits>
#include <random>

namespace {
// The computation as the command did it: every cell of every grid row measured.
std::array<int, raster::kSpalten> jedeZelleGemessen(const QFontMetrics& fm, const Notenliste& liste) {
    ErgebnisModell modell;
    modell.anzeigen(liste);
    std::array<int, raster::kSpalten> breiten{};
    for (int spalte = 0; spalte < raster::kSpalten; ++spalte) {
        int breite = 0;
        for (int zeile = 0; zeile <= modell.rowCount(); ++zeile)
            breite = std::max(breite, fm.horizontalAdvance(modell.zellText(spalte, zeile)));
        breiten[static_cast<std::size_t>(spalte)] = breite + 10;
    }
    return breiten;
}

QList<int> alsListe(const std::array<int, raster::kSpalten>& a) {
    return QList<int>(a.begin(), a.end());
}

// Names mostly of letters that kern and join ("ffi", "AV", "To"), now and then any byte; points
// spread wide so that their texts are many, with ties, signed zeros and values not finite.
Notenliste zufallsliste(int n, unsigned saat) {
    std::mt19937 z(saat);
    const QByteArray buchstaben("ffiilLTAVWoay.,-' \xE4\xF6\xFC\xDF\xC4\x80\x9C\x8A");
    Notenliste l;
    for (int i = 0; i < n; ++i) {
        QByteArray name;
        const int laenge = int(z() % 31);
        for (int k = 0; k < laenge; ++k)
            name += z() % 40 == 0 ? char(z() % 256) : buchstaben[int(z() % buchstaben.size())];
        double punkte;
        switch (z() % 8) {
        case 0:
            punkte = int(z() % 2001) / 20.0 - 50; // ties of the second decimal
            break;
        case 1: {
            const double besondere[] = {-0.0,
                                        -0.04,
                                        0.05,
                                        1e17,
                                        -1e300,
                                        std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN(),
                                        9.95,
                                        99.95};
            punkte = besondere[z() % std::size(besondere)];
            break;
        }
        default:
            punkte = std::uniform_real_distribution<double>(-3000, 3000)(z);
        }
        const char16_t buchstabe = z() % 10 == 0 ? char16_t(z() % 0x10000) : char16_t(u'A' + z() % 6);
        l.push_back(testeintrag(name, punkte, 1.0 + int(z() % 16) / 3.0, z() % 7 == 0 ? 0 : buchstabe));
    }
    return l;
}
} // namespace

class TestSpaltenbreite : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    void wieJedeZelleGemessen_data() {
        QTest::addColumn<QString>("schrift");
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("eintraege");
        QTest::addColumn<unsigned>("saat");
        QTest::newRow("empty list") << "DejaVu Sans" << 13 << 0 << 1u;
        QTest::newRow("one entry") << "DejaVu Sans" << 13 << 1 << 2u;
        QTest::newRow("DejaVu Sans") << "DejaVu Sans" << 13 << 6000 << 3u;
        QTest::newRow("DejaVu Serif, large") << "DejaVu Serif" << 21 << 6000 << 4u;
        QTest::newRow("Z003, joined script") << "Z003" << 17 << 6000 << 5u;
        QTest::newRow("URW Gothic") << "URW Gothic" << 11 << 6000 << 6u;
        QTest::newRow("Nimbus Roman") << "Nimbus Roman" << 15 << 12000 << 7u;
        // This one draws "ff" as one glyph of one cell, so runs of f are far narrower than their pairs.
        QTest::newRow("Nimbus Mono PS, ligatures") << "Nimbus Mono PS [UKWN]" << 13 << 6000 << 8u;
    }
    void wieJedeZelleGemessen() {
        QFETCH(QString, schrift);
        QFETCH(int, pixel);
        QFETCH(int, eintraege);
        QFETCH(unsigned, saat);
        QFont font(schrift);
        font.setPixelSize(pixel);
        const Notenliste liste = zufallsliste(eintraege, saat);
        QCOMPARE(alsListe(spaltenbreite::fuerRaster(font, liste)),
                 alsListe(jedeZelleGemessen(QFontMetrics(font), liste)));
    }

    // One name that decides among thousands that are alike.
    void einzelneBreitesteZaehlt_data() {
        QTest::addColumn<QString>("schrift");
        QTest::addColumn<QByteArray>("breit");
        QTest::addColumn<QByteArray>("andere");
        QTest::newRow("wide letters")
            << "DejaVu Sans" << QByteArray("WWWWWWWWWWWWWWWWWWWW") << QByteArray("AAAAAAAAAAAAAAAAAAAA");
        QTest::newRow("kerning pair decides")
            << "DejaVu Sans" << QByteArray("AVAVAVAVAVAVAVAVAVAV") << QByteArray("AAAAAAAAAAAAAAAAAAAA");
        QTest::newRow("tab inside") << "DejaVu Sans" << QByteArray("Anna\tMeier") << QByteArray("Anna Meier");
        QTest::newRow("soft hyphen") << "DejaVu Sans" << QByteArray("Meier\xADMeier\xADMeier")
                                     << QByteArray("MeierMeierMeie");
        // Pairs of f are one glyph each; an odd run ends in a whole f and is wider than its pairs say.
        QTest::newRow("ligature run")
            << "Nimbus Mono PS [UKWN]" << QByteArray("fffffffffffffffffffffffffffff")
            << QByteArray("ffffffffffffffffffffffffffffff");
        QTest::newRow("ligature run against letters")
            << "Nimbus Mono PS [UKWN]" << QByteArray("fffffffffffffffffff") << QByteArray("abcdefghi");
    }
    void einzelneBreitesteZaehlt() {
        QFETCH(QString, schrift);
        QFETCH(QByteArray, breit);
        QFETCH(QByteArray, andere);
        Notenliste liste;
        for (int i = 0; i < 3000; ++i)
            liste.push_back(testeintrag(andere, i, 2));
        liste.insert(1234, testeintrag(breit, 1, 1));
        QFont font(schrift);
        font.setPixelSize(13);
        QCOMPARE(alsListe(spaltenbreite::fuerRaster(font, liste)),
                 alsListe(jedeZelleGemessen(QFontMetrics(font), liste)));
    }
};

QTEST_MAIN(TestSpaltenbreite)
#include "tst_spaltenbreite.moc"
