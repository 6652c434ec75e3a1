// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer: escapes and font table on the bytes, and a saved report read back by LibreOffice Writer.
#include "Dateigrenze.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Rtf.h"
#include "Zahltext.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

Q_DECLARE_METATYPE(QTextCharFormat)

namespace {

const QString kFest = QStringLiteral("DejaVu Sans Mono");

QTextCharFormat schrift(const QString& familie, int pixel, bool fett = false, bool unterstrichen = false) {
    QTextCharFormat f;
    f.setFontFamilies({familie});
    QFont font;
    font.setPixelSize(pixel);
    f.setFont(font, QTextCharFormat::FontPropertiesSpecifiedOnly);
    if (fett)
        f.setFontWeight(QFont::Bold);
    if (unterstrichen)
        f.setFontUnderline(true);
    return f;
}

void zeile(QTextCursor& c, const QString& text, const QTextCharFormat& format) {
    if (!c.atStart())
        c.insertBlock(QTextBlockFormat(), format);
    else
        c.setBlockCharFormat(format);
    c.insertText(text, format);
}

// The report's shape: headings, fixed-width lines, a red line and the chart below.
void baueBericht(QTextDocument& d, const QImage& diagramm) {
    d.setDefaultFont(QFont(QStringLiteral("Tahoma")));
    QTextCursor c(&d);
    zeile(c, QStringLiteral("Auswertung der Klausur"), schrift(kFest, 15, true));
    zeile(c, QStringLiteral("Notenspiegel"), schrift(kFest, 15, true, true));
    zeile(c, QStringLiteral("Müller, Jürgen ß             1,3"), schrift(kFest, 15));
    zeile(c, QStringLiteral("Ärger, Zoë                   2,0"), schrift(kFest, 15));
    QTextCharFormat rot = schrift(kFest, 15);
    rot.setForeground(QColor(255, 0, 0));
    zeile(c, QStringLiteral("F:  1 aller Studenten"), rot);
    d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("diagramm")), diagramm);
    c.insertBlock();
    QTextImageFormat bild;
    bild.setName(QStringLiteral("diagramm"));
    bild.setWidth(120); // the height follows the picture's proportions
    c.insertImage(bild);
}

QByteArray rtfVon(const QString& text) {
    QTextDocument d;
    d.setPlainText(text);
    return rtf::ausDokument(d);
}

// The run formats at the first non-blank character of the block that contains `text`.
QTextCharFormat formatBei(const QTextDocument& d, const QString& text) {
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        const qsizetype stelle = b.text().indexOf(text);
        if (stelle < 0)
            continue;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() > b.position() + stelle)
                return f.charFormat();
        }
    }
    [&] { QFAIL(qPrintable(QStringLiteral("\"%1\" is missing from what Writer read").arg(text))); }();
    return {};
}

// Converts `rtfPfad` with LibreOffice Writer and gives the result's text.
bool mitWriter(const QTemporaryDir& ordner, const QString& rtfPfad, const QString& filter,
               const QString& endung, QString& ergebnis) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        qWarning("LibreOffice Writer (soffice) is missing: scripts/install-deps installs "
                 "libreoffice-writer-nogui");
        return false;
    }
    // A profile of its own, so Writer starts as root, in CI and beside a running instance.
    QProcess writer;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("HOME"), ordner.filePath(QStringLiteral("home")));
    writer.setProcessEnvironment(umgebung);
    const QString aus = ordner.filePath(QStringLiteral("aus"));
    writer.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                               QUrl::fromLocalFile(ordner.filePath(QStringLiteral("profil"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter,
                           QStringLiteral("--outdir"), aus, rtfPfad});
    if (!writer.waitForFinished(180000)) {
        writer.kill();
        writer.waitForFinished();
        qWarning("LibreOffice did not convert the report within 3 minutes");
        return false;
    }
    QFile datei(aus + u'/' + QFileInfo(rtfPfad).completeBaseName() + u'.' + endung);
    if (writer.exitStatus() != QProcess::NormalExit || writer.exitCode() != 0 ||
        !datei.open(QIODevice::ReadOnly)) {
        qWarning("LibreOffice failed to convert the report: %s", writer.readAllStandardError().constData());
        return false;
    }
    ergebnis = QString::fromUtf8(datei.readAll());
    return true;
}

// Takes what is written, and asks for a cancel once the first piece has come.
class AbbrechendesZiel : public QIODevice {
public:
    explicit AbbrechendesZiel(fortschritt::Stand& stand) : m_stand(stand) { open(QIODevice::WriteOnly); }
    qint64 geschrieben = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 n) override {
        geschrieben += n;
        m_stand.abbrechen = true;
        return n;
    }

private:
    fortschritt::Stand& m_stand;
};

// Paragraphs enough that the writer hands several pieces to the device.
QTextDocument* langerBericht(QObject* eltern) {
    auto* d = new QTextDocument(eltern);
    QStringList zeilen;
    for (int i = 0; i < 40000; ++i)
        zeilen << QStringLiteral("Name %1                      : 12,5  2,3").arg(i);
    d->setPlainText(zeilen.join(u'\n'));
    return d;
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { zahltext::uebernehmeGebietsschema(QLocale(QStringLiteral("de_DE"))); }

    void zeichen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("rtf");

        QTest::newRow("umlaut") << QStringLiteral("Jürgen") << QByteArray("J\\'fcrgen");
        QTest::newRow("sharp s") << QStringLiteral("Straße") << QByteArray("Stra\\'dfe");
        QTest::newRow("euro sign") << QStringLiteral("5 €") << QByteArray("5 \\'80");
        QTest::newRow("typographic quotes") << QStringLiteral("„ja…“") << QByteArray("\\'84ja\\'85\\'93");
        QTest::newRow("outside 1252") << QStringLiteral("Łódź") << QByteArray("\\u321?\\'f3d\\u378?");
        QTest::newRow("above 32767") << QStringLiteral("\uFB01") << QByteArray("\\u-1279?");
        QTest::newRow("outside BMP") << QStringLiteral("\U0001D11E") << QByteArray("\\u-10188?\\u-8930?");
        QTest::newRow("braces and backslash") << QStringLiteral("{a\\b}") << QByteArray("\\{a\\\\b\\}");
        QTest::newRow("tab") << QStringLiteral("A\tB") << QByteArray("A\\tab B");
        // A surrogate without its partner would take the next character with it when read.
        QTest::newRow("lone high surrogate")
            << QString(QChar(0xD800)) + QStringLiteral("x") << QByteArray("\\u-3?x");
        QTest::newRow("lone low surrogate")
            << QStringLiteral("a") + QChar(0xDC00) + QStringLiteral("b") << QByteArray("a\\u-3?b");
        QTest::newRow("high surrogate at the end")
            << QStringLiteral("a") + QChar(0xD834) << QByteArray("a\\u-3?");
        QTest::newRow("high surrogate before a pair") << QString(QChar(0xD800)) + QStringLiteral("\U0001D11E")
                                                      << QByteArray("\\u-3?\\u-10188?\\u-8930?");
    }
    void zeichen() {
        QFETCH(QString, text);
        QFETCH(QByteArray, rtf);
        const QByteArray ganz = rtfVon(text);
        QVERIFY2(ganz.contains(' ' + rtf + '}'), ganz.constData());
        QVERIFY(ganz.contains("\\uc1"));
        for (const char b : ganz)
            QVERIFY2(static_cast<unsigned char>(b) < 0x80, ganz.constData());
    }

    // A run restyled in the report window keeps its style in the file: each style as its RTF
    // control words after the font and size, and nothing else; a paragraph's alignment as its
    // own word.
    void formate_data() {
        QTest::addColumn<QTextCharFormat>("format");
        QTest::addColumn<int>("ausrichtung");
        QTest::addColumn<QString>("woerter"); // after \f<n>\fs<n> of the run
        QTest::addColumn<QString>("absatz");  // after \pard\plain

        const auto mit = [](auto setze) {
            QTextCharFormat f;
            setze(f);
            return f;
        };
        const int links = Qt::AlignLeft;
        QTest::newRow("plain") << QTextCharFormat() << links << ""
                               << "";
        QTest::newRow("bold") << mit([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }) << links
                              << "\\b"
                              << "";
        QTest::newRow("italic") << mit([](QTextCharFormat& f) { f.setFontItalic(true); }) << links << "\\i"
                                << "";
        QTest::newRow("struck out") << mit([](QTextCharFormat& f) { f.setFontStrikeOut(true); }) << links
                                    << "\\strike"
                                    << "";
        QTest::newRow("underlined") << mit([](QTextCharFormat& f) { f.setFontUnderline(true); }) << links
                                    << "\\ul"
                                    << "";
        const std::pair<QTextCharFormat::UnderlineStyle, const char*> striche[] = {
            {QTextCharFormat::DashUnderline, "\\uldash"}, {QTextCharFormat::DotLine, "\\uld"},
            {QTextCharFormat::DashDotLine, "\\uldashd"},  {QTextCharFormat::DashDotDotLine, "\\uldashdd"},
            {QTextCharFormat::WaveUnderline, "\\ulwave"}, {QTextCharFormat::SpellCheckUnderline, ""}};
        for (const auto& [stil, wort] : striche)
            QTest::newRow(qPrintable(QStringLiteral("underline %1").arg(int(stil))))
                << mit([stil = stil](QTextCharFormat& f) { f.setUnderlineStyle(stil); }) << links << wort
                << "";
        QTest::newRow("superscript") << mit([](QTextCharFormat& f) {
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        }) << links << "\\super"
                                     << "";
        QTest::newRow("subscript") << mit([](QTextCharFormat& f) {
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        }) << links << "\\sub"
                                   << "";
        QTest::newRow("bold italic") << mit([](QTextCharFormat& f) {
            f.setFontWeight(QFont::Bold);
            f.setFontItalic(true);
        }) << links << "\\b\\i"
                                     << "";
        QTest::newRow("centred") << QTextCharFormat() << int(Qt::AlignHCenter) << ""
                                 << "\\qc";
        QTest::newRow("right") << QTextCharFormat() << int(Qt::AlignRight) << ""
                               << "\\qr";
        QTest::newRow("justified") << QTextCharFormat() << int(Qt::AlignJustify) << ""
                                   << "\\qj";
    }
    void formate() {
        QFETCH(QTextCharFormat, format);
        QFETCH(int, ausrichtung);
        QFETCH(QString, woerter);
        QFETCH(QString, absatz);
        QTextDocument d;
        d.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        QTextCursor c(&d);
        QTextBlockFormat b;
        b.setAlignment(Qt::Alignment(ausrichtung));
        c.setBlockFormat(b);
        c.insertText(QStringLiteral("Probe"), format);
        const QString r = QString::fromLatin1(rtf::ausDokument(d));
        const QRegularExpression lauf(QStringLiteral("\\\\pard\\\\plain((?:\\\\[a-z]+-?\\d*)*)\\{"
                                                     "\\\\f\\d+\\\\fs\\d+((?:\\\\[a-z]+)*) Probe\\}"));
        const QRegularExpressionMatch m = lauf.match(r);
        QVERIFY2(m.hasMatch(), qPrintable(r));
        QCOMPARE(m.captured(2), woerter);
        QCOMPARE(m.captured(1), absatz);
    }

    void schriftenTabelle() {
        // Each family once, the fixed-width one flagged as such; the default font is \f0.
        QTextDocument d;
        d.setDefaultFont(QFont(QStringLiteral("DejaVu Sans")));
        QTextCursor c(&d);
        c.insertText(QStringLiteral("a"));
        c.insertText(QStringLiteral("b"), schrift(kFest, 15));
        c.insertText(QStringLiteral("c"), schrift(QStringLiteral("DejaVu Sans"), 20));
        c.insertText(QStringLiteral("d"), schrift(kFest, 13));
        const QString r = QString::fromLatin1(rtf::ausDokument(d));

        const QRegularExpression tabelle(QStringLiteral("\\{\\\\fonttbl((?:\\{[^{}]*\\})*)\\}"));
        const QRegularExpressionMatch m = tabelle.match(r);
        QVERIFY2(m.hasMatch(), qPrintable(r));
        const QStringList eintraege = m.captured(1).split(u'}', Qt::SkipEmptyParts);
        QCOMPARE(eintraege.size(), 2);
        QVERIFY2(eintraege[0].startsWith(QStringLiteral("{\\f0\\f")) &&
                     !eintraege[0].contains(QStringLiteral("\\fmodern")) &&
                     eintraege[0].endsWith(QStringLiteral(" DejaVu Sans;")),
                 qPrintable(eintraege[0]));
        QVERIFY2(eintraege[1].startsWith(QStringLiteral("{\\f1\\fmodern")) &&
                     eintraege[1].endsWith(QStringLiteral(" DejaVu Sans Mono;")),
                 qPrintable(eintraege[1]));
        // 15 px at 96 dpi is 11,25 pt: half points round to 22; 20 px are 15 pt.
        QVERIFY2(r.contains(QStringLiteral("{\\f1\\fs22 b}")) &&
                     r.contains(QStringLiteral("{\\f0\\fs30 c}")) &&
                     r.contains(QStringLiteral("{\\f1\\fs20 d}")),
                 qPrintable(r));
    }

    // The page of the user's locale: A4 with 2 cm margins, US Letter with one inch where it is used.
    void papier_data() {
        QTest::addColumn<QString>("gebiet");
        QTest::addColumn<QByteArray>("woerter");
        const QByteArray a4("\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\r\n");
        const QByteArray letter("\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440\r\n");
        QTest::newRow("Germany") << "de_DE" << a4;
        QTest::newRow("Switzerland") << "de_CH" << a4;
        QTest::newRow("United Kingdom") << "en_GB" << a4;
        QTest::newRow("Brazil") << "pt_BR" << a4;
        QTest::newRow("United States") << "en_US" << letter;
        QTest::newRow("Canada, French") << "fr_CA" << letter;
        QTest::newRow("Mexico") << "es_MX" << letter;
    }
    void papier() {
        QFETCH(QString, gebiet);
        QFETCH(QByteArray, woerter);
        QTextDocument d(QStringLiteral("Text"));
        const QByteArray r = rtf::ausDokument(d, QLocale(gebiet));
        // Once, after the tables and before the text.
        QCOMPARE(r.count(woerter), 1);
        QVERIFY2(r.indexOf(woerter) > r.indexOf("{\\*\\generator Skalora;}") &&
                     r.indexOf(woerter) < r.indexOf("\\pard"),
                 r.constData());
    }

    // Writer opens the file on the paper it names, and a lone surrogate in a name costs no
    // neighbour.
    void papierVonLibreOfficeGelesen_data() {
        QTest::addColumn<QString>("gebiet");
        QTest::addColumn<double>("breite"); // mm
        QTest::addColumn<double>("hoehe");
        QTest::newRow("de_DE: A4") << "de_DE" << 210.0 << 297.0;
        QTest::newRow("en_US: Letter") << "en_US" << 215.9 << 279.4;
    }
    void papierVonLibreOfficeGelesen() {
        QFETCH(QString, gebiet);
        QFETCH(double, breite);
        QFETCH(double, hoehe);
        QTextDocument d;
        d.setPlainText(QStringLiteral("Zo") + QChar(0xD800) + QStringLiteral("x Meier: 12,5"));
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("papier.rtf"));
        rtf::schreibe(pfad, d, QLocale(gebiet));
        QString fodt;
        if (!mitWriter(ordner, pfad, QStringLiteral("fodt"), QStringLiteral("fodt"), fodt))
            QSKIP("LibreOffice Writer could not convert the file");
        const auto mass = [&](const char* name) {
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral("fo:%1=\"([0-9.]+)(cm|mm|in)\"").arg(QLatin1String(name)))
                    .match(fodt);
            if (!m.hasMatch())
                return -1.0;
            const double wert = QLocale::c().toDouble(m.captured(1)); // the XML's own syntax
            return m.captured(2) == u"in" ? wert * 25.4 : m.captured(2) == u"cm" ? wert * 10 : wert;
        };
        QVERIFY2(std::abs(mass("page-width") - breite) < 0.1,
                 qPrintable(QString::number(mass("page-width"))));
        QVERIFY2(std::abs(mass("page-height") - hoehe) < 0.1,
                 qPrintable(QString::number(mass("page-height"))));
        QVERIFY2(fodt.contains(QStringLiteral("Zo\uFFFDx Meier: 12,5")), qPrintable(fodt.right(3000)));
    }

    void vonLibreOfficeGelesen() {
        QImage diagramm(60, 40, QImage::Format_RGB32);
        diagramm.fill(QColor(0, 64, 128));
        QTextDocument bericht;
        baueBericht(bericht, diagramm);
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        const QString pfad = ordner.filePath(QStringLiteral("bericht.rtf"));
        rtf::schreibe(pfad, bericht);

        QString html, text;
        QVERIFY(mitWriter(ordner, pfad, QStringLiteral("html"), QStringLiteral("html"), html));
        QVERIFY(
            mitWriter(ordner, pfad, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"), text));

        // Every line as written, blanks included; the picture's paragraph has no text. Writer adds
        // an empty paragraph after a picture that ends a document; empty lines after it are allowed.
        const QStringList zeilen = text.remove(QChar(0xFEFF)).split(u'\n');
        const QStringList erwartet =
            bericht.toPlainText().remove(QChar::ObjectReplacementCharacter).split(u'\n');
        QCOMPARE(zeilen.mid(0, erwartet.size()), erwartet);
        for (const QString& rest : zeilen.mid(erwartet.size()))
            QVERIFY2(rest.isEmpty(), qPrintable(text));

        QTextDocument gelesen;
        gelesen.setHtml(html);
        const QTextCharFormat titel = formatBei(gelesen, QStringLiteral("Auswertung"));
        QVERIFY(titel.fontWeight() >= QFont::Bold);
        QVERIFY(!titel.fontUnderline());
        const QTextCharFormat spiegel = formatBei(gelesen, QStringLiteral("Notenspiegel"));
        QVERIFY(spiegel.fontWeight() >= QFont::Bold);
        QVERIFY(spiegel.fontUnderline());
        const QTextCharFormat name = formatBei(gelesen, QStringLiteral("Müller"));
        QVERIFY(name.fontWeight() < QFont::Bold);
        QVERIFY(!name.fontUnderline());
        QCOMPARE(name.fontFamilies().toStringList().value(0), kFest);
        QCOMPARE(name.fontPointSize(), 11.0);
        QCOMPARE(formatBei(gelesen, QStringLiteral("F:")).foreground().color(), QColor(255, 0, 0));
        QCOMPARE(name.foreground().style(), Qt::NoBrush);

        // Exactly one picture, at the width given and the picture's proportions.
        const QRegularExpression bildMuster(QStringLiteral("<img\\s[^>]*src=\"([^\"]+)\"[^>]*>"));
        QList<QRegularExpressionMatch> bilder;
        for (const QRegularExpressionMatch& m : bildMuster.globalMatch(html))
            bilder << m;
        QCOMPARE(bilder.size(), 1);
        QVERIFY2(bilder[0].captured(0).contains(QStringLiteral("width=\"120\"")) &&
                     bilder[0].captured(0).contains(QStringLiteral("height=\"80\"")),
                 qPrintable(bilder[0].captured(0)));
        const QImage zurueck(ordner.filePath(QStringLiteral("aus/")) + bilder[0].captured(1));
        QCOMPARE(zurueck.size(), diagramm.size());
        QCOMPARE(zurueck.pixelColor(30, 20), QColor(0, 64, 128));
    }

    // The body goes to the device in pieces as it is made; a cancel asked for on the way ends
    // the writing there, and the saved file is never replaced by part of a report.
    void abbruchBeimSchreiben() {
        QObject eltern;
        const QTextDocument* lang = langerBericht(&eltern);
        const qint64 ganz = rtf::ausDokument(*lang).size();

        fortschritt::Stand stand;
        const fortschritt::Bindung bindung(stand);
        AbbrechendesZiel ziel(stand);
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, rtf::schreibe(ziel, *lang));
        QVERIFY(ziel.geschrieben > 0);
        QVERIFY2(ziel.geschrieben < ganz / 2, qPrintable(QString::number(ziel.geschrieben)));

        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("bericht.rtf"));
        QTextDocument kurz(QStringLiteral("alt"));
        stand.abbrechen = false;
        rtf::schreibe(pfad, kurz);
        const QByteArray vorher = rtf::ausDokument(kurz);
        stand.abbrechen = true;
        QVERIFY_THROWS_EXCEPTION(fortschritt::Abgebrochen, rtf::schreibe(pfad, *lang));
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), vorher);
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"bericht.rtf"});
    }

    void fehlgeschlagenesSpeichernLaesstDateiGanz() {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("bericht.rtf"));
        QTextDocument kurz(QStringLiteral("alt"));
        rtf::schreibe(pfad, kurz);
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray vorher = f.readAll();
        f.close();
        QCOMPARE(vorher, rtf::ausDokument(kurz));

        QTextDocument lang(QString(5000, u'x'));
        {
            const Dateigrenze grenze(vorher.size());
            QVERIFY(grenze.aktiv());
            QVERIFY_THROWS_EXCEPTION(Fehler, rtf::schreibe(pfad, lang));
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), vorher);
    }
};

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
