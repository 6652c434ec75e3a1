// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reportdruck.h"

#include "Dateifehler.h"
#include "Fehler.h"
#include "Fortschritt.h"
#include "Hintergrund.h"
#include "Meldungsfehler.h"
#include "Rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPixmap>
#include <QSaveFile>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <cmath>
#include <memory>
#include <vector>

namespace reportdruck {
namespace {

// The screen's resolution, as Qt's text layout uses it when no device is set: fonts then
// print at the size they are seen, and a picture's width in pixels keeps its meaning.
int bildschirmDpi() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? static_cast<int>(std::lround(s->logicalDotsPerInch())) : 96;
}

QImage messgeraet(int dpi) {
    QImage bild(1, 1, QImage::Format_RGB32);
    const int proMeter = static_cast<int>(std::lround(dpi / 0.0254));
    bild.setDotsPerMeterX(proMeter);
    bild.setDotsPerMeterY(proMeter);
    return bild;
}

// The pictures of a document, collected first: changing a format splits the fragments walked.
struct Bildstelle {
    int position;
    QTextImageFormat format;
};

std::vector<Bildstelle> bildstellen(const QTextDocument& dokument) {
    std::vector<Bildstelle> stellen;
    for (QTextBlock b = dokument.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    stellen.push_back(
                        {it.fragment().position() + i, it.fragment().charFormat().toImageFormat()});
    return stellen;
}

void setzeFormat(QTextDocument& dokument, const Bildstelle& stelle) {
    QTextCursor c(&dokument);
    c.setPosition(stelle.position);
    c.setPosition(stelle.position + 1, QTextCursor::KeepAnchor);
    c.setCharFormat(stelle.format);
}

// Every picture as wide as the text; the height keeps the picture's proportions.
void bilderAufBreite(QTextDocument& dokument, qreal breite) {
    for (Bildstelle& s : bildstellen(dokument)) {
        const QSizeF eigen = rtf::bild(dokument, s.format).size();
        if (eigen.isEmpty())
            continue;
        s.format.setWidth(breite);
        s.format.setHeight(breite * eigen.height() / eigen.width());
        setzeFormat(dokument, s);
    }
}

} // namespace

QMimeData* zwischenablage(const QTextDocument& quelle, int von, int bis) {
    QTextCursor auswahl(const_cast<QTextDocument*>(&quelle)); // only reads: a cursor needs a mutable document
    auswahl.setPosition(von);
    auswahl.setPosition(bis, QTextCursor::KeepAnchor);

    QTextDocument teil;
    teil.setDefaultFont(quelle.defaultFont());
    QTextCursor(&teil).insertFragment(QTextDocumentFragment(auswahl));
    QImage erstesBild;
    for (const Bildstelle& s : bildstellen(teil)) {
        const QUrl name(s.format.name());
        const QImage bild = rtf::bild(quelle, s.format);
        teil.addResource(QTextDocument::ImageResource, name, bild);
        if (erstesBild.isNull())
            erstesBild = bild;
    }

    auto* daten = new QMimeData;
    const QByteArray alsRtf = rtf::ausDokument(teil);
    daten->setData(QStringLiteral("text/rtf"), alsRtf);
    daten->setData(QStringLiteral("application/rtf"), alsRtf);
    QString text = teil.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    daten->setText(text);

    // HTML carries its pictures inline; a name only this document knows means nothing elsewhere.
    for (Bildstelle& s : bildstellen(teil)) {
        QByteArray png;
        QBuffer puffer(&png);
        puffer.open(QIODevice::WriteOnly);
        rtf::bild(teil, s.format).save(&puffer, "PNG");
        s.format.setName(QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64()));
        setzeFormat(teil, s);
    }
    daten->setHtml(teil.toHtml());
    if (!erstesBild.isNull())
        daten->setImageData(erstesBild);
    return daten;
}

void drucke(const QTextDocument& dokument, QPagedPaintDevice& geraet) {
    std::unique_ptr<QTextDocument> kopie(dokument.clone());
    const int dpi = bildschirmDpi();
    QImage masstab = messgeraet(dpi);
    kopie->documentLayout()->setPaintDevice(&masstab);

    // A page size of our own makes Qt print the copy as it is laid out: no margins or page
    // numbers of its own; the device's margins frame the text.
    const QRectF seite = geraet.pageLayout().paintRect(QPageLayout::Inch);
    const QSizeF groesse(seite.width() * dpi, seite.height() * dpi);
    QTextFrameFormat rahmen = kopie->rootFrame()->frameFormat();
    rahmen.setMargin(0);
    kopie->rootFrame()->setFrameFormat(rahmen);
    kopie->setPageSize(groesse);
    bilderAufBreite(*kopie, groesse.width());
    kopie->print(&geraet);
}

namespace {
void schreibePdf(const QString& pfad, const QTextDocument& dokument) {
    QSaveFile datei(pfad);
    fehler::oeffneZumSchreiben(datei);
    {
        QPdfWriter pdf(&datei);
        pdf.setCreator(QStringLiteral("Skalora"));
        pdf.setTitle(QStringLiteral("Report"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        drucke(dokument, pdf);
    }
    if (datei.size() == 0) // the painter could not start: nothing was written
        throw Meldungsfehler(QStringLiteral("Die PDF-Datei konnte nicht erzeugt werden."), datei.fileName());
    fortschritt::pruefe(); // cancelled: the old file stays
    fehler::schliesseAb(datei);
}

// Runs `schreibe` on a worker with a copy of the document: the field may be edited meanwhile,
// and a copy without a parent can move there and back.
template <class Schreiber>
void imHintergrund(const QString& pfad, const QTextDocument& dokument, Schreiber schreibe) {
    std::unique_ptr<QTextDocument> kopie(dokument.clone());
    hintergrund::laufe(
        QApplication::activeWindow(), QStringLiteral("„%1“ wird geschrieben").arg(QFileInfo(pfad).fileName()),
        [&pfad, &kopie, &schreibe] { schreibe(pfad, *kopie); }, kopie.get());
}
} // namespace

void speichereAlsRtf(const QString& pfad, const QTextDocument& dokument) {
    const QLocale gebiet; // the user's, read once for the whole file
    imHintergrund(pfad, dokument, [&gebiet](const QString& ziel, const QTextDocument& kopie) {
        rtf::schreibe(ziel, kopie, gebiet);
    });
}

void speichereAlsPdf(const QString& pfad, const QTextDocument& dokument) {
    imHintergrund(pfad, dokument, schreibePdf);
}

} // namespace reportdruck
