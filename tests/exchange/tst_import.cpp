// SPDX-License-Identifier: GPL-3.0-or-later
// Delimited text import: fields, the separator setting, lines from bytes and files, and the
// evaluation into the result list.
#include "Ansi.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Import.h"
#include "Testdaten.h"
#include "Textzeilen.h"
#include "Zahltext.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <bit>
#include <random>

Q_DECLARE_METATYPE(ImportEinstellungen)
Q_DECLARE_METATYPE(ImportErgebnis)

namespace {
QString testdatei(const QString& name) {
    return QStringLiteral(SKALORA_TESTDATEN "/") + name;
}

// "name|points|grade" per entry, numbers in the file form; every entry must carry "A".
QStringList eintraege(const Notenliste& l) {
    QStringList r;
    for (const auto& e : l) {
        r << e.nameText() + u'|' + zahltext::kurz(e.punkte) + u'|' + zahltext::kurz(e.note);
        if (e.ects != u'A')
            r.last() += QStringLiteral("|kein A");
    }
    return r;
}

ImportEinstellungen einstellungen(int vorname, int nachname, int punkte, int noten, int titel) {
    ImportEinstellungen e;
    e.vorname = vorname;
    e.nachname = nachname;
    e.punkte = punkte;
    e.noten = noten;
    e.titelzeilen = titel;
    return e;
}

QString fehlertext(const std::function<void()>& f) {
    try {
        f();
    } catch (const Fehler& e) {
        return e.text();
    }
    return {};
}

// The same bytes through the file (in normal and in tiny blocks, and in Windows-1252 without a
// byte-order mark, which is read as bytes without decoding), the clipboard text and the list of
// lines.
const QStringList kWege{"file", "file, small blocks", "file, Windows-1252", "text", "lines"};
ImportZusammenfassung importiere(const QString& weg, Auswertung& a, const QByteArray& utf8, QChar trenner,
                                 const ImportEinstellungen& e) {
    if (weg == "text")
        return importiereText(a, QString::fromUtf8(utf8), trenner, e);
    if (weg == "lines")
        return ImportAuswerten(a, zeilenAusBytes(utf8), trenner, e);
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("kurs.csv"));
    schreibeTestdatei(pfad, weg == "file, Windows-1252" ? ansi::ausText(QString::fromUtf8(utf8))
                                                        : "\xEF\xBB\xBF" + utf8);
    setzeTestblockgroesse(weg == "file" ? 0 : 3);
    const ImportZusammenfassung z = importiereDatei(a, pfad, trenner, e);
    setzeTestblockgroesse(0);
    return z;
}
} // namespace

class TestImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }
    // A failed check inside a loop must not leave small blocks to the next test.
    void cleanup() { setzeTestblockgroesse(0); }

    void zerlegen_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QChar>("trenner");
        QTest::addColumn<QStringList>("felder");
        QTest::newRow("two fields") << "a;b" << QChar(u';') << QStringList{"a", "b"};
        QTest::newRow("separator at the end") << "a;b;" << QChar(u';') << QStringList{"a", "b", ""};
        QTest::newRow("empty line") << "" << QChar(u';') << QStringList{""};
        QTest::newRow("two separators") << ";;" << QChar(u';') << QStringList{"", "", ""};
        QTest::newRow("quoted separator")
            << "\"Meier; Anna\";3" << QChar(u';') << QStringList{"Meier; Anna", "3"};
        QTest::newRow("doubled quotes")
            << "\"Jo \"\"Bo\"\"\";\"\"" << QChar(u';') << QStringList{"Jo \"Bo\"", ""};
        QTest::newRow("text after the closing quote kept")
            << "\"Meier\" jr.;3" << QChar(u';') << QStringList{"Meier jr.", "3"};
        QTest::newRow("quote inside a field is a character")
            << "Jo \"Bo\";3" << QChar(u';') << QStringList{"Jo \"Bo\"", "3"};
        QTest::newRow("unclosed quote is a character")
            << "a;\"b;c" << QChar(u';') << QStringList{"a", "\"b", "c"};
        QTest::newRow("Gnumeric with commas") << "\"Jürgen Groß\",\"4,5\",8,\"12,5\"" << QChar(u',')
                                              << QStringList{"Jürgen Groß", "4,5", "8", "12,5"};
        QTest::newRow("spreadsheet cells keep quotes")
            << "\"a\uFFFFb\"" << QChar(u'\xFFFF') << QStringList{"\"a", "b\""};
        QTest::newRow("blanks kept") << " a \t b " << QChar(u'\t') << QStringList{" a ", " b "};
    }
    void zerlegen() {
        QFETCH(QString, zeile);
        QFETCH(QChar, trenner);
        QFETCH(QStringList, felder);
        QStringList ergebnis{"alt"};
        Zerlegen(ergebnis, zeile, trenner);
        QCOMPARE(ergebnis, felder);
    }

    void trenner_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("zeichen");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("semicolon") << ";"
                                   << ";"
                                   << "";
        QTest::newRow("#9 is TAB") << "#9"
                                   << "\t"
                                   << "";
        QTest::newRow("#59") << "#59"
                             << ";"
                             << "";
        QTest::newRow("low 16 bits") << "#65595"
                                     << ";"
                                     << "";
        // The code is a 32-bit integer; its low 16 bits are the character.
        QTest::newRow("largest 32-bit") << "#2147483647" << QString(QChar(0xFFFF)) << "";
        QTest::newRow("smallest 32-bit") << "#-2147483648" << QString(QChar(0)) << "";
        QTest::newRow("above 32 bits") << "#2147483648"
                                       << ""
                                       << "'2147483648' ist kein gültiger Integerwert";
        QTest::newRow("below 32 bits") << "#-2147483649"
                                       << ""
                                       << "'-2147483649' ist kein gültiger Integerwert";
        QTest::newRow("lone #") << "#"
                                << "#"
                                << "";
        QTest::newRow("first character wins") << ";;"
                                              << ";"
                                              << "";
        QTest::newRow("# form no integer") << "#x"
                                           << ""
                                           << "'x' ist kein gültiger Integerwert";
        QTest::newRow("# form with rest") << "#9;"
                                          << ""
                                          << "'9;' ist kein gültiger Integerwert";
        QTest::newRow("empty")
            << ""
            << ""
            << "Kein Trennzeichen eingestellt. Bitte tragen Sie in den CSV Importeinstellungen ein "
               "Trennzeichen ein (z. B. ; oder #9 für den Tabulator).";
    }
    void trenner() {
        QFETCH(QString, text);
        QFETCH(QString, zeichen);
        QFETCH(QString, fehler);
        QChar t;
        QCOMPARE(fehlertext([&] { t = trennerAus(text); }), fehler);
        if (fehler.isEmpty())
            QCOMPARE(QString(t), zeichen);
    }

    // Files as real programs write them. Both import paths must agree on each.
    void zeilenAusDateien_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QChar>("trenner");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("UTF-8 with BOM")
            << "import_utf8_bom.csv" << QChar(u';')
            << QStringList{"Vorname;Nachname;Punkte", "Jürgen;Groß;17,5", "Łukasz;Øst;12"};
        QTest::newRow("UTF-16 LE with BOM")
            << "import_utf16le_bom.txt" << QChar(u'\t')
            << QStringList{"Vorname\tNachname\tPunkte", "Jürgen\tGroß\t17,5", "Łukasz\tØst\t12"};
        QTest::newRow("Windows-1252")
            << "import_cp1252.csv" << QChar(u';') << QStringList{"Müller;3,5", "€uro;Straße"};
        QTest::newRow("CR only") << "import_nur_cr.csv" << QChar(u';') << QStringList{"a;1", "b;2"};
        QTest::newRow("LF only") << "import_nur_lf.csv" << QChar(u';') << QStringList{"a;1", "b;2"};
        QTest::newRow("last line without end")
            << "import_ohne_ende.csv" << QChar(u';') << QStringList{"a;1", "b;2"};
        QTest::newRow("NUL ends the text") << "import_nul.csv" << QChar(u';') << QStringList{"a;1", "b;2"};
    }
    void zeilenAusDateien() {
        QFETCH(QString, datei);
        QFETCH(QChar, trenner);
        QFETCH(QStringList, zeilen);
        const QStringList gelesen = zeilenAusDatei(testdatei(datei));
        QCOMPARE(gelesen, zeilen);

        const ImportEinstellungen e = einstellungen(1, 2, 0, 0, 0);
        Auswertung ueberListe, direkt;
        ueberListe.FErsetzen = direkt.FErsetzen = true;
        QCOMPARE(ImportAuswerten(ueberListe, gelesen, trenner, e).ergebnis, ImportErgebnis::Gelesen);
        QCOMPARE(importiereDatei(direkt, testdatei(datei), trenner, e).ergebnis, ImportErgebnis::Gelesen);
        QCOMPARE(eintraege(direkt.FEintraege), eintraege(ueberListe.FEintraege));
        QCOMPARE(eintraege(direkt.FOriginal), eintraege(direkt.FEintraege));
    }

    void zeilenAusBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("nothing") << QByteArray() << QStringList{};
        QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << QStringList{};
        QTest::newRow("one line break") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("CR before CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\x00\xC4\x00;\x00\x31\x00\r\x00\n\x20\xAC", 14)
                                   << QStringList{"Ä;1", "€"};
        QTest::newRow("UTF-16 LE NUL") << QByteArray("\xFF\xFE"
                                                     "a\0\0\0b\0",
                                                     8)
                                       << QStringList{"a"};
    }
    void zeilenAusBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, zeilen);
        QCOMPARE(::zeilenAusBytes(bytes), zeilen);
    }

    void zeilenAusZwischenablage() {
        QCOMPARE(zeilenAusText(QStringLiteral("a\tb\r\nc\n")), QStringList({"a\tb", "c"}));
        QCOMPARE(zeilenAusText(QString::fromUtf16(u"a\rb\0c", 5)), QStringList({"a", "b"}));
    }

    void auswerten_data() {
        QTest::addColumn<ImportEinstellungen>("e");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QStringList>("erwartet");
        const QStringList beispiel{"Vorname;Nachname;Punkte", "Anna;Meier;17,5", "Bert;Roth;x", ";;12"};
        QTest::newRow("worked example")
            << einstellungen(1, 2, 3, 0, 1) << beispiel << QStringList{"Anna Meier|17,5|0"};
        QTest::newRow("last name alone, no blank")
            << einstellungen(0, 2, 3, 0, 1) << beispiel << QStringList{"Meier|17,5|0"};
        QTest::newRow("first name missing on a line")
            << einstellungen(3, 2, 0, 0, 0) << QStringList{"a;Meier;Anna", "b;Roth"}
            << QStringList{"Anna Meier|0|0", "Roth|0|0"};
        // An empty points cell is no points, whether it stands empty or is left out of the line.
        QTest::newRow("points missing on a line")
            << einstellungen(1, 0, 3, 0, 0) << QStringList{"Anna;x;17,5", "Bert", "Carl;x;", "Dora;x; "}
            << QStringList{"Anna|17,5|0"};
        QTest::newRow("line breaks and tabs in names become one blank")
            << einstellungen(1, 2, 0, 0, 0)
            << QStringList{"\"Müller\r\n(Wiederholer)\";x", "\"a\t\tb\";\"\nc\n\"", "\"Zoë", "\";Ende"}
            << QStringList{"Müller (Wiederholer) x|0|0", "a b  c |0|0", "Zoë  Ende|0|0"};
        QTest::newRow("grades read, no number is 0")
            << einstellungen(1, 0, 2, 3, 0) << QStringList{"Anna;17,5;2,3", "Bert;10;gut", "Carl;1E1;-1"}
            << QStringList{"Anna|17,5|2,3", "Bert|10|0", "Carl|10|-1"};
        QTest::newRow("points of exactly -1 dropped")
            << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;-1", "Bert; -1,5 "}
            << QStringList{"Bert|-1,5|0"};
        QTest::newRow("blank and control names dropped")
            << einstellungen(1, 0, 0, 0, 0) << QStringList{" \t ", "  Zoë "} << QStringList{"  Zoë |0|0"};
        QTest::newRow("negative title count is 0")
            << einstellungen(1, 0, 0, 0, -3) << QStringList{"Anna", "Bert"}
            << QStringList{"Anna|0|0", "Bert|0|0"};
        QTest::newRow("names cut to 30 in Windows-1252")
            << einstellungen(1, 2, 0, 0, 0)
            << QStringList{"Maximiliane-Friederike;von Hohenzollern", "Łukasz 😀;Groß"}
            << QStringList{"Maximiliane-Friederike von Hoh|0|0", "?ukasz ? Groß|0|0"};
    }
    void auswerten() {
        QFETCH(ImportEinstellungen, e);
        QFETCH(QStringList, zeilen);
        QFETCH(QStringList, erwartet);
        Auswertung a;
        a.FErsetzen = true;
        a.FEintraege = {testeintrag("Alt", 1)};
        a.FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        QCOMPARE(ImportAuswerten(a, zeilen, u';', e).ergebnis, ImportErgebnis::Gelesen);
        QCOMPARE(eintraege(a.FEintraege), erwartet);
        QCOMPARE(eintraege(a.FOriginal), erwartet);
        QVERIFY(a.FKlassen.empty());
    }

    // A wrong column, or no line that makes an entry (a file of only unusable lines), leaves the
    // list, its copy and the classes alone, in either mode.
    void nichtsGelesen_data() {
        QTest::addColumn<ImportEinstellungen>("e");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<ImportErgebnis>("ergebnis");
        QTest::addColumn<bool>("ersetzen");
        const QStringList beispiel{"Vorname;Nachname;Punkte", "Anna;Meier;17,5", "Bert;Roth;x", ";;12"};
        for (const bool ersetzen : {true, false}) {
            const char* modus = ersetzen ? "replace" : "append";
            QTest::addRow("%s: column 4, at most 3 fields", modus)
                << einstellungen(1, 0, 4, 0, 1) << QStringList{"a;b;c", "a;b"}
                << ImportErgebnis::SpaltenFehler << ersetzen;
            QTest::addRow("%s: empty clipboard, column chosen", modus)
                << einstellungen(1, 0, 0, 0, 0) << QStringList{} << ImportErgebnis::SpaltenFehler << ersetzen;
            QTest::addRow("%s: column 6 reached by no line", modus)
                << einstellungen(1, 0, 6, 0, 0) << QStringList{"a;1;;;", ";;;;"}
                << ImportErgebnis::SpaltenFehler << ersetzen;
            QTest::addRow("%s: default settings", modus)
                << ImportEinstellungen{} << beispiel << ImportErgebnis::NichtsBrauchbar << ersetzen;
            QTest::addRow("%s: empty clipboard, no column", modus)
                << ImportEinstellungen{} << QStringList{} << ImportErgebnis::NichtsBrauchbar << ersetzen;
            QTest::addRow("%s: decimal point under a German locale", modus)
                << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;12.5", "Bert;1.000"}
                << ImportErgebnis::NichtsBrauchbar << ersetzen;
            QTest::addRow("%s: title lines beyond the file", modus)
                << einstellungen(1, 0, 0, 0, 5) << QStringList{"Anna", "Bert"}
                << ImportErgebnis::NichtsBrauchbar << ersetzen;
            QTest::addRow("%s: only unusable lines", modus)
                << einstellungen(1, 2, 3, 0, 1)
                << QStringList{"Vorname;Nachname;Punkte", "Bert;Roth;x", ";;12", "Carl;Kurz;-1", ""}
                << ImportErgebnis::NichtsBrauchbar << ersetzen;
        }
    }
    void nichtsGelesen() {
        QFETCH(ImportEinstellungen, e);
        QFETCH(QStringList, zeilen);
        QFETCH(ImportErgebnis, ergebnis);
        QFETCH(bool, ersetzen);
        Auswertung a;
        a.FErsetzen = ersetzen;
        a.FEintraege = {testeintrag("Anna", 17.5)};
        a.FOriginal = {testeintrag("Bert", 3), testeintrag("Anna", 17.5)};
        a.FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        const ImportZusammenfassung z = ImportAuswerten(a, zeilen, u';', e);
        QCOMPARE(z.ergebnis, ergebnis);
        QCOMPARE(z.uebernommen, qsizetype(0));
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Anna|17,5|0|kein A"}));
        QCOMPARE(eintraege(a.FOriginal), QStringList({"Bert|3|0|kein A", "Anna|17,5|0|kein A"}));
        QCOMPARE(a.FKlassen.size(), std::size_t(1));
    }

    void anfuegenBehaeltFruehere() {
        Auswertung a;
        a.FEintraege = {testeintrag("Alt", 5)};
        a.FOriginal = {testeintrag("Verworfen", 1)};
        a.FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        QCOMPARE(ImportAuswerten(a, {"Neu;7"}, u';', einstellungen(1, 0, 2, 0, 0)).ergebnis,
                 ImportErgebnis::Gelesen);
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Alt|5|0|kein A", "Neu|7|0"}));
        QCOMPARE(eintraege(a.FOriginal), eintraege(a.FEintraege));
        QVERIFY(a.FKlassen.empty());
    }

    // Appending to an empty list gives the new entries alone, and the original order follows.
    void anfuegenAnLeereListe() {
        Auswertung a;
        a.FErsetzen = false;
        a.FOriginal = {testeintrag("Verworfen", 1)};
        a.FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        QCOMPARE(ImportAuswerten(a, {"Neu;7", "Zwei;8,5"}, u';', einstellungen(1, 0, 2, 0, 0)).ergebnis,
                 ImportErgebnis::Gelesen);
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Neu|7|0", "Zwei|8,5|0"}));
        QCOMPARE(eintraege(a.FOriginal), eintraege(a.FEintraege));
        QVERIFY(a.FKlassen.empty());
    }

    // The sample for users imports with the settings its note names.
    void beispieldatei() {
        Auswertung a;
        a.FErsetzen = true;
        const QString pfad = QStringLiteral(SKALORA_TESTDATEN "/../../examples/klausur.csv");
        QCOMPARE(
            importiereDatei(a, pfad, trennerAus(QStringLiteral(";")), einstellungen(1, 2, 3, 0, 1)).ergebnis,
            ImportErgebnis::Gelesen);
        const QStringList l = eintraege(a.FEintraege);
        QCOMPARE(l.size(), 12);
        QCOMPARE(l.first(), QStringLiteral("Anna Müller|52,5|0"));
        QCOMPARE(l.last(), QStringLiteral("Tobias Fuchs|23|0"));
    }

    // A file read straight from its bytes, in blocks, gives what its decoded lines give: random
    // lines of separators, digits, signs, both decimal marks, blanks, line breaks, a tab, NUL and
    // bytes above 127 (0x81 and 0x9D have no character), or of UTF-8 characters of every length
    // (now and then with a mark, or one stray byte that makes the file Windows-1252). Small
    // blocks cut CR LF, UTF-8 sequences and fields apart.
    void bytesWieZeilen_data() {
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<bool>("kleineBloecke");
        QTest::newRow("Windows-1252") << false << false;
        QTest::newRow("Windows-1252, small blocks") << false << true;
        QTest::newRow("UTF-8") << true << false;
        QTest::newRow("UTF-8, small blocks") << true << true;
    }
    void bytesWieZeilen() {
        QFETCH(bool, utf8);
        QFETCH(bool, kleineBloecke);
        static const char alphabet[] = "0123456789;;;,,.+- eE\r\n\tAz\x80\x81\x8A\x9D\xA0\xC4\xDF\xFC\xFF";
        static const char* const utf8Teile[] = {"0",
                                                "5",
                                                "9",
                                                ";",
                                                ";",
                                                ",",
                                                ".",
                                                "-",
                                                " ",
                                                "e",
                                                "\r",
                                                "\n",
                                                "\r\n",
                                                "A",
                                                "\xC3\xA4",
                                                "\xC3\x9F",
                                                "\xE2\x82\xAC",
                                                "\xF0\x9D\x84\x9E"};
        std::mt19937_64 z(utf8 ? 65001 : 1252);
        std::uniform_int_distribution<int> laenge(0, 400), wahl(0, int(sizeof alphabet) - 2), spalte(0, 4),
            titel(-1, 2);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("zufall.csv"));
        for (int runde = 0; runde < 3000; ++runde) {
            QByteArray bytes;
            if (utf8 && z() % 8 == 0)
                bytes += "\xEF\xBB\xBF";
            for (int i = laenge(z); i > 0; --i) {
                if (utf8)
                    bytes += utf8Teile[z() % std::size(utf8Teile)];
                else
                    bytes += z() % 200 == 0 ? '\0' : alphabet[wahl(z)];
            }
            // Most lines in the form a real file has, so that entries come through.
            for (int i = int(z() % 8); i > 0; --i)
                bytes += QByteArray(utf8 ? "J\xC3\xBCrgen;Gro\xC3\x9F;" : "J\xFCrgen;Gro\xDF;") +
                         QByteArray::number(int(z() % 60)) + (z() % 2 ? ",5" : "") + ";2,3\r\n";
            if (utf8 && z() % 16 == 0)
                bytes.insert(qsizetype(z() % std::uint64_t(bytes.size() + 1)), '\xFC');
            {
                QFile f(pfad);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(bytes);
            }
            setzeTestblockgroesse(kleineBloecke ? qsizetype(1 + z() % 17) : 0);
            const ImportEinstellungen e = einstellungen(spalte(z), spalte(z), spalte(z), spalte(z), titel(z));
            // Every other round appends to an entry already there.
            Auswertung ausBytes, ausZeilen;
            ausBytes.FErsetzen = ausZeilen.FErsetzen = runde % 2 == 0;
            ausBytes.FEintraege = ausZeilen.FEintraege = {testeintrag("Alt", 5)};
            const ImportZusammenfassung r = importiereDatei(ausBytes, pfad, u';', e);
            const ImportZusammenfassung s = ImportAuswerten(ausZeilen, ::zeilenAusBytes(bytes), u';', e);
            QCOMPARE(r.ergebnis, s.ergebnis);
            QCOMPARE(r.statusText(), s.statusText());
            QCOMPARE(r.uebergangeneText(), s.uebergangeneText());
            QCOMPARE(ausBytes.FEintraege.size(), ausZeilen.FEintraege.size());
            for (qsizetype i = 0; i < ausBytes.FEintraege.size(); ++i) {
                const TNotenEintrag &x = ausBytes.FEintraege[i], &y = ausZeilen.FEintraege[i];
                QCOMPARE(x.nameBytes(), y.nameBytes());
                QCOMPARE(std::bit_cast<quint64>(x.punkte), std::bit_cast<quint64>(y.punkte));
                QCOMPARE(std::bit_cast<quint64>(x.note), std::bit_cast<quint64>(y.note));
                QCOMPARE(x.ects, y.ects);
            }
            if (r.ergebnis == ImportErgebnis::Gelesen)
                QCOMPARE(ausBytes.FOriginal.size(), ausBytes.FEintraege.size());
            else
                QVERIFY(ausBytes.FEintraege.size() == 1 && ausBytes.FOriginal.isEmpty());
        }
    }

    // What the status bar and its tooltip say, the same from a file's bytes and from lines.
    void zusammenfassung_data() {
        QTest::addColumn<ImportEinstellungen>("e");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("uebergangen");
        QTest::newRow("worked example")
            << einstellungen(1, 2, 3, 0, 1)
            << QStringList{"Vorname;Nachname;Punkte", "Anna;Meier;17,5", "Bert;Roth;x", ";;12"}
            << "1 Prüfling übernommen, 2 Zeilen übergangen, 1 Titelzeile übersprungen"
            << "Titelzeile: „Vorname;Nachname;Punkte“\n"
               "Übergangene Zeilen:\n"
               "Zeile 3: Punkte „x“ sind keine Zahl im eingestellten Zahlenformat (Dezimaltrennzeichen „,“)\n"
               "Zeile 4: kein Name";
        QTest::newRow("two title lines, the first shown cut short")
            << einstellungen(1, 0, 2, 0, 2) << QStringList{QString(70, u'T'), "Name;Punkte", "Anna;1"}
            << "1 Prüfling übernommen, 0 Zeilen übergangen, 2 Titelzeilen übersprungen"
            << "Erste Titelzeile: „" + QString(60, u'T') + "…“";
        QTest::newRow("empty points field") << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;", "Bert;3"}
                                            << "1 Prüfling übernommen, 1 Zeile übergangen"
                                            << "Übergangene Zeilen:\nZeile 1: keine Punkte";
        QTest::newRow("unclosed quotation mark")
            << einstellungen(1, 0, 2, 0, 0) << QStringList{"\"Anna;1", "Bert;2"}
            << "2 Prüflinge übernommen, 0 Zeilen übergangen"
            << "Zeile 1: Ein Anführungszeichen wird nicht geschlossen; die Zeile ist so gelesen, wie sie "
               "steht.";
        QTest::newRow("English file, German locale")
            << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;17.5", "Bert;12", "Carl;-1", "Dora;-1,0"}
            << "1 Prüfling übernommen, 3 Zeilen übergangen"
            << "Übergangene Zeilen:\n"
               "Zeile 1: Punkte „17.5“ sind keine Zahl im eingestellten Zahlenformat (Dezimaltrennzeichen "
               "„,“)\n"
               "Zeile 3: Punkte -1 gelten als keine Angabe\n"
               "Zeile 4: Punkte -1 gelten als keine Angabe";
        QTest::newRow("nothing skipped") << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;1", "Bert;2"}
                                         << "2 Prüflinge übernommen, 0 Zeilen übergangen"
                                         << "";
        QTest::newRow("a long field is cut")
            << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;" + QString(5000, u'x'), "Bert;2"}
            << "1 Prüfling übernommen, 1 Zeile übergangen"
            << "Übergangene Zeilen:\nZeile 1: Punkte „xxxxxxxxxxxxxxxxxxxx…“ sind keine Zahl im "
               "eingestellten Zahlenformat "
               "(Dezimaltrennzeichen „,“)";
        QTest::newRow("a line break in the points field is a blank, one skipped line a detail line")
            << einstellungen(1, 0, 2, 0, 0) << QStringList{"Anna;\"1", "2\"", "Bert;2"}
            << "1 Prüfling übernommen, 1 Zeile übergangen"
            << "Übergangene Zeilen:\nZeile 1: Punkte „1 2“ sind keine Zahl im eingestellten Zahlenformat "
               "(Dezimaltrennzeichen „,“)";
        // Only the first ten are named; title lines count for the numbers, not as skipped.
        QStringList viele{"Titel"};
        for (int i = 0; i < 12; ++i)
            viele << "";
        viele << "Anna";
        QString zehn = "Übergangene Zeilen:";
        for (int i = 2; i <= 11; ++i)
            zehn += "\nZeile " + QString::number(i) + ": kein Name";
        QTest::newRow("first ten of twelve")
            << einstellungen(1, 0, 0, 0, 1) << viele
            << "1 Prüfling übernommen, 12 Zeilen übergangen, 1 Titelzeile übersprungen"
            << "Titelzeile: „Titel“\n" + zehn + "\n… und 2 weitere";
    }
    void zusammenfassung() {
        QFETCH(ImportEinstellungen, e);
        QFETCH(QStringList, zeilen);
        QFETCH(QString, status);
        QFETCH(QString, uebergangen);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("kurs.csv"));
        schreibeTestdatei(pfad, zeilen.join(QStringLiteral("\r\n")).toLatin1());
        for (const bool ausDatei : {true, false}) {
            Auswertung a;
            a.FErsetzen = true;
            const ImportZusammenfassung z =
                ausDatei ? importiereDatei(a, pfad, u';', e) : ImportAuswerten(a, zeilen, u';', e);
            QCOMPARE(z.ergebnis, ImportErgebnis::Gelesen);
            QCOMPARE(z.statusText(), status);
            QCOMPARE(z.uebergangeneText(), uebergangen);
            QCOMPARE(z.uebernommen, a.FEintraege.size());
        }
    }

    // A field is cut short for the summary between characters, never inside one.
    void kuerzungZwischenZeichen() {
        Auswertung a;
        a.FErsetzen = true;
        const QString titel = QString(59, u'T') + QStringLiteral("\U0001F600") + QString(10, u'T');
        const ImportZusammenfassung z =
            importiereText(a, titel + QStringLiteral("\nName\nAnna\n"), u';', einstellungen(1, 0, 0, 0, 2));
        QCOMPARE(z.uebergangeneText(), "Erste Titelzeile: „" + QString(59, u'T') + "…“");
    }

    void nichtsBrauchbarMeldung() {
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(ImportAuswerten(a, {"Titel"}, u';', einstellungen(1, 0, 0, 0, 1)).nichtsBrauchbarText(),
                 QStringLiteral("Keine Zeile ergab einen Prüfling. Die Liste bleibt, wie sie war.\n\n"
                                "Nach den Titelzeilen steht keine Zeile mehr.\nTitelzeile: „Titel“"));
        QCOMPARE(
            ImportAuswerten(a, {"Titel", ";3"}, u';', einstellungen(1, 0, 2, 0, 1)).nichtsBrauchbarText(),
            QStringLiteral("Keine Zeile ergab einen Prüfling. Die Liste bleibt, wie sie war.\n\n"
                           "Titelzeile: „Titel“\nÜbergangene Zeilen:\nZeile 2: kein Name"));
    }

    // One usable line and a million empty ones: the list takes room for what it holds, never
    // for the lines, on every path.
    void vieleLeereZeilen_data() {
        QTest::addColumn<QString>("weg");
        QTest::newRow("Windows-1252 file") << "cp1252";
        QTest::newRow("UTF-8 file") << "utf8";
        QTest::newRow("clipboard text") << "text";
    }
    void vieleLeereZeilen() {
        QFETCH(QString, weg);
        constexpr int kLeer = 1'000'000;
        const QByteArray text = "Anna;1\r\n" + QByteArray(2 * kLeer, '\n') + "Bert;2";
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("leer.csv"));
        schreibeTestdatei(pfad, weg == "utf8" ? "\xEF\xBB\xBF" + text : text);
        Auswertung a;
        a.FErsetzen = true;
        const ImportEinstellungen e = einstellungen(1, 0, 2, 0, 0);
        const ImportZusammenfassung z = weg == "text" ? importiereText(a, QString::fromLatin1(text), u';', e)
                                                      : importiereDatei(a, pfad, u';', e);
        QCOMPARE(z.statusText(), QStringLiteral("2 Prüflinge übernommen, 2000000 Zeilen übergangen"));
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Anna|1|0", "Bert|2|0"}));
        QVERIFY2(a.FEintraege.capacity() < 1000, qPrintable(QString::number(a.FEintraege.capacity())));
        QCOMPARE(z.ersteUebergangene.size(), qsizetype(ImportZusammenfassung::kErsteHoechstens));
        QCOMPARE(z.ersteUebergangene.last().zeile, qsizetype(11));
    }

    // A line of a million separators: fields after the highest chosen column are not needed,
    // and the column check still sees that the line reaches that column.
    void zeileMitMillionTrennern_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<ImportEinstellungen>("e");
        QTest::addColumn<QString>("erwartet");
        const QString lang = "Anna;17,5;2,3;x;y;z" + QString(1'000'000, u';');
        for (const char* weg : {"cp1252", "utf8", "text"}) {
            QTest::addRow("%s: entry from the long line", weg) << weg << einstellungen(1, 0, 2, 3, 0) << lang;
            QTest::addRow("%s: column 6 reached", weg) << weg << einstellungen(1, 0, 2, 6, 0) << lang;
            QTest::addRow("%s: only the title line reaches column 6", weg)
                << weg << einstellungen(1, 0, 2, 6, 1) << QString(1'000'000, u';') + "\nAnna;17,5";
        }
    }
    void zeileMitMillionTrennern() {
        QFETCH(QString, weg);
        QFETCH(ImportEinstellungen, e);
        QFETCH(QString, erwartet);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("lang.csv"));
        schreibeTestdatei(pfad, (weg == "utf8" ? "\xEF\xBB\xBF" : "") + erwartet.toLatin1());
        Auswertung a;
        a.FErsetzen = true;
        const ImportZusammenfassung z =
            weg == "text" ? importiereText(a, erwartet, u';', e) : importiereDatei(a, pfad, u';', e);
        QCOMPARE(z.ergebnis, ImportErgebnis::Gelesen);
        QCOMPARE(a.FEintraege.size(), qsizetype(1));
        QCOMPARE(a.FEintraege[0].nameText(), QStringLiteral("Anna"));
        QCOMPARE(a.FEintraege[0].punkte, 17.5);
        QCOMPARE(a.FEintraege[0].note, e.noten == 3 ? 2.3 : 0.0);
    }

    // Room runs out part way: the error, and every list as it was. The limit stands in for memory.
    void speichermangelLaesstListen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<bool>("ersetzen");
        for (const char* weg : {"cp1252", "utf8", "text", "lines"})
            for (const bool ersetzen : {true, false})
                QTest::addRow("%s, %s", weg, ersetzen ? "replace" : "append")
                    << QString::fromLatin1(weg) << ersetzen;
    }
    void speichermangelLaesstListen() {
        QFETCH(QString, weg);
        QFETCH(bool, ersetzen);
        QByteArray text;
        for (int i = 0; i < 40; ++i)
            text += "Student" + QByteArray::number(i) + ";" + QByteArray::number(i) + "\r\n";
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("kurs.csv"));
        schreibeTestdatei(pfad, weg == "utf8" ? "\xEF\xBB\xBF" + text : text);

        Auswertung a;
        a.FErsetzen = ersetzen;
        a.FEintraege = {testeintrag("Anna", 17.5)};
        a.FOriginal = {testeintrag("Bert", 3), testeintrag("Anna", 17.5)};
        a.FKlassen = {TNotenklasse{1, 2.0, u'B'}};
        const ImportEinstellungen e = einstellungen(1, 0, 2, 0, 0);
        listengrenze::setzeTestgrenze(20);
        QString fehler;
        bool ausgegangen = false;
        try {
            if (weg == "text")
                importiereText(a, QString::fromLatin1(text), u';', e);
            else if (weg == "lines")
                ImportAuswerten(a, ::zeilenAusBytes(text), u';', e);
            else
                importiereDatei(a, pfad, u';', e);
        } catch (const Fehler& f) {
            fehler = f.text();
        } catch (const std::bad_alloc&) {
            ausgegangen = true;
        }
        listengrenze::setzeTestgrenze(0);
        if (weg == "lines")
            QVERIFY(ausgegangen);
        else if (weg == "text")
            QCOMPARE(fehler,
                     QStringLiteral("Zu wenig Arbeitsspeicher, um den Text der Zwischenablage einzufügen. "
                                    "Die Liste bleibt, wie sie war."));
        else
            QCOMPARE(fehler, "Zu wenig Arbeitsspeicher, um „" + QDir::toNativeSeparators(pfad) +
                                 "“ zu importieren. Die Liste bleibt, wie sie war.");
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Anna|17,5|0|kein A"}));
        QCOMPARE(eintraege(a.FOriginal), QStringList({"Bert|3|0|kein A", "Anna|17,5|0|kein A"}));
        QCOMPARE(a.FKlassen.size(), std::size_t(1));

        // Under the limit the same import goes through.
        listengrenze::setzeTestgrenze(41);
        const auto z = importiereDatei(a, pfad, u';', e);
        listengrenze::setzeTestgrenze(0);
        QCOMPARE(z.uebernommen, qsizetype(40));
    }

    // A name field that the export guarded against spreadsheet formulas loses the apostrophe,
    // in the first-name and the last-name column; other apostrophes stay.
    void formelschutzAbgenommen_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("name");
        QTest::newRow("equals") << "'=SUMME(A1:A9);x"
                                << "=SUMME(A1:A9) x";
        QTest::newRow("plus") << "'+49 171;x"
                              << "+49 171 x";
        QTest::newRow("minus") << "'-Meier;x"
                               << "-Meier x";
        QTest::newRow("at") << "'@Anna;x"
                            << "@Anna x";
        QTest::newRow("tab, then a blank like every tab in a name") << "'\tAnna;x"
                                                                    << " Anna x";
        QTest::newRow("last-name field too") << "Anna;'=1+1"
                                             << "Anna =1+1";
        QTest::newRow("apostrophe before apostrophe and formula") << "''=x;y"
                                                                  << "'=x y";
        QTest::newRow("apostrophe before a letter stays") << "'Brien;x"
                                                          << "'Brien x";
        QTest::newRow("lone apostrophe stays") << "';x"
                                               << "' x";
        QTest::newRow("only one is taken") << "'''-x;y"
                                           << "''-x y";
        QTest::newRow("no apostrophe") << "=x;y"
                                       << "=x y";
    }
    void formelschutzAbgenommen() {
        QFETCH(QString, zeile);
        QFETCH(QString, name);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("formel.csv"));
        schreibeTestdatei(pfad, zeile.toLatin1());
        for (const bool ausDatei : {true, false}) {
            Auswertung a;
            a.FErsetzen = true;
            const ImportEinstellungen e = einstellungen(1, 2, 0, 0, 0);
            ausDatei ? importiereDatei(a, pfad, u';', e) : ImportAuswerten(a, {zeile}, u';', e);
            QCOMPARE(eintraege(a.FEintraege), QStringList({name + "|0|0"}));
        }
    }

    // Quoted fields as spreadsheets write them, the same on every path; a file without quotation
    // marks reads as before.
    void anfuehrung_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QChar>("trenner");
        QTest::addColumn<ImportEinstellungen>("e");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("erwartet");
        struct Fall {
            const char* name;
            QChar trenner;
            ImportEinstellungen e;
            QByteArray text;
            QStringList erwartet;
        };
        const Fall faelle[] = {
            {"Gnumeric, comma",
             u',',
             einstellungen(1, 0, 2, 3, 0),
             "\"J\xC3\xBCrgen Gro\xC3\x9F\",\"4,5\",8,\"12,5\"\r\n\"Anna\",\"17\",2,\"1\"\r\n",
             {"Jürgen Groß|4,5|8", "Anna|17|2"}},
            {"separator in a name",
             u';',
             einstellungen(1, 0, 2, 0, 0),
             "\"Meier; Anna\";3\r\n",
             {"Meier; Anna|3|0"}},
            {"doubled quotes",
             u';',
             einstellungen(1, 0, 2, 0, 0),
             "\"Jo \"\"Bo\"\"\";\"3\"\r\n",
             {"Jo \"Bo\"|3|0"}},
            {"line break in a quoted name",
             u';',
             einstellungen(1, 0, 2, 0, 0),
             "\"M\xC3\xBCller\r\n(Wiederholer)\";20\r\nBert;2\r\n",
             {"Müller (Wiederholer)|20|0", "Bert|2|0"}},
            {"line break in a column not chosen",
             u';',
             einstellungen(1, 0, 2, 0, 0),
             "Anna;1;\"eins\r\nzwei\";x\r\nBert;2\r\n",
             {"Anna|1|0", "Bert|2|0"}},
            {"quote inside an unquoted field",
             u';',
             einstellungen(1, 0, 2, 0, 0),
             "Jo \"Bo\" X;3\r\n",
             {"Jo \"Bo\" X|3|0"}},
            {"unclosed quote: the line as it stands",
             u';',
             einstellungen(1, 0, 2, 0, 0),
             "\"Anna;1\r\nBert;2\r\nCarl;3\r\n",
             {"\"Anna|1|0", "Bert|2|0", "Carl|3|0"}},
            {"tab separated, quoted tab", u'\t', einstellungen(1, 0, 2, 0, 0), "\"a\tb\"\t5\n", {"a b|5|0"}},
        };
        for (const QString& weg : kWege)
            for (const Fall& f : faelle)
                QTest::addRow("%s: %s", qPrintable(weg), f.name)
                    << weg << f.trenner << f.e << f.text << f.erwartet;
    }
    void anfuehrung() {
        QFETCH(QString, weg);
        QFETCH(QChar, trenner);
        QFETCH(ImportEinstellungen, e);
        QFETCH(QByteArray, text);
        QFETCH(QStringList, erwartet);
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(importiere(weg, a, text, trenner, e).ergebnis, ImportErgebnis::Gelesen);
        QCOMPARE(eintraege(a.FEintraege), erwartet);
    }

    // A quotation mark that opens a field and is never closed gives way after a bound number of
    // lines: the lines after it are read on their own, not swallowed into one name.
    void offeneAnfuehrungBegrenzt() {
        QByteArray text = "\"Anna;1\r\n";
        for (int i = 0; i < kSatzZeilenHoechstens + 5; ++i)
            text += "S" + QByteArray::number(i) + ";2\r\n";
        for (const QString& weg : kWege) {
            Auswertung a;
            a.FErsetzen = true;
            const ImportZusammenfassung z = importiere(weg, a, text, u';', einstellungen(1, 0, 2, 0, 0));
            QCOMPARE(a.FEintraege.size(), qsizetype(kSatzZeilenHoechstens + 6));
            QCOMPARE(a.FEintraege.first().nameText(), QStringLiteral("\"Anna"));
            QCOMPARE(a.FEintraege.last().nameText(), "S" + QString::number(kSatzZeilenHoechstens + 4));
            QCOMPARE(z.offeneAnfuehrungen, qsizetype(1));
        }
    }

    // Two such marks, the clipboard as well as a file: the summary names the first and the count.
    void offeneAnfuehrungZweimal() {
        QByteArray text;
        for (const char* erste : {"\"Anna;1\r\n", "\"Bert;1\r\n"}) {
            text += erste;
            for (int i = 0; i < kSatzZeilenHoechstens; ++i)
                text += "S;2\r\n";
        }
        for (const QString& weg : kWege) {
            Auswertung a;
            a.FErsetzen = true;
            const ImportZusammenfassung z = importiere(weg, a, text, u';', einstellungen(1, 0, 2, 0, 0));
            QCOMPARE(z.offeneAnfuehrungen, qsizetype(2));
            QCOMPARE(z.uebergangeneText(),
                     QStringLiteral("Zeile 1: Ein Anführungszeichen wird nicht geschlossen; die Zeile ist so "
                                    "gelesen, wie sie steht. Insgesamt 2-mal."));
        }
    }

    // The separator is the decimal comma too: points like 4,5 fall apart, and the summary says so.
    void geteilteZahlen_data() {
        QTest::addColumn<QChar>("trenner");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("details");
        QTest::newRow("split points")
            << QChar(u',') << QByteArray("Anna,4,5,2\r\nBert,17,3\r\nCarl,3,5,1\r\n")
            << "3 Prüflinge übernommen, 0 Zeilen übergangen; Achtung: Trennzeichen und "
               "Dezimaltrennzeichen sind beide „,“"
            << "Achtung: Das Trennzeichen „,“ ist zugleich das Dezimaltrennzeichen, so "
               "werden Punkte mit Nachkommastellen in zwei Felder geteilt. 3 Zeilen "
               "sehen so aus, zuerst Zeile 1 („4“ und „5“). Setzen Sie solche Zahlen in "
               "Anführungszeichen oder wählen Sie ein anderes Trennzeichen.";
        QTest::newRow("quoted points")
            << QChar(u',') << QByteArray("Anna,\"4,5\",2\r\n") << "1 Prüfling übernommen, 0 Zeilen übergangen"
            << "";
        QTest::newRow("quoted where needed, as LibreOffice writes it")
            << QChar(u',') << QByteArray("Anna,17,2\r\nBert,\"4,5\",5\r\n")
            << "2 Prüflinge übernommen, 0 Zeilen übergangen"
            << "";
        QTest::newRow("semicolon") << QChar(u';') << QByteArray("Anna;4;5\r\n")
                                   << "1 Prüfling übernommen, 0 Zeilen übergangen"
                                   << "";
    }
    void geteilteZahlen() {
        QFETCH(QChar, trenner);
        QFETCH(QByteArray, text);
        QFETCH(QString, status);
        QFETCH(QString, details);
        for (const QString& weg : kWege) {
            Auswertung a;
            a.FErsetzen = true;
            const ImportZusammenfassung z = importiere(weg, a, text, trenner, einstellungen(1, 0, 2, 0, 0));
            QCOMPARE(z.statusText(), status);
            QCOMPARE(z.uebergangeneText(), details);
        }
    }

    // A pasted block often has no header: a title line that reads as a student is taken. Files
    // skip as many lines as set, and every path names what it skipped.
    void titelzeilen_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<ImportEinstellungen>("e");
        QTest::addColumn<QStringList>("erwartet");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("details");
        const QByteArray ohneKopf("Anna\t1\nBert\t2\n");
        const QByteArray mitKopf("Name\tPunkte\nAnna\t1\n");
        const ImportEinstellungen e = einstellungen(1, 0, 2, 0, 1);
        QTest::newRow("clipboard, no header")
            << "text" << ohneKopf << e << QStringList{"Anna|1|0", "Bert|2|0"}
            << "2 Prüflinge übernommen, 0 Zeilen übergangen"
            << "";
        QTest::newRow("clipboard, header")
            << "text" << mitKopf << e << QStringList{"Anna|1|0"}
            << "1 Prüfling übernommen, 0 Zeilen übergangen, 1 Titelzeile übersprungen"
            << "Titelzeile: „Name Punkte“";
        QTest::newRow("clipboard, two title lines, the second a student")
            << "text"
            << "Kurs A\n" + ohneKopf << einstellungen(1, 0, 2, 0, 2) << QStringList{"Anna|1|0", "Bert|2|0"}
            << "2 Prüflinge übernommen, 0 Zeilen übergangen, 1 Titelzeile übersprungen"
            << "Titelzeile: „Kurs A“";
        QTest::newRow("clipboard, no points column: the count as set")
            << "text" << ohneKopf << einstellungen(1, 0, 0, 0, 1) << QStringList{"Bert|0|0"}
            << "1 Prüfling übernommen, 0 Zeilen übergangen, 1 Titelzeile übersprungen"
            << "Titelzeile: „Anna 1“";
        QTest::newRow("file, no header: the count as set")
            << "file" << ohneKopf << e << QStringList{"Bert|2|0"}
            << "1 Prüfling übernommen, 0 Zeilen übergangen, 1 Titelzeile übersprungen"
            << "Titelzeile: „Anna 1“";
    }
    void titelzeilen() {
        QFETCH(QString, weg);
        QFETCH(QByteArray, text);
        QFETCH(ImportEinstellungen, e);
        QFETCH(QStringList, erwartet);
        QFETCH(QString, status);
        QFETCH(QString, details);
        Auswertung a;
        a.FErsetzen = true;
        const ImportZusammenfassung z = importiere(weg, a, text, u'\t', e);
        QCOMPARE(eintraege(a.FEintraege), erwartet);
        QCOMPARE(z.statusText(), status);
        QCOMPARE(z.uebergangeneText(), details);
    }

    // Empty lines at the very end are no skipped lines; empty lines between students are.
    void leereZeilenAmEnde_data() {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("status");
        const struct {
            const char* name;
            QByteArray text;
            const char* status;
        } faelle[] = {
            {"one empty line", "Anna;1\r\n\r\n", "1 Prüfling übernommen, 0 Zeilen übergangen"},
            {"blank and separator lines", "Anna;1\r\n  \r\n;;\r\n\r\n\t\r\n",
             "1 Prüfling übernommen, 0 Zeilen übergangen"},
            {"empty line in between", "Anna;1\r\n\r\n;\r\nBert;2\r\n\r\n",
             "2 Prüflinge übernommen, 2 Zeilen übergangen"},
        };
        for (const QString& weg : kWege)
            for (const auto& f : faelle)
                QTest::addRow("%s: %s", qPrintable(weg), f.name)
                    << weg << f.text << QString::fromUtf8(f.status);
    }
    void leereZeilenAmEnde() {
        QFETCH(QString, weg);
        QFETCH(QByteArray, text);
        QFETCH(QString, status);
        Auswertung a;
        a.FErsetzen = true;
        QCOMPARE(importiere(weg, a, text, u';', einstellungen(1, 0, 2, 0, 0)).statusText(), status);
    }

    // Spreadsheet rows come as cells joined by U+FFFF, trailing empty cells left out: an empty
    // points cell is no points there as in a text file, line breaks and tabs in a cell are
    // blanks, and quotation marks are characters.
    void tabellenzeilen() {
        const QChar zelle(u'\xFFFF');
        const QStringList zeilen{QStringLiteral("Anna"), "Bert" + QString(zelle) + "3",
                                 "M\u00FCller\n(Wiederholer)" + QString(zelle) + "20",
                                 "\"Bo\"\tX" + QString(zelle) + "4", "Carl" + QString(zelle) + " "};
        Auswertung a;
        a.FErsetzen = true;
        const ImportZusammenfassung z = ImportAuswerten(a, zeilen, zelle, einstellungen(1, 0, 2, 0, 0));
        QCOMPARE(eintraege(a.FEintraege),
                 QStringList({"Bert|3|0", "Müller (Wiederholer)|20|0", "\"Bo\" X|4|0"}));
        QCOMPARE(z.uebergangeneText(),
                 QStringLiteral("Übergangene Zeilen:\nZeile 1: keine Punkte\nZeile 5: keine Punkte"));
    }

    // Cancelling stops every path part way, and the lists stay as they were.
    void abbrechen_data() {
        QTest::addColumn<QString>("weg");
        for (const QString& weg : kWege)
            QTest::newRow(qPrintable(weg)) << weg;
    }
    void abbrechen() {
        QFETCH(QString, weg);
        QByteArray text;
        for (int i = 0; i < 3 * textzeilen::kMeldenAlle; ++i)
            text += "S" + QByteArray::number(i) + ";1\r\n";
        Auswertung a;
        a.FErsetzen = true;
        a.FEintraege = a.FOriginal = {testeintrag("Anna", 17.5)};
        fortschritt::Stand stand;
        stand.abbrechen = true;
        bool abgebrochen = false;
        {
            const fortschritt::Bindung bindung(stand);
            try {
                importiere(weg, a, text, u';', einstellungen(1, 0, 2, 0, 0));
            } catch (const fortschritt::Abgebrochen&) {
                abgebrochen = true;
            }
        }
        QVERIFY(abgebrochen);
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Anna|17,5|0|kein A"}));
        QCOMPARE(eintraege(a.FOriginal), QStringList({"Anna|17,5|0|kein A"}));
    }

    void dateifehlerLaesstListe() {
        const QString fehlt = testdatei(QStringLiteral("gibt_es_nicht.csv"));
        // The German text comes first; a line naming the file may follow it.
        QCOMPARE(fehlertext([&] { zeilenAusDatei(fehlt); }).section(u'\n', 0, 0),
                 QStringLiteral("Datei nicht gefunden"));
        Auswertung a;
        a.FErsetzen = true;
        a.FEintraege = a.FOriginal = {testeintrag("Anna", 17.5)};
        QCOMPARE(fehlertext([&] {
                     importiereDatei(a, fehlt, u';', einstellungen(1, 0, 0, 0, 0));
                 }).section(u'\n', 0, 0),
                 QStringLiteral("Datei nicht gefunden"));
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Anna|17,5|0|kein A"}));
        QCOMPARE(eintraege(a.FOriginal), QStringList({"Anna|17,5|0|kein A"}));
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
