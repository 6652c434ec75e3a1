// SPDX-License-Identifier: GPL-3.0-or-later
// Spreadsheet files in and out. daten/tabelle/kurs.xlsx, kurs.ods and kurs.csv were written by
// LibreOffice Calc 7.4 from kurs.fods (LC_ALL=de_DE.UTF-8 soffice --headless --convert-to xlsx,
// ods and 'csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,true').
#include "Hauptfenster.h"
#include "Import.h"
#include "Meldungsfehler.h"
#include "Programm.h"
#include "Tabelle.h"
#include "Testdaten.h"
#include "UiTesthilfe.h"
#include "XlsxExport.h"
#include "Zahltext.h"
#include "importform.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <zip.h>

namespace {
QString testdatei(const QString& name) {
    return QStringLiteral(SKALORA_TESTDATEN "/tabelle/") + name;
}

// Name, points and grade of every entry, as the file form writes them.
QStringList eintraege(const Notenliste& l) {
    QStringList r;
    for (const auto& e : l)
        r << e.nameText() + u'|' + zahltext::kurz(e.punkte) + u'|' + zahltext::kurz(e.note) + u'|' +
                 QChar(e.ects);
    return r;
}

QStringList uebergangen(const ImportZusammenfassung& z) {
    QStringList r;
    for (const auto& u : z.ersteUebergangene)
        r << zahltext::ganz(u.zeile) + u' ' + zahltext::ganz(int(u.grund));
    return r;
}

// kurs.*: first name, last name, points, grade under one title line.
ImportEinstellungen kursEinstellungen() {
    return {.vorname = 1, .nachname = 2, .punkte = 3, .noten = 4, .titelzeilen = 1};
}

using Teile = QList<std::pair<QByteArray, QByteArray>>;

// A ZIP archive of the given parts.
void schreibeZip(const QString& pfad, const Teile& teile) {
    int fehler = 0;
    zip_t* z = zip_open(QFile::encodeName(pfad).constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    QVERIFY(z);
    for (const auto& [name, inhalt] : teile) {
        // The source copies nothing: the bytes live until zip_close.
        zip_source_t* q = zip_source_buffer(z, inhalt.constData(), zip_uint64_t(inhalt.size()), 0);
        QVERIFY(zip_file_add(z, name.constData(), q, ZIP_FL_ENC_UTF_8) >= 0);
    }
    QCOMPARE(zip_close(z), 0);
}

// A part of `anzahl` times `stueck` between `kopf` and `fuss`, handed to libzip piece by piece,
// so that a part of some hundred MB never lies in memory.
struct Strom {
    QByteArray kopf, stueck, fuss;
    qint64 anzahl = 0;
    qint64 pos = 0;
    zip_error_t fehler;

    qint64 groesse() const { return kopf.size() + stueck.size() * anzahl + fuss.size(); }
    // Up to `n` bytes from `pos` into `ziel`.
    qint64 lies(char* ziel, qint64 n) {
        qint64 gelesen = 0;
        while (gelesen < n && pos < groesse()) {
            const qint64 mitte = kopf.size() + stueck.size() * anzahl;
            const char* quelle;
            qint64 rest;
            if (pos < kopf.size()) {
                quelle = kopf.constData() + pos;
                rest = kopf.size() - pos;
            } else if (pos < mitte) {
                const qint64 in = (pos - kopf.size()) % stueck.size();
                quelle = stueck.constData() + in;
                rest = stueck.size() - in;
            } else {
                quelle = fuss.constData() + (pos - mitte);
                rest = groesse() - pos;
            }
            const qint64 k = std::min(rest, n - gelesen);
            memcpy(ziel + gelesen, quelle, size_t(k));
            gelesen += k;
            pos += k;
        }
        return gelesen;
    }
};

zip_int64_t stromQuelle(void* nutzer, void* daten, zip_uint64_t laenge, zip_source_cmd_t befehl) {
    auto& s = *static_cast<Strom*>(nutzer);
    switch (befehl) {
    case ZIP_SOURCE_OPEN:
        s.pos = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return s.lies(static_cast<char*>(daten), qint64(laenge));
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(daten);
        zip_stat_init(st);
        st->size = zip_uint64_t(s.groesse());
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s.fehler, daten, laenge);
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
        zip_error_set(&s.fehler, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

// A ZIP archive of the given parts, the part `name` among them made by `strom`.
void schreibeZipMitStrom(const QString& pfad, const Teile& teile, const QByteArray& name, Strom& strom) {
    int fehler = 0;
    zip_error_init(&strom.fehler);
    zip_t* z = zip_open(QFile::encodeName(pfad).constData(), ZIP_CREATE | ZIP_TRUNCATE, &fehler);
    QVERIFY(z);
    for (const auto& [teil, inhalt] : teile) {
        if (teil == name)
            continue;
        zip_source_t* q = zip_source_buffer(z, inhalt.constData(), zip_uint64_t(inhalt.size()), 0);
        QVERIFY(zip_file_add(z, teil.constData(), q, ZIP_FL_ENC_UTF_8) >= 0);
    }
    zip_source_t* q = zip_source_function(z, stromQuelle, &strom);
    QVERIFY(zip_file_add(z, name.constData(), q, ZIP_FL_ENC_UTF_8) >= 0);
    QCOMPARE(zip_close(z), 0);
    zip_error_fini(&strom.fehler);
}

// The parts of a workbook around one sheet's <sheetData> and shared strings; `blaetter` is the
// workbook's <sheets>, `ziel` the target of its first sheet's relationship.
Teile xlsxTeile(const QByteArray& zeilen, const QByteArray& texte,
                const QByteArray& blaetter = "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId7\"/>",
                const QByteArray& ziel = "worksheets/blatt.xml") {
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    return {
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" +
             rel + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook " + ns + "><sheets>" + blaetter + "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId7\" Type=\"" +
             rel + "worksheet\" Target=\"" + ziel + "\"/><Relationship Id=\"rId8\" Type=\"" + rel +
             "sharedStrings\" Target=\"/xl/texte.xml\"/></Relationships>"},
        {"xl/worksheets/blatt.xml",
         "<worksheet " + ns + "><sheetData>" + zeilen + "</sheetData></worksheet>"},
        {"xl/texte.xml", "<sst " + ns + " count=\"4000000000\">" + texte + "</sst>"},
    };
}

void schreibeXlsx(const QString& pfad, const QByteArray& zeilen, const QByteArray& texte) {
    schreibeZip(pfad, xlsxTeile(zeilen, texte));
}

const QByteArray kXlsxNs = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

const QByteArray kOdsKopf =
    "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>";

Teile odsTeile(const QByteArray& zeilen) {
    return {
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
        {"content.xml", kOdsKopf + "<table:table table:name=\"A\">" + zeilen +
                            "</table:table></office:spreadsheet></office:body></office:document-content>"},
    };
}

void schreibeOds(const QString& pfad, const QByteArray& zeilen) {
    schreibeZip(pfad, odsTeile(zeilen));
}

// The bytes of a ZIP archive of the given parts.
QByteArray zipInhalt(const Teile& teile) {
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("z.zip"));
    schreibeZip(pfad, teile);
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

// Where the local header and the directory entry of part `name` start in `zip`, or -1: the
// name's first place is in its local header, the second in the central directory.
std::pair<qsizetype, qsizetype> zipKoepfe(const QByteArray& zip, const QByteArray& name) {
    const qsizetype lokal = zip.indexOf(name) - 30;
    const qsizetype zentral = zip.indexOf(name, lokal + 31) - 46;
    if (lokal < 0 || zentral < 0 || zip.mid(lokal, 4) != "PK\x03\x04" || zip.mid(zentral, 4) != "PK\x01\x02")
        return {-1, -1};
    return {lokal, zentral};
}

// A sheet file "t.xlsx" or "t.ods" in `dir` around the given rows; `texte` are the shared
// texts of a workbook.
QString schreibeTabelle(const QTemporaryDir& dir, const QString& endung, const QByteArray& zeilen,
                        const QByteArray& texte = {}) {
    const QString pfad = dir.filePath("t." + endung);
    if (endung == "ods")
        schreibeOds(pfad, zeilen);
    else
        schreibeXlsx(pfad, zeilen, texte);
    return pfad;
}

// The rows of a sheet with text cells; an empty text is an empty cell of its own.
QByteArray blattZeilen(const QString& endung, const QList<QStringList>& zeilen) {
    const bool ods = endung == "ods";
    QByteArray r;
    for (const QStringList& z : zeilen) {
        r += ods ? "<table:table-row>" : "<row>";
        for (const QString& zelle : z) {
            if (zelle.isEmpty())
                r += ods ? "<table:table-cell/>" : "<c/>";
            else if (ods)
                r += "<table:table-cell><text:p>" + zelle.toUtf8() + "</text:p></table:table-cell>";
            else
                r += "<c t=\"inlineStr\"><is><t>" + zelle.toUtf8() + "</t></is></c>";
        }
        r += ods ? "</table:table-row>" : "</row>";
    }
    return r;
}

// A file of several sheets, each a name and its rows (as blattZeilen makes them).
QString schreibeBlaetter(const QTemporaryDir& dir, const QString& endung,
                         const QList<std::pair<QByteArray, QByteArray>>& blaetter) {
    const QString pfad = dir.filePath("b." + endung);
    if (endung == "ods") {
        QByteArray tabellen;
        for (const auto& [name, zeilen] : blaetter)
            tabellen += "<table:table table:name=\"" + name + "\">" + zeilen + "</table:table>";
        schreibeZip(pfad,
                    {{"content.xml", kOdsKopf + tabellen +
                                         "</office:spreadsheet></office:body></office:document-content>"}});
        return pfad;
    }
    Teile teile = xlsxTeile({}, {});
    QByteArray sheets, rels;
    for (qsizetype i = 0; i < blaetter.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        sheets += "<sheet name=\"" + blaetter[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                "Target=\"worksheets/s" +
                n + ".xml\"/>";
        teile.append({"xl/worksheets/s" + n + ".xml", "<worksheet " + kXlsxNs + "><sheetData>" +
                                                          blaetter[i].second + "</sheetData></worksheet>"});
    }
    for (auto& [name, inhalt] : teile) {
        if (name == "xl/workbook.xml")
            inhalt = "<workbook " + kXlsxNs + "><sheets>" + sheets + "</sheets></workbook>";
        else if (name == "xl/_rels/workbook.xml.rels")
            inhalt =
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                rels + "</Relationships>";
    }
    schreibeZip(pfad, teile);
    return pfad;
}

// Converts `pfad` to CSV with LibreOffice Calc under a German locale; false when Calc is missing.
bool mitCalc(const QTemporaryDir& ordner, const QString& pfad, QString& csv) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        return false;
    QProcess calc;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("HOME"), ordner.filePath(QStringLiteral("home")));
    umgebung.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    calc.setProcessEnvironment(umgebung);
    const QString aus = ordner.filePath(QStringLiteral("aus"));
    calc.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(ordner.filePath(QStringLiteral("profil"))).toString(),
                         QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                         QStringLiteral("csv:Text - txt - csv (StarCalc):59,34,76,1,,0,false,true,true"),
                         QStringLiteral("--outdir"), aus, pfad});
    if (!calc.waitForFinished(180000)) {
        calc.kill();
        calc.waitForFinished();
        return false;
    }
    QFile datei(aus + u'/' + QFileInfo(pfad).completeBaseName() + QStringLiteral(".csv"));
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    csv = QString::fromUtf8(datei.readAll());
    return true;
}
} // namespace

class TestTabelle : public QObject {
    Q_OBJECT

    uitest::Umgebung& m_umgebung = uitest::umgebung();

private slots:
    void init() { m_umgebung.vergiss(); }

    void vonCalc_data() {
        QTest::addColumn<QString>("datei");
        QTest::newRow("xlsx") << "kurs.xlsx";
        QTest::newRow("ods") << "kurs.ods";
    }
    // Cell for cell what Calc's own CSV shows (trailing empty cells left out), and the import
    // gives what importing that CSV gives.
    void vonCalc() {
        QFETCH(QString, datei);
        const QStringList csv = zeilenAusDatei(testdatei(QStringLiteral("kurs.csv")));
        tabelle::Zeilen erwartet;
        for (const QString& z : csv) {
            QStringList felder;
            Zerlegen(felder, z, u';');
            while (!felder.isEmpty() && felder.constLast().isEmpty())
                felder.removeLast();
            erwartet.append(felder);
        }
        QCOMPARE(tabelle::lese(testdatei(datei)), erwartet);

        Auswertung ausCsv, ausTabelle;
        ausCsv.FErsetzen = ausTabelle.FErsetzen = true;
        const auto zc =
            importiereDatei(ausCsv, testdatei(QStringLiteral("kurs.csv")), u';', kursEinstellungen());
        const auto zt = importiereTabelle(ausTabelle, testdatei(datei), kursEinstellungen());
        QCOMPARE(eintraege(ausTabelle.FEintraege),
                 QStringList({"Jürgen Groß|17,5|2,3|A", "Zoë Müller-Ñúñez|12|0|A", " Weiß|20,25|1|A",
                              "Änne Öztürk|0,333333333333333|5|A", "Ida Çelik|-0,5|1234567,125|A"}));
        QCOMPARE(eintraege(ausTabelle.FEintraege), eintraege(ausCsv.FEintraege));
        QCOMPARE(eintraege(ausTabelle.FOriginal), eintraege(ausTabelle.FEintraege));
        // Row 5 is empty, row 7 has "fehlt" for points: the rows count as the CSV's lines.
        QCOMPARE(uebergangen(zt), QStringList({"5 0", "7 1"}));
        QCOMPARE(uebergangen(zt), uebergangen(zc));
        QCOMPARE(zt.statusText(), zc.statusText());
    }

    // Numbers as the user's locale writes them, whatever the file stores.
    void zahlenImGebietsschema() {
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("en_US")));
        const auto zeilen = tabelle::lese(testdatei(QStringLiteral("kurs.ods")));
        zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(zeilen.value(1), QStringList({"Jürgen", "Groß", "17.5", "2.3"}));
    }

    // Every kind of cell, as the spreadsheet shows it.
    void zellarten_data() {
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QByteArray>("zeilen");
        QTest::addColumn<QStringList>("zellen"); // the first row
        const QByteArray office = " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"";
        QTest::newRow("xlsx: inline text with runs, phonetic hint left out")
            << "xlsx"
            << QByteArray("<row><c t=\"inlineStr\"><is><r><t>J\xC3\xBCr</t></r><r><t "
                          "xml:space=\"preserve\">gen </t></r>"
                          "<rPh><t>X</t></rPh></is></c></row>")
            << QStringList{"Jürgen "};
        QTest::newRow("xlsx: truth values, formula text, error, escapes")
            << "xlsx"
            << QByteArray("<row><c t=\"b\"><v>1</v></c><c t=\"b\"><v>0</v></c><c "
                          "t=\"str\"><f>A1</f><v>a_x000D_b</v></c>"
                          "<c t=\"e\"><v>#DIV/0!</v></c></row>")
            << QStringList{"WAHR", "FALSCH", "a\rb", "#DIV/0!"};
        QTest::newRow("xlsx: numbers in the file form, cells without reference follow on")
            << "xlsx"
            << QByteArray("<row><c r=\"B1\"><v>1.5E-7</v></c><c><v>-0</v></c><c "
                          "t=\"n\"><v>100000000000000000000</v></c>"
                          "<c r=\"F1\"><v>2.5</v></c></row>")
            << QStringList{"", "1,5E-7", "0", "1E20", "", "2,5"};
        QTest::newRow("ods: truth value, percentage, blanks, tab, paragraphs, comment left out")
            << "ods"
            << "<table:table-row><table:table-cell office:value-type=\"boolean\" "
               "office:boolean-value=\"true\"" +
                   office +
                   "><text:p>TRUE</text:p></table:table-cell><table:table-cell "
                   "office:value-type=\"percentage\" "
                   "office:value=\"0.125\"" +
                   office +
                   "><text:p>12,5 %</text:p></table:table-cell>"
                   "<table:covered-table-cell/><table:table-cell><office:annotation" +
                   office +
                   "><text:p>Notiz</text:p>"
                   "</office:annotation><text:p>a<text:s "
                   "text:c=\"2\"/>b<text:tab/>c</text:p><text:p><text:span>d</text:span>"
                   "</text:p></table:table-cell></table:table-row>"
            << QStringList{"WAHR", "0,125", "", "a  b\tc\nd"};
        QTest::newRow("xlsx: cells out of order, empty and styled cells, inline type with <v>, extensions")
            << "xlsx"
            << QByteArray(
                   "<row><c r=\"B1\"><v>2</v></c><c r=\"A1\"><v>1</v></c><c r=\"C1\" t=\"s\"/><c r=\"D1\" "
                   "s=\"3\"/><c r=\"E1\" t=\"b\"/><c r=\"F1\" t=\"inlineStr\"><v>roh</v></c><c r=\"G1\" "
                   "t=\"b\"><v>true</v></c><c r=\"H1\" s=\"1\"/><extLst><ext uri=\"x\"/></extLst></row>")
            << QStringList{"1", "2", "", "", "", "roh", "WAHR"};
        QTest::newRow("xlsx: date, no number, a comma, text split by a comment and an element")
            << "xlsx"
            << QByteArray("<row><c t=\"d\"><v>2024-01-31T08:00:00</v></c><c><v>abc</v></c><c><v>2,5E3</v></c>"
                          "<c><!-- k --><v>1<!-- -->5</v></c><c t=\"inlineStr\"><is><!-- k "
                          "--><t>a<b>b</b>c</t></is></c></row>")
            << QStringList{"2024-01-31T08:00:00", "abc", "2,5E3", "15", "abc"};
        QTest::newRow("xlsx: escapes of characters XML can carry, and of others")
            << "xlsx"
            << QByteArray(
                   "<row><c t=\"str\"><v>_x0009_ _x000a_ _x0001_ _xD800_ _xE000_ _xFFFE_ _xzzzz_ _y0041_ "
                   "_x0041_ _x00410 _x0041 _x005F_x0041_ _x005f__x005F_ _x0x41_ _x+041_ "
                   "_X0041_</v></c></row>")
            << QStringList{
                   QStringLiteral("\t \n \u0001 _xD800_ \uE000 _xFFFE_ _xzzzz_ _y0041_ A _x00410 _x0041 "
                                  "_x0041_ __ _x0x41_ _x+041_ _X0041_")};
        QTest::newRow("ods: line break, currency, a value with a comma is no number")
            << "ods"
            << "<table:table-row><table:table-cell><text:p>a<text:line-break/>b</text:p></table:table-cell>"
               "<table:table-cell office:value-type=\"currency\" office:value=\"1.5\"" +
                   office +
                   "><text:p>1,50 \xE2\x82\xAC</text:p></table:table-cell><table:table-cell "
                   "office:value-type=\"float\" office:value=\"1,5\"" +
                   office + "><text:p>1,50</text:p></table:table-cell></table:table-row>"
            << QStringList{"a\nb", "1,5", "1,50"};
        QTest::newRow("ods: indented, foreign elements in the table, a row and a paragraph")
            << "ods"
            << QByteArray(
                   "<office:forms/>\n<table:table-row>\n <table:table-cell>\n  <text:p>a<x>1</x></text:p>\n "
                   "</table:table-cell>\n <x><y/></x>\n "
                   "<table:table-cell><text:p>b</text:p></table:table-cell>\n"
                   "</table:table-row>\n")
            << QStringList{"a1", "b"};
    }
    void zellarten() {
        QFETCH(QString, endung);
        QFETCH(QByteArray, zeilen);
        QFETCH(QStringList, zellen);
        QTemporaryDir dir;
        const QString pfad = schreibeTabelle(dir, endung, zeilen);
        QCOMPARE(tabelle::lese(pfad), tabelle::Zeilen({zellen}));
    }

    // The workbook is where the package's root relationships say, not only at xl/workbook.xml;
    // its own relationships lie beside it and name the sheet relative to it.
    void mappeWoDasPaketSieNennt_data() {
        QTest::addColumn<QByteArray>("ziel"); // the root relationship's target
        QTest::newRow("relative") << QByteArray("buch/mappe.xml");
        QTest::newRow("absolute") << QByteArray("/buch/mappe.xml");
    }
    void mappeWoDasPaketSieNennt() {
        QFETCH(QByteArray, ziel);
        Teile teile;
        for (auto [name, inhalt] :
             xlsxTeile("<row><c t=\"s\"><v>0</v></c><c><v>17.5</v></c></row>", "<si><t>Anna</t></si>")) {
            if (name == "_rels/.rels")
                inhalt.replace("Target=\"xl/workbook.xml\"", "Target=\"" + ziel + "\"");
            else if (name == "xl/workbook.xml")
                name = "buch/mappe.xml";
            else if (name == "xl/_rels/workbook.xml.rels")
                name = "buch/_rels/mappe.xml.rels";
            else if (name == "xl/worksheets/blatt.xml")
                name = "buch/worksheets/blatt.xml";
            teile.append({name, inhalt});
        }
        QTemporaryDir dir;
        const QString pfad = dir.filePath(QStringLiteral("anders.xlsx"));
        schreibeZip(pfad, teile);
        QCOMPARE(tabelle::lese(pfad), tabelle::Zeilen({{"Anna", "17,5"}}));
    }

    // The first sheet that holds data is read, unless another is chosen; the sheets' names are
    // there for a choice, and the import names the sheet it read.
    void blaetter_data() {
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QByteArray>("leer"); // the rows of an empty first sheet, as programs write it
        QTest::newRow("xlsx") << "xlsx"
                              << QByteArray("<row r=\"1\"><c r=\"A1\" s=\"1\"/><c r=\"B1\" t=\"s\"/></row>");
        QTest::newRow("ods")
            << "ods"
            << QByteArray("<table:table-row table:number-rows-repeated=\"1048576\"><table:table-cell "
                          "table:number-columns-repeated=\"16384\"/></table:table-row>");
    }
    void blaetter() {
        QFETCH(QString, endung);
        QFETCH(QByteArray, leer);
        QTemporaryDir dir;
        const QString pfad = schreibeBlaetter(dir, endung,
                                              {{"Deckblatt", leer},
                                               {"Kurs", blattZeilen(endung, {{"Anna", "17"}})},
                                               {"Rest", blattZeilen(endung, {{"Bert", "3", "", "x"}})}});
        QCOMPARE(tabelle::blaetter(pfad), QStringList({"Deckblatt", "Kurs", "Rest"}));
        QCOMPARE(tabelle::lese(pfad), tabelle::Zeilen({{"Anna", "17"}}));

        tabelle::Auswahl wahl;
        wahl.blatt = 2;
        tabelle::Blattinhalt inhalt = tabelle::leseBlatt(pfad, wahl);
        QCOMPARE(inhalt.zeilen, tabelle::Zeilen({{"Bert", "3", "", "x"}}));
        QCOMPARE(inhalt.name, QStringLiteral("Rest"));
        QCOMPARE(inhalt.nummer, 2);
        QCOMPARE(inhalt.breite, qsizetype(4));
        wahl.blatt = 0;
        inhalt = tabelle::leseBlatt(pfad, wahl);
        QVERIFY(inhalt.zeilen.isEmpty());
        QCOMPARE(inhalt.name, QStringLiteral("Deckblatt"));
        QCOMPARE(inhalt.breite, qsizetype(0));
        wahl.blatt = 3;
        try {
            tabelle::leseBlatt(pfad, wahl);
            QFAIL("no error");
        } catch (const Meldungsfehler& f) {
            QVERIFY2(f.text().contains("Die Datei hat kein Blatt Nummer 4"), qPrintable(f.text()));
        }

        Auswertung a;
        a.FErsetzen = true;
        const ImportEinstellungen e{.vorname = 1, .punkte = 2, .titelzeilen = 0};
        auto z = importiereTabelle(a, pfad, e);
        QCOMPARE(z.uebernommen, qsizetype(1));
        QCOMPARE(z.blatt, QStringLiteral("Kurs"));
        QCOMPARE(z.blattText(),
                 QStringLiteral("Eingelesen wurde das Blatt „Kurs“; das Blatt davor ist leer."));
        z = importiereTabelle(a, pfad, e, 2);
        QCOMPARE(eintraege(a.FEintraege), QStringList({"Bert|3|0|A"}));
        QCOMPARE(z.blattText(), QStringLiteral("Eingelesen wurde das Blatt „Rest“."));
    }

    // An empty cell is an empty field, as in the CSV a spreadsheet writes: an empty points cell
    // leaves its line out with its reason, wherever in the row it is; a sheet that never
    // reaches a chosen column is the column error, as that CSV is.
    void leereZellen_data() {
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QList<QStringList>>("zeilen");
        const QList<QList<QStringList>> blaetter{
            {{"Anna", "", "2"}, {"Bert", "7"}, {"Cara"}, {"Dora", "0"}},
            {{"Anna"}, {"Bert", "7", "1", "x"}},
            // The grade column is empty in every row, and a column beyond it is not.
            {{"Anna", "7", "", "x"}, {"Bert", "8"}},
            {{"Anna"}, {"Bert"}},
        };
        for (const QString endung : {"xlsx", "ods"})
            for (qsizetype i = 0; i < blaetter.size(); ++i)
                QTest::addRow("%s %d", qPrintable(endung), int(i)) << endung << blaetter[i];
    }
    void leereZellen() {
        QFETCH(QString, endung);
        QFETCH(QList<QStringList>, zeilen);
        QTemporaryDir dir;
        const QString pfad = schreibeTabelle(dir, endung, blattZeilen(endung, zeilen));
        qsizetype breite = 0;
        for (const QStringList& z : zeilen)
            breite = std::max(breite, z.size());
        QString csv;
        for (QStringList z : zeilen) {
            z.resize(breite);
            csv += z.join(u';') + "\r\n";
        }
        const ImportEinstellungen e{.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0};
        Auswertung ausTabelle, ausCsv;
        ausTabelle.FErsetzen = ausCsv.FErsetzen = true;
        const auto zt = importiereTabelle(ausTabelle, pfad, e);
        const auto zc = importiereText(ausCsv, csv, u';', e);
        QCOMPARE(int(zt.ergebnis), int(zc.ergebnis));
        QCOMPARE(eintraege(ausTabelle.FEintraege), eintraege(ausCsv.FEintraege));
        QCOMPARE(uebergangen(zt), uebergangen(zc));
    }

    // Files that are broken or built to exhaust memory are refused with a German text, or
    // read within bounds; the list stays as it was when refused.
    void feindlich_data() {
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QByteArray>("zeilen");
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<QString>(
            "meldung"); // part of the message when read with all columns; empty when read
        QTest::addColumn<qsizetype>("anzahl"); // entries imported with columns 1 and 2; 0: refused
        QTest::addColumn<qsizetype>("breite"); // cells in the first row, read with all columns
        QTest::addColumn<QString>("erste");    // the start of the first cell

        const QByteArray zelle = "<table:table-cell office:value-type=\"string\" "
                                 "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"><text:p>"
                                 "x</text:p></table:table-cell>";
        const QByteArray zahl =
            "<table:table-cell table:number-columns-repeated=\"1000000000\" office:value-type=\"float\" "
            "office:value=\"2.5\" xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"/>";
        const QByteArray drei = "<table:table-cell office:value-type=\"float\" office:value=\"3\" "
                                "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\"/>";
        QTest::newRow("ods: row repeated past the sheet")
            << "ods"
            << "<table:table-row table:number-rows-repeated=\"2000000000\">" + zelle + "</table:table-row>"
            << QByteArray() << "mehr als 1048576 Zeilen" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("ods: cells repeated a billion times, shared rows")
            << "ods"
            << "<table:table-row table:number-rows-repeated=\"1000\">" + zelle + zahl + "</table:table-row>"
            << QByteArray() << "" << qsizetype(1000) << tabelle::kSpaltenHoechstens << "x";
        QByteArray breit;
        for (int i = 0; i < 300; ++i)
            breit += "<table:table-row>" + zelle + zahl + "</table:table-row>";
        // Only the columns the import names are kept, so the import takes them all.
        QTest::newRow("ods: too many cells") << "ods" << breit << QByteArray() << "mehr als 4194304 Zellen"
                                             << qsizetype(300) << qsizetype(0) << "";
        QTest::newRow("ods: trailing empty rows and cells cost nothing")
            << "ods"
            << "<table:table-row>" + zelle + drei +
                   "<table:table-cell table:number-columns-repeated=\"16382\"/></table:table-row>"
                   "<table:table-row table:number-rows-repeated=\"1048575\"><table:table-cell "
                   "table:number-columns-repeated=\"16384\"/></table:table-row>"
            << QByteArray() << "" << qsizetype(1) << qsizetype(2) << "x";
        QTest::newRow("ods: a blank run of two billion")
            << "ods"
            << QByteArray("<table:table-row><table:table-cell><text:p>a<text:s "
                          "text:c=\"2000000000\"/>b</text:p></table:table-cell>" +
                          drei + "</table:table-row>")
            << QByteArray() << "" << qsizetype(1) << qsizetype(2) << "a   ";
        QTest::newRow("xlsx: row beyond the sheet")
            << "xlsx" << QByteArray("<row r=\"1048577\"><c r=\"A1048577\"><v>1</v></c></row>") << QByteArray()
            << "Zeile trägt die Nummer 1048577" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: column beyond the sheet")
            << "xlsx" << QByteArray("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>") << QByteArray()
            << "ungültigen Bezug „XFE1“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: missing shared text")
            << "xlsx" << QByteArray("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>")
            << QByteArray("<si><t>a</t></si>") << "verweist auf den Text 1" << qsizetype(0) << qsizetype(0)
            << "";
        QTest::newRow("xlsx: unclosed elements")
            << "xlsx" << QByteArray("<row r=\"1\"><c r=\"A1\"><v>1") << QByteArray()
            << "ist kein gültiges XML (Zeile 1)" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: last cell of the sheet, huge count of shared texts")
            << "xlsx"
            << QByteArray("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><v>3</v></c></row>"
                          "<row r=\"1048576\"><c r=\"XFD1048576\" t=\"s\"><v>0</v></c></row>")
            << QByteArray("<si><r><t>An</t></r><r><t>na</t></r><rPh><t>ANNA</t></rPh></si>") << ""
            << qsizetype(1) << qsizetype(2) << "Anna";
        QTest::newRow("xlsx: row number 0")
            << "xlsx" << QByteArray("<row r=\"0\"><c><v>1</v></c></row>") << QByteArray()
            << "Zeile trägt die Nummer 0" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: reference without a column")
            << "xlsx" << QByteArray("<row><c r=\"12\"><v>1</v></c></row>") << QByteArray()
            << "ungültigen Bezug „12“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: reference with a letter beyond Z")
            << "xlsx"
            << QByteArray("<row><c r=\"\xC3\x84"
                          "1\"><v>1</v></c></row>")
            << QByteArray() << "ungültigen Bezug „Ä1“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: cell without reference after the last column")
            << "xlsx" << QByteArray("<row><c r=\"XFD1\"><v>1</v></c><c><v>2</v></c></row>") << QByteArray()
            << "mehr als 16384 Spalten" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: negative shared text")
            << "xlsx" << QByteArray("<row><c t=\"s\"><v>-1</v></c></row>") << QByteArray("<si><t>a</t></si>")
            << "verweist auf den Text -1" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: shared text by no number")
            << "xlsx" << QByteArray("<row><c t=\"s\"><v>x</v></c></row>") << QByteArray("<si><t>a</t></si>")
            << "verweist auf den Text x" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: reference to row 0")
            << "xlsx" << QByteArray("<row><c r=\"A0\"><v>1</v></c></row>") << QByteArray()
            << "ungültigen Bezug „A0“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: reference beyond the last row")
            << "xlsx" << QByteArray("<row><c r=\"B1048577\"><v>1</v></c></row>") << QByteArray()
            << "ungültigen Bezug „B1048577“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: reference without a row")
            << "xlsx" << QByteArray("<row><c r=\"B\"><v>1</v></c></row>") << QByteArray()
            << "ungültigen Bezug „B“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: reference with more after the row")
            << "xlsx" << QByteArray("<row><c r=\"A1x\"><v>1</v></c></row>") << QByteArray()
            << "ungültigen Bezug „A1x“" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("xlsx: a cell goes to the row its reference names")
            << "xlsx"
            << QByteArray(
                   "<row r=\"1\"><c r=\"A3\" t=\"inlineStr\"><is><t>x</t></is></c><c><v>3</v></c></row>")
            << QByteArray() << "" << qsizetype(1) << qsizetype(0) << "";
        QTest::newRow("xlsx: empty rows past the sheet")
            << "xlsx" << QByteArray("<row/>").repeated(1'048'577) << QByteArray()
            << "Zeile trägt die Nummer 1048577" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("ods: more cells in a row than columns")
            << "ods"
            << "<table:table-row>" + QByteArray("<table:table-cell/>").repeated(16'385) + "</table:table-row>"
            << QByteArray() << "mehr als 16384 Spalten" << qsizetype(0) << qsizetype(0) << "";
        // The parser checks every attribute against all before it in the tag.
        QByteArray attribute;
        for (int i = 0; i < 100'000; ++i)
            attribute += " a" + QByteArray::number(i) + "=\"\"";
        QTest::newRow("xlsx: a tag of 100000 attributes")
            << "xlsx"
            << "<row><c t=\"inlineStr\"><is><t" + attribute + ">x</t></is></c></row>" << QByteArray()
            << "„xl/worksheets/blatt.xml“ haben Elemente zu viele Attribute" << qsizetype(0) << qsizetype(0)
            << "";
        QTest::newRow("xlsx: a tag longer than 64 KB")
            << "xlsx"
            << "<row><c t=\"inlineStr\"><is><t a=\"" + QByteArray(65'536, 'a') + "\">x</t></is></c></row>"
            << QByteArray() << "„xl/worksheets/blatt.xml“ ist ein Element länger als 64 KB" << qsizetype(0)
            << qsizetype(0) << "";
        const QByteArray tausend = "<row><c" + attribute.left(attribute.indexOf(" a1000=")) + "/></row>";
        QTest::newRow("xlsx: many tags of 1000 attributes")
            << "xlsx" << tausend.repeated(40) << QByteArray()
            << "„xl/worksheets/blatt.xml“ haben Elemente zu viele Attribute" << qsizetype(0) << qsizetype(0)
            << "";
        QTest::newRow("xlsx: a few tags of 1000 attributes, '>' and quotes in values, comments and CDATA")
            << "xlsx"
            << tausend.repeated(20) + "<!-- '\" <x " + attribute.left(70'000) +
                   " -->"
                   "<row><c r=\"A1\" t=\"inlineStr\" x=\"'>\" y='\">'><is><t><![CDATA[ <a b=\"" +
                   attribute.left(70'000) + " ]]>Anna</t></is></c><c><v>2</v></c></row>"
            << QByteArray() << "" << qsizetype(1) << qsizetype(2) << " <a ";
        // An open comment swallows the closing tags: the part ends too early.
        QTest::newRow("xlsx: sheet cut off")
            << "xlsx" << QByteArray("<row><c><v>1</v></c></row><!--") << QByteArray()
            << "„xl/worksheets/blatt.xml“ ist unvollständig" << qsizetype(0) << qsizetype(0) << "";
        QTest::newRow("ods: content cut off")
            << "ods"
            << "<table:table-row>" + zelle + "</table:table-row><!--" << QByteArray()
            << "„content.xml“ ist unvollständig" << qsizetype(0) << qsizetype(0) << "";
    }
    void feindlich() {
        QFETCH(QString, endung);
        QFETCH(QByteArray, zeilen);
        QFETCH(QByteArray, texte);
        QFETCH(QString, meldung);
        QFETCH(qsizetype, anzahl);
        QFETCH(qsizetype, breite);
        QFETCH(QString, erste);
        QTemporaryDir dir;
        const QString pfad = schreibeTabelle(dir, endung, zeilen, texte);

        if (!meldung.isEmpty()) {
            try {
                tabelle::lese(pfad);
                QFAIL("no error");
            } catch (const Meldungsfehler& f) {
                QVERIFY2(f.text().contains(meldung), qPrintable(f.text()));
                QCOMPARE(f.pfad(), QFileInfo(pfad).absoluteFilePath());
            }
        } else {
            const auto alle = tabelle::lese(pfad);
            QCOMPARE(alle.value(0).size(), breite);
            QCOMPARE(alle.value(0).value(0).left(4), erste);
            QVERIFY(alle.value(0).value(0).size() <= tabelle::kZellTextHoechstens);
        }

        Auswertung a;
        a.FErsetzen = true;
        a.FEintraege = a.FOriginal = {testeintrag("Alt", 1, 0, u'A')};
        const ImportEinstellungen e{.vorname = 1, .punkte = 2, .titelzeilen = 0};
        try {
            QCOMPARE(importiereTabelle(a, pfad, e).uebernommen, anzahl);
        } catch (const Meldungsfehler&) {
            QCOMPARE(anzahl, qsizetype(0));
            QCOMPARE(eintraege(a.FEintraege), QStringList({"Alt|1|0|A"}));
            QCOMPARE(eintraege(a.FOriginal), QStringList({"Alt|1|0|A"}));
        }
    }

    // Parts of some hundred KB packed that unpack to many elements, each cheap in bytes and dear
    // in time or memory, are refused quickly.
    void riesig_data() {
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QByteArray>("teil"); // the part made of the repeated piece
        QTest::addColumn<QByteArray>("kopf");
        QTest::addColumn<QByteArray>("stueck");
        QTest::addColumn<qint64>("anzahl");
        QTest::addColumn<QByteArray>("fuss");
        QTest::addColumn<QString>("meldung");
        const QByteArray odsFuss =
            "</table:table></office:spreadsheet></office:body></office:document-content>";
        QTest::newRow("ods: 8 million blank runs of 32767 in one cell")
            << "ods" << QByteArray("content.xml")
            << kOdsKopf + "<table:table table:name=\"A\"><table:table-row><table:table-cell><text:p>a"
            << QByteArray("<text:s text:c=\"32767\"/>") << qint64(8'000'000)
            << "</text:p></table:table-cell></table:table-row>" + odsFuss
            << "Eine Zelle im Teil „content.xml“ besteht aus mehr als 32767 Elementen";
        QTest::newRow("ods: 2 million empty rows")
            << "ods" << QByteArray("content.xml") << kOdsKopf + "<table:table table:name=\"A\">"
            << QByteArray("<table:table-row/>") << qint64(2'000'000) << odsFuss << "mehr als 1048576 Zeilen";
        QTest::newRow("xlsx: 8 million runs in one shared text")
            << "xlsx" << QByteArray("xl/texte.xml") << "<sst " + kXlsxNs + "><si>"
            << QByteArray("<r><t>x</t></r>") << qint64(8'000'000) << QByteArray("</si></sst>")
            << "besteht aus mehr als 32767 Elementen";
        QTest::newRow("xlsx: 40 million empty shared texts")
            << "xlsx" << QByteArray("xl/texte.xml") << "<sst " + kXlsxNs + ">" << QByteArray("<si/>")
            << qint64(40'000'000) << QByteArray("</sst>")
            << "Die Texte der Tabelle brauchen mehr als 256 MB Speicher";
        QTest::newRow("xlsx: 10 million nested elements")
            << "xlsx" << QByteArray("xl/worksheets/blatt.xml") << "<worksheet " + kXlsxNs + "><sheetData>"
            << QByteArray("<a>") << qint64(10'000'000) << QByteArray()
            << "Im Teil „xl/worksheets/blatt.xml“ sind Elemente tiefer als 256 Ebenen verschachtelt";
    }
    void riesig() {
        QFETCH(QString, endung);
        QFETCH(QByteArray, teil);
        QFETCH(QByteArray, kopf);
        QFETCH(QByteArray, stueck);
        QFETCH(qint64, anzahl);
        QFETCH(QByteArray, fuss);
        QFETCH(QString, meldung);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("t." + endung);
        Strom strom;
        strom.kopf = kopf;
        strom.stueck = stueck;
        strom.fuss = fuss;
        strom.anzahl = anzahl;
        schreibeZipMitStrom(pfad, endung == "ods" ? odsTeile({}) : xlsxTeile({}, {}), teil, strom);
        QVERIFY(QFileInfo(pfad).size() < 1024 * 1024);
        try {
            tabelle::lese(pfad);
            QFAIL("no error");
        } catch (const Meldungsfehler& f) {
            QVERIFY2(f.text().contains(meldung), qPrintable(f.text()));
        }
    }

    // 205 KB that unpack to 201 MB of blanks (made with Python's zipfile): refused once the
    // unpacked bytes pass the limit, whatever the entry's header says.
    void entpacktZuGross() {
        try {
            tabelle::lese(testdatei(QStringLiteral("entpackt_zu_gross.ods")));
            QFAIL("no error");
        } catch (const Meldungsfehler& f) {
            QVERIFY2(f.text().contains("„content.xml“ ist entpackt größer als 200 MB"), qPrintable(f.text()));
        }
    }

    void keinArchiv() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath("liste.xlsx");
        schreibeTestdatei(pfad, "Anna;1\r\n");
        Auswertung a;
        QVERIFY_THROWS_EXCEPTION(Meldungsfehler, importiereTabelle(a, pfad, kursEinstellungen()));
        try {
            tabelle::lese(dir.filePath("fehlt.ods"));
            QFAIL("no error");
        } catch (const Fehler& f) {
            QVERIFY2(f.text().startsWith("Datei nicht gefunden"), qPrintable(f.text()));
        }
    }

    // Files that are no spreadsheet of their kind, or a damaged one, are refused naming the file.
    void keineTabelle_data() {
        QTest::addColumn<QString>("datei");     // in a temporary folder; an absolute path is read as it is
        QTest::addColumn<QByteArray>("inhalt"); // what the file holds
        QTest::addColumn<QString>("meldung");   // part of the message

        QTest::newRow("empty file") << "t.xlsx" << QByteArray() << "Die Datei ist kein gültiges ZIP-Archiv";
        QTest::newRow("a device without end")
            << "/dev/zero" << QByteArray() << "Die Datei ist kein gültiges ZIP-Archiv";
        const QByteArray anderes = zipInhalt({{"mimetype", "text/plain"}});
        QTest::newRow("xlsx: other ZIP archive")
            << "t.xlsx" << anderes << "keine Excel-Arbeitsmappe (der Teil „xl/workbook.xml“ fehlt)";
        QTest::newRow("ods: other ZIP archive")
            << "t.ods" << anderes << "keine OpenDocument-Tabelle (der Teil „content.xml“ fehlt)";
        QTest::newRow("ods: content without a table")
            << "t.ods"
            << zipInhalt({{"content.xml",
                           kOdsKopf + "<table:calculation-settings/></office:spreadsheet></office:body>"
                                      "</office:document-content>"}})
            << "Die Datei enthält keine Tabelle";
        QTest::newRow("xlsx: workbook without sheets")
            << "t.xlsx" << zipInhalt(xlsxTeile({}, {}, {})) << "Die Arbeitsmappe enthält kein Blatt";
        QTest::newRow("xlsx: sheet without relationship")
            << "t.xlsx" << zipInhalt(xlsxTeile({}, {}, "<sheet name=\"A\" sheetId=\"1\" id=\"rId7\"/>"))
            << "Das erste Blatt der Arbeitsmappe hat keinen Verweis";
        const QByteArray blatt = "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId7\"/>";
        QTest::newRow("xlsx: sheet outside the package")
            << "t.xlsx" << zipInhalt(xlsxTeile({}, {}, blatt, "../../blatt.xml"))
            << "Das erste Blatt der Arbeitsmappe fehlt";
        QTest::newRow("xlsx: sheet missing")
            << "t.xlsx" << zipInhalt(xlsxTeile({}, {}, blatt, "worksheets/fehlt.xml"))
            << "Das erste Blatt der Arbeitsmappe fehlt";

        const QByteArray ods = zipInhalt(odsTeile("<table:table-row/>"));
        const auto [lokal, zentral] = zipKoepfe(ods, "content.xml");
        QVERIFY(lokal >= 0);
        // A reserved block type as the first bits of the packed data.
        QByteArray kaputt = ods;
        const auto zahl16 = [&ods](qsizetype i) {
            return qsizetype(quint8(ods[i])) | qsizetype(quint8(ods[i + 1])) << 8;
        };
        kaputt[lokal + 30 + zahl16(lokal + 26) + zahl16(lokal + 28)] = char(0xFF);
        QTest::newRow("ods: packed data broken") << "t.ods" << kaputt << "„content.xml“ ist beschädigt";
        QByteArray weit = ods;
        weit.replace(zentral + 42, 4, QByteArray("\xFF\xFF\xFF\x7F", 4));
        QTest::newRow("ods: part beyond the file's end") << "t.ods" << weit << "„content.xml“ fehlt";

        // Office saves a workbook with a password as a compound file (OLE) with the streams
        // EncryptionInfo and EncryptedPackage; the directory that names them may lie anywhere.
        const auto utf16 = [](const QByteArray& text) {
            QByteArray r;
            for (const char c : text)
                r += QByteArray(1, c) + '\0';
            return r;
        };
        const QByteArray ole = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0');
        const QString verschluesselt = "Die Datei ist verschlüsselt (mit einem Kennwort geschützt)";
        QTest::newRow("xlsx: encrypted, the stream's name across a block")
            << "t.xlsx"
            << ole + QByteArray(1024 * 1024 - 512 - 10, 'x') + utf16("EncryptedPackage") +
                   QByteArray(100, '\0')
            << verschluesselt;
        QTest::newRow("xlsx: a compound file of another kind")
            << "t.xlsx" << ole + utf16("Workbook") + QByteArray(1000, '\0')
            << "Die Datei ist kein gültiges ZIP-Archiv";
        QTest::newRow("xlsx: encrypted package in a ZIP archive")
            << "t.xlsx" << zipInhalt({{"EncryptionInfo", "\x04\x00"}, {"EncryptedPackage", "\x01\x02\x03"}})
            << verschluesselt;
        QTest::newRow("ods: encrypted")
            << "t.ods"
            << zipInhalt(
                   {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                    {"content.xml", "\x8F\x01\x02"},
                    {"META-INF/manifest.xml",
                     "<manifest:manifest "
                     "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
                     "<manifest:file-entry manifest:full-path=\"content.xml\"><manifest:encryption-data/>"
                     "</manifest:file-entry></manifest:manifest>"}})
            << verschluesselt;
    }
    void keineTabelle() {
        QFETCH(QString, datei);
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, meldung);
        QTemporaryDir dir;
        const QString pfad = QDir::isAbsolutePath(datei) ? datei : dir.filePath(datei);
        if (!QDir::isAbsolutePath(datei))
            schreibeTestdatei(pfad, inhalt);
        try {
            tabelle::lese(pfad);
            QFAIL("no error");
        } catch (const Meldungsfehler& f) {
            QVERIFY2(f.text().contains(meldung), qPrintable(f.text()));
            QCOMPARE(f.pfad(), QFileInfo(pfad).absoluteFilePath());
        }
    }

    void istTabelle_data() {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<bool>("tabelle");
        QTest::newRow("xlsx") << "/a/kurs.xlsx" << true;
        QTest::newRow("ods in capitals") << "KURS.ODS" << true;
        QTest::newRow("csv") << "kurs.csv" << false;
        QTest::newRow("only the last extension counts") << "kurs.xlsx.csv" << false;
        QTest::newRow("a folder's extension") << "/a.ods/kurs" << false;
    }
    void istTabelle() {
        QFETCH(QString, pfad);
        QFETCH(bool, tabelle);
        QCOMPARE(tabelle::istTabelle(pfad), tabelle);
    }

    // Cells right of the kept columns are left out, however they are repeated.
    void spaltenGrenze_data() {
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QByteArray>("zeilen");
        QTest::newRow("xlsx") << "xlsx"
                              << QByteArray("<row><c><v>1</v></c><c><v>2</v></c><c><v>3</v></c></row>");
        QTest::newRow("ods: repeated across the bound")
            << "ods"
            << QByteArray("<table:table-row><table:table-cell><text:p>1</text:p></table:table-cell>"
                          "<table:table-cell "
                          "table:number-columns-repeated=\"3\"><text:p>2</text:p></table:table-cell>"
                          "<table:table-cell><text:p>3</text:p></table:table-cell></table:table-row>");
    }
    void spaltenGrenze() {
        QFETCH(QString, endung);
        QFETCH(QByteArray, zeilen);
        QTemporaryDir dir;
        QCOMPARE(tabelle::lese(schreibeTabelle(dir, endung, zeilen), 2), tabelle::Zeilen({{"1", "2"}}));
    }

    // The workbook holds names as text and numbers shown with one decimal: Calc reads it back
    // as such, and so does the program's own reader, to the list it came from.
    void exportZurueck() {
        const Notenliste liste{testeintrag("J\xFCrgen Gro\xDF", 17.5, 4.0 / 3), testeintrag("=1+1", 0, 1),
                               testeintrag(" Zo\xEB ", 12.25, 5), testeintrag("1,3", 30, 1.3)};
        QTemporaryDir dir;
        const QString pfad = dir.filePath("liste.xlsx");
        schreibeTestdatei(pfad, "alt");
        exportiereXlsx(pfad, liste);

        Auswertung a;
        a.FErsetzen = true;
        importiereTabelle(a, pfad, {.vorname = 1, .punkte = 2, .noten = 3, .titelzeilen = 0});
        QStringList zurueck = eintraege(liste);
        for (QString& z : zurueck)
            z.back() = u'A';
        QCOMPARE(eintraege(a.FEintraege), zurueck);

        QString csv;
        if (!mitCalc(dir, pfad, csv))
            QSKIP("LibreOffice Calc (soffice) is missing: scripts/install-deps installs "
                  "libreoffice-calc-nogui");
        QCOMPARE(csv, QStringLiteral("Jürgen Groß;17,5;1,3\n=1+1;0,0;1,0\n Zoë ;12,3;5,0\n1,3;30,0;1,3\n"));
    }

    void leereListe() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath("leer.xlsx");
        exportiereXlsx(pfad, {});
        QVERIFY(tabelle::lese(pfad).isEmpty());
    }

    // Through the main window: the import offers spreadsheets after the other filters only
    // while it asks, and the export writes a workbook when its filter is chosen.
    void befehle() {
        Programm p;
        THauptformular* h = p.Hauptformular();
        TImporteinstellungen* ein = p.Importeinstellungen();
        ein->vorname->setCurrentIndex(1);
        ein->nachname->setCurrentIndex(2);
        ein->punkte->setCurrentIndex(3);
        ein->noten->setCurrentIndex(4);
        const QStringList filter = h->OpenDialog->nameFilters();

        QStringList imDialog;
        QTimer::singleShot(0, [&imDialog] {
            imDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())->nameFilters();
        });
        QTemporaryDir dir;
        const QString kurs = dir.filePath("kurs.ods");
        QVERIFY(QFile::copy(testdatei(QStringLiteral("kurs.ods")), kurs));
        // The file has two sheets: the question that follows the file dialog is answered with
        // its first entry, the first sheet that holds data.
        QStringList blaetter;
        QTimer frage;
        frage.setInterval(5);
        QObject::connect(&frage, &QTimer::timeout, [&] {
            auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!d || d->objectName() != QStringLiteral("Blattwahl"))
                return;
            frage.stop();
            blaetter = d->comboBoxItems();
            d->accept();
        });
        frage.start();
        uitest::beantworteDateidialog(kurs);
        h->importierencsv->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(blaetter, QStringList({"Das erste Blatt mit Daten", "Kurs", "Zweites Blatt"}));
        QCOMPARE(imDialog, filter + QStringList{"Tabellen (*.xlsx *.ods)"});
        QCOMPARE(h->OpenDialog->nameFilters(), filter);
        QCOMPARE(h->daten().FEintraege.size(), qsizetype(5));
        QCOMPARE(h->modell().zellText(1, 1), QStringLiteral("Jürgen Groß"));

        const QStringList speichern = h->SaveDialog1->nameFilters();
        QTimer::singleShot(0, [&imDialog, &dir] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            imDialog = d->nameFilters();
            // As the user picks it, so that the dialog reports the change.
            auto* typ = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(typ);
            QTest::keyClick(typ, Qt::Key_Down);
            QCOMPARE(d->selectedNameFilter(), "Excel-Arbeitsmappe (*.xlsx)");
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(dir.filePath("liste"));
            static_cast<QDialog*>(d)->accept();
        });
        h->SpeichernCSV1->trigger();
        QVERIFY(m_umgebung.meldungen.isEmpty());
        QCOMPARE(imDialog, QStringList({"CSV Dateien (*.csv)", "Excel-Arbeitsmappe (*.xlsx)",
                                        "Daten (*.noten)", "Alles (*.*)"}));
        QCOMPARE(h->SaveDialog1->nameFilters(), speichern);
        QVERIFY(QFile::exists(dir.filePath("liste.xlsx")));
        const auto zeilen = tabelle::leseXlsx(dir.filePath("liste.xlsx"));
        QCOMPARE(zeilen.size(), qsizetype(5));
        QCOMPARE(zeilen.value(0), QStringList({"Jürgen Groß", "17,5", "2,3"}));
    }
};

QTEST_MAIN(TestTabelle)
#include "tst_tabelle.moc"
