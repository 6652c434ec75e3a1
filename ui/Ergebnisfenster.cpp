// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ergebnisfenster.h"

#include "Geometrie.h"
#include "Hilfe.h"
#include "Hintergrund.h"
#include "Meldung.h"
#include "Reportdokument.h"
#include "Reportdruck.h"
#include "Steuerelemente.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>
#include <optional>

bool Reportfeld::canInsertFromMimeData(const QMimeData* quelle) const {
    return quelle->hasImage() || QTextEdit::canInsertFromMimeData(quelle);
}

void Reportfeld::insertFromMimeData(const QMimeData* quelle) {
    if (nurBild(quelle)) {
        QTextCursor c = textCursor();
        bildEinfuegen(c, quelle);
        setTextCursor(c);
    } else {
        QTextEdit::insertFromMimeData(quelle);
    }
}

bool Reportfeld::nurBild(const QMimeData* quelle) {
    // Formatted text that carries pictures goes in as text; a picture alone (the chart) as a picture.
    return quelle->hasImage() && !quelle->hasHtml() && !quelle->hasText();
}

void Reportfeld::einfuegenBei(QTextCursor& ziel, const QMimeData* quelle) {
    if (nurBild(quelle))
        bildEinfuegen(ziel, quelle);
    else if (quelle->hasHtml())
        ziel.insertFragment(QTextDocumentFragment::fromHtml(quelle->html(), document()));
    else if (quelle->hasText())
        ziel.insertText(quelle->text());
}

void Reportfeld::bildEinfuegen(QTextCursor& ziel, const QMimeData* quelle) {
    const QImage bild = qvariant_cast<QImage>(quelle->imageData());
    if (bild.isNull())
        return;
    static int laufend = 0;
    const QUrl name(QStringLiteral("bild%1.png").arg(++laufend));
    document()->addResource(QTextDocument::ImageResource, name, bild);
    QTextImageFormat format;
    format.setName(name.toString());
    ziel.insertImage(format);
}

TErgebnis::TErgebnis(QWidget* eltern) : QWidget(eltern, Qt::Window) {
    setObjectName(QStringLiteral("Ergebnis"));
    setWindowTitle(QStringLiteral("Ergebnis"));
    setFont(geometrie::designSchrift());
    QPalette flaeche = palette();
    flaeche.setColor(QPalette::Window, flaeche.color(QPalette::Button));
    setPalette(flaeche);
    setAutoFillBackground(true);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(geometrie::px(26));
    ToolBar1->setMovable(false);
    savebut = neuerKnopf(QStringLiteral("savebut"), QStringLiteral("speichern"),
                         QStringLiteral("Text im RTF Format speichern"));
    copybut = neuerKnopf(QStringLiteral("copybut"), QStringLiteral("kopieren"),
                         QStringLiteral("Markierten Text in die Zwischenablage kopieren"));
    fontbut = neuerKnopf(QStringLiteral("fontbut"), QStringLiteral("schrift"),
                         QStringLiteral("Font für selektierten Bereich wählen"));
    closebut = neuerKnopf(QStringLiteral("closebut"), QStringLiteral("schliessen"),
                          QStringLiteral("Fenster schließen"));
    helpbut = neuerKnopf(QStringLiteral("helpbut"), QStringLiteral("hilfe"), QString());
    ToolBar1->addSeparator();
    druckbut = neuerKnopf(QStringLiteral("druckbut"), QStringLiteral("drucken"), QStringLiteral("Drucken"));
    pdfbut = neuerKnopf(QStringLiteral("pdfbut"), QStringLiteral("pdf"), QStringLiteral("Als PDF speichern"));

    // Keys for what the toolbar offers, as a word processor has them (Tab never reaches a toolbar).
    savebut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    druckbut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    closebut->setShortcut(QKeySequence(Qt::Key_Escape));

    Fehlerbericht::verbinde(savebut, &QAction::triggered, this, [this] { savebutClick(); });
    Fehlerbericht::verbinde(copybut, &QAction::triggered, this, [this] { copybutClick(); });
    Fehlerbericht::verbinde(fontbut, &QAction::triggered, this, [this] { fontbutClick(); });
    Fehlerbericht::verbinde(closebut, &QAction::triggered, this, [this] { closebutClick(); });
    Fehlerbericht::verbinde(helpbut, &QAction::triggered, this, [this] { helpbutClick(); });
    Fehlerbericht::verbinde(druckbut, &QAction::triggered, this, [this] { druckbutClick(); });
    Fehlerbericht::verbinde(pdfbut, &QAction::triggered, this, [this] { pdfbutClick(); });

    m_grundschrift = reportdokument::grundschrift(geometrie::px(15));

    report = new Reportfeld(this);
    report->setObjectName(QStringLiteral("report"));
    report->setAcceptRichText(true);
    report->setFont(m_grundschrift);
    report->document()->setDefaultFont(m_grundschrift);
    report->setLineWrapMode(QTextEdit::NoWrap);
    report->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report->setCurrentCharFormat(reportdokument::zeilenformat(m_grundschrift, Stil::Normal));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(report);

    SaveDialog1 = steuerelemente::speicherdialog(
        this, QStringLiteral("SaveDialog1"),
        {QStringLiteral("Richedit Dateien (*.rtf)"), QStringLiteral("Alles (*.*)")}, QStringLiteral("rtf"));
    PdfDialog = steuerelemente::speicherdialog(
        this, QStringLiteral("PdfDialog"), {QStringLiteral("PDF Dateien (*.pdf)")}, QStringLiteral("pdf"));
    FontDialog1 = new Schriftdialog(this);

    // Client area 731 x 328 at design resolution, at the top-left corner of the screen.
    resize(geometrie::groesse(731, 328));
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().topLeft());
}

TErgebnis::~TErgebnis() = default;

QAction* TErgebnis::neuerKnopf(const QString& name, const QString& bild, const QString& hinweis) {
    auto* a = new QAction(QIcon(QStringLiteral(":/symbole/bericht_%1.svg").arg(bild)), hinweis, this);
    a->setObjectName(name);
    ToolBar1->addAction(a);
    if (QWidget* knopf = ToolBar1->widgetForAction(a)) {
        knopf->setObjectName(name);
        knopf->setFixedSize(geometrie::px(24), geometrie::px(24));
    }
    return a;
}

void TErgebnis::zeigeZeilen(const Reportzeilen& zeilen) {
    // Filled before the field shows it: a document without a layout takes lines far faster,
    // and a new report is no edit to undo. A long list is filled on a worker; a cancel leaves
    // the report shown before.
    auto neu = std::make_unique<QTextDocument>();
    hintergrund::laufe(
        this, QStringLiteral("Der Report wird gesetzt"),
        [&neu, &zeilen, this] { reportdokument::fuellen(*neu, zeilen, m_grundschrift); }, neu.get());
    neu->setParent(report);

    // An earlier report's document is ours to delete; the field deletes its own first one.
    QTextDocument* alt = report->document();
    const bool unseres = alt->parent() == report;
    report->setDocument(neu.release());
    if (unseres)
        delete alt;
    report->setCurrentCharFormat(reportdokument::zeilenformat(m_grundschrift, Stil::Normal));
}

void TErgebnis::einfuegen() {
    // At the end, on a line of its own, as after the last appended line; the view stays where it is.
    const QMimeData* quelle = QGuiApplication::clipboard()->mimeData();
    if (!quelle)
        return;
    QTextCursor ende(report->document());
    ende.movePosition(QTextCursor::End);
    const QTextCharFormat normal = reportdokument::zeilenformat(m_grundschrift, Stil::Normal);
    ende.beginEditBlock();
    if (!ende.block().text().isEmpty())
        ende.insertBlock(QTextBlockFormat(), normal);
    ende.setCharFormat(normal);
    report->einfuegenBei(ende, quelle);
    ende.endEditBlock();
}

void TErgebnis::zeige() {
    steuerelemente::zeigeNichtmodal(this);
}

void TErgebnis::savebutClick() {
    const auto datei = steuerelemente::frageDatei(SaveDialog1);
    if (!datei)
        return;
    reportdruck::speichereAlsRtf(*datei, *report->document());
}

void TErgebnis::copybutClick() {
    QTextCursor c = report->textCursor();
    if (!c.hasSelection())
        c.select(QTextCursor::Document);
    const int von = c.selectionStart();
    QGuiApplication::clipboard()->setMimeData(
        reportdruck::zwischenablage(*report->document(), von, c.selectionEnd()));
    c.setPosition(von);
    report->setTextCursor(c);
}

void TErgebnis::fontbutClick() {
    QTextCursor c = report->textCursor();
    if (!c.hasSelection()) {
        c.select(QTextCursor::Document);
        report->setTextCursor(c); // a cancelled dialog leaves this selection standing
    }
    // The dialog opens with the font of the selection's first character, and only what the
    // user changes there reaches the text: the headings keep their bold and underline, the
    // columns their fixed-width font.
    const int von = c.selectionStart();
    QTextCursor erstes(report->document());
    erstes.setPosition(std::min(von + 1, c.selectionEnd()));
    const QTextCharFormat format = erstes.charFormat();
    // By the family the system draws: the dialog lists no alias such as "Monospace".
    QFont schrift = format.font().resolve(report->document()->defaultFont());
    schrift.setFamilies({QFontInfo(schrift).family()});
    FontDialog1->setzeSchrift(schrift);
    FontDialog1->setzeFarbe(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                             : QColor(Qt::black));
    const QFont vorher = FontDialog1->schrift();
    const QColor farbeVorher = FontDialog1->farbe();
    if (FontDialog1->exec() != QDialog::Accepted)
        return;
    const reportdokument::Schriftaenderung aenderung = reportdokument::Schriftaenderung::zwischen(
        vorher, farbeVorher, FontDialog1->schrift(), FontDialog1->farbe());
    aenderung.anwenden(*report->document(), von, c.selectionEnd());
    c.setPosition(von);
    report->setTextCursor(c);
}

void TErgebnis::closebutClick() {
    close();
}

void TErgebnis::helpbutClick() {
    hilfe::zeige(400);
}

void TErgebnis::druckbutClick() {
    if (!m_drucker) {
        m_drucker = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_drucker->setDocName(QStringLiteral("Report"));
        m_drucker->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    }
    QPrintDialog dialog(m_drucker.get(), this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    reportdruck::drucke(*report->document(), *m_drucker);
}

void TErgebnis::pdfbutClick() {
    const auto datei = steuerelemente::frageDatei(PdfDialog);
    if (!datei)
        return;
    reportdruck::speichereAlsPdf(*datei, *report->document());
}
