// SPDX-License-Identifier: GPL-3.0-or-later
#include "Info.h"

#include "Aktualisierer.h"
#include "Aktualisierung.h"
#include "Dateifehler.h"
#include "Fehler.h"
#include "Geometrie.h"
#include "Hilfe.h"
#include "Konfiguration.h"
#include "Meldung.h"
#include "Steuerelemente.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QUrl>
#include <cerrno>

using aktualisierung::Text;

namespace {
// The version file holds one number; an archive is a few megabytes. Anything far beyond is not ours.
constexpr qint64 kVersionGrenze = 64 * 1024;
constexpr qint64 kArchivGrenze = 500LL * 1024 * 1024;

QLabel* zeile(QWidget* eltern, const QString& name, const QString& hinweis, int oben) {
    auto* l = new QLabel(eltern);
    l->setObjectName(name);
    l->setToolTip(hinweis);
    QFont f = geometrie::designSchrift();
    f.setPixelSize(std::max(1, geometrie::px(15)));
    l->setFont(f);
    geometrie::platziere(l, 16, oben, 465, 22);
    return l;
}

// "Anzeige|Muster|Anzeige|Muster" as the file dialog's name filters.
QStringList namensfilter(const QString& filter) {
    const QStringList teile = filter.split(u'|');
    QStringList r;
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2)
        r << (teile[i].contains(u'(') ? teile[i] : teile[i] + QStringLiteral(" (") + teile[i + 1] + u')');
    return r;
}
} // namespace

Tinfodialog::Tinfodialog(QWidget* eltern, routinen::Sprache sprache) : QDialog(eltern) {
    setObjectName(QStringLiteral("InfoDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(geometrie::designSchrift());
    setFixedSize(geometrie::groesse(489, 194));

    Versionlabel = zeile(this, QStringLiteral("Versionlabel"),
                         QStringLiteral("Geben Sie diese Informationen bei Kontaktaufnahme an"), 12);
    Datumlabel =
        zeile(this, QStringLiteral("Datumlabel"), QStringLiteral("Speicherdatum dieser Version"), 36);
    Copyrightlabel = zeile(this, QStringLiteral("Copyrightlabel"),
                           QStringLiteral("Der Programmierer dieses Programmes"), 60);
    Copyrightlabel->setText(konfiguration::autorzeile());
    Homepagelabel = zeile(this, QStringLiteral("Homepagelabel"),
                          QStringLiteral("Die Homepage mit interessanten Themen"), 84);

    okbut = steuerelemente::knopf(this, QStringLiteral("okbut"), QStringLiteral("&OK"),
                                  QStringLiteral("info_ok"), 16, 124, 75, 32);
    okbut->setDefault(true);
    getnewversion =
        steuerelemente::knopf(this, QStringLiteral("getnewversion"), QStringLiteral("&Neue Version"),
                              QStringLiteral("info_neu"), 99, 124, 121, 32);
    getnewversion->setToolTip(QStringLiteral("Holt eine neue Version dieses Programmes über das Internet"));
    homepagebut = steuerelemente::knopf(this, QStringLiteral("homepagebut"), QStringLiteral("&Homepage"),
                                        QStringLiteral("info_homepage"), 228, 124, 110, 32);
    homepagebut->setToolTip(QStringLiteral("Springt zur Homepage des Autors"));
    emailbut = steuerelemente::knopf(this, QStringLiteral("emailbut"), QStringLiteral("&Mail schreiben"),
                                     QStringLiteral("info_mail"), 346, 124, 120, 32);
    emailbut->setToolTip(QStringLiteral("Schreibt E-Mail an den Autor"));
    steuerelemente::tabReihenfolge({okbut, getnewversion, homepagebut, emailbut});

    Statusbar = new QStatusBar(this);
    Statusbar->setObjectName(QStringLiteral("Statusbar"));
    Statusbar->setSizeGripEnabled(false);
    geometrie::platziere(Statusbar, 0, 194 - 20, 489, 20);

    Http = new Aktualisierer(this);
    Http->setObjectName(QStringLiteral("Http"));
    m_version = new QBuffer(this);
    FDownloadBasis = konfiguration::downloadBasis();
    oeffne = [](const QUrl& adresse) { return QDesktopServices::openUrl(adresse); };

    Fehlerbericht::verbinde(okbut, &QPushButton::clicked, this, [this] { Okbutclick(); });
    Fehlerbericht::verbinde(getnewversion, &QPushButton::clicked, this, [this] { Getnewversionclick(); });
    Fehlerbericht::verbinde(homepagebut, &QPushButton::clicked, this, [this] { Homepagebutclick(); });
    Fehlerbericht::verbinde(emailbut, &QPushButton::clicked, this, [this] { Emailbutclick(); });
    connect(Http, &Aktualisierer::laenge, this, [this](qint32 bytes) { FDownloadGroesse = bytes; });
    connect(Http, &Aktualisierer::fortschritt, this, &Tinfodialog::httpWork);
    connect(Http, &Aktualisierer::fertig, this, [this](bool erfolg) {
        schritt([&] { m_archiv ? archivGeholt(erfolg) : versionGeholt(erfolg); });
    });
    // In the program the key routing opens the help for F1 in every window; a box standing
    // alone has its own key.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [] { hilfe::zeige(32000); });

    FormCreate(sprache);
}

Tinfodialog::~Tinfodialog() = default;

void Tinfodialog::FormCreate(routinen::Sprache sprache) {
    FArchivName = aktualisierung::mitEndung(
        QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower(), QStringLiteral(".zip"));
    FHomepage = konfiguration::herstellerHomepage();
    FMailAdresse = konfiguration::mailAdresse();
    if (sprache != routinen::Sprache::Deutsch) {
        getnewversion->setText(QStringLiteral("&Get new version"));
        homepagebut->setText(QStringLiteral("Visit &homepage"));
        emailbut->setText(QStringLiteral("Send &email"));
        aktualisierung::waehleSprache(sprache);
    }
}

void Tinfodialog::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    if (!ereignis->spontaneous())
        FormShow();
}

void Tinfodialog::FormShow() {
    setWindowTitle(aktualisierung::text(Text::Titel) + QGuiApplication::applicationDisplayName());
    routinen::Versionstext(FVersionText);
    Versionlabel->setText(QStringLiteral("Version : ") + FVersionText);
    Homepagelabel->setText(QStringLiteral("Homepage: ") + FHomepage);
    const QDateTime geaendert = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    const QLocale ort;
    Datumlabel->setText(aktualisierung::text(Text::Datum) +
                        ort.toString(geaendert, ort.dateFormat(QLocale::ShortFormat) + u' ' +
                                                    ort.timeFormat(QLocale::LongFormat)));
}

void Tinfodialog::closeEvent(QCloseEvent* ereignis) {
    // The box goes away with this close: whatever its check still does ends first.
    if (m_pruefung) {
        Http->abbrechen();
        pruefungEnde();
    }
    QDialog::closeEvent(ereignis);
}

void Tinfodialog::keyPressEvent(QKeyEvent* ereignis) {
    // Escape does not close the about box.
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
        ereignis->ignore();
        return;
    }
    QDialog::keyPressEvent(ereignis);
}

void Tinfodialog::Okbutclick() {
    close();
}

void Tinfodialog::Homepagebutclick() {
    if (!oeffne(QUrl(FHomepage)))
        meldung::information(
            QStringLiteral("Die Homepage kann nicht geöffnet werden: Es ist kein Webbrowser eingerichtet.\n"
                           "Adresse: %1")
                .arg(FHomepage),
            this);
}

void Tinfodialog::Emailbutclick() {
    if (!oeffne(QUrl(QStringLiteral("mailto:") + FMailAdresse)))
        meldung::information(
            QStringLiteral("Die Mail kann nicht geschrieben werden: Es ist kein Mailprogramm eingerichtet.\n"
                           "Adresse: %1")
                .arg(FMailAdresse),
            this);
}

void Tinfodialog::httpWork(qint64 bisher) {
    Statusbar->showMessage(aktualisierung::fortschritt(bisher, FDownloadGroesse));
}

void Tinfodialog::Getnewversionclick() {
    if (m_pruefung)
        return;
    m_pruefung = true;
    m_version->close();
    m_version->setData(QByteArray());
    m_version->open(QIODevice::WriteOnly);
    Http->hole(QUrl(FDownloadBasis + aktualisierung::mitEndung(FArchivName, QStringLiteral(".ver"))),
               m_version, kVersionGrenze);
}

void Tinfodialog::schritt(const std::function<void()>& befehl) {
    Fehlerbericht::ausfuehren([&] {
        try {
            befehl();
        } catch (...) {
            // An error ends the check, so the button works again.
            pruefungEnde();
            throw;
        }
    });
}

void Tinfodialog::endeMit(const QString& text) {
    if (melde(text))
        pruefungEnde();
}

bool Tinfodialog::melde(const QString& text) {
    QPointer<Tinfodialog> selbst(this);
    meldung::information(text, this);
    // Closed while the message stood: the check is over.
    return selbst && m_pruefung;
}

void Tinfodialog::versionGeholt(bool erfolg) {
    std::optional<double> server;
    if (erfolg)
        server = aktualisierung::serverVersion(m_version->data());
    m_version->close();
    std::optional<double> eigene;
    if (double nummer = 0; routinen::Versionsnummer(nummer))
        eigene = nummer;

    switch (aktualisierung::entscheide(server, eigene)) {
    case aktualisierung::Folge::Verbindungsproblem:
        // A file that came but holds no version is no connection problem.
        endeMit(aktualisierung::ohneServerversion(erfolg));
        return;
    case aktualisierung::Folge::Ende:
        pruefungEnde();
        return;
    case aktualisierung::Folge::KeineNeuere:
        endeMit(aktualisierung::text(Text::KeineNeuere));
        return;
    case aktualisierung::Folge::Frage:
        break;
    }
    m_eigene = *eigene;
    m_server = *server;
    QPointer<Tinfodialog> selbst(this);
    const bool ja =
        meldung::zeige(meldung::Art::Bestaetigung, aktualisierung::frage(m_eigene, m_server), this);
    if (!selbst || !m_pruefung)
        return;
    if (!ja)
        return pruefungEnde();

    // The archive goes to a temporary file as it arrives; only a complete one is offered for saving.
    m_archiv = std::make_unique<QTemporaryFile>();
    if (!m_archiv->open()) {
        endeMit(aktualisierung::text(Text::Verbindungsproblem));
        return;
    }
    Http->hole(QUrl(FDownloadBasis + FArchivName), m_archiv.get(), kArchivGrenze);
}

void Tinfodialog::archivGeholt(bool erfolg) {
    if (!erfolg || !m_archiv->flush()) {
        endeMit(aktualisierung::text(Text::Verbindungsproblem));
        return;
    }
    const QString programm = QCoreApplication::applicationFilePath();
    // The chosen name gets ".zip" afterwards, so a question about the typed name would mislead.
    m_speichern = steuerelemente::speicherdialog(this, QStringLiteral("SaveDialog"),
                                                 namensfilter(aktualisierung::text(Text::Filter)),
                                                 QStringLiteral("zip"));
    m_speichern->setDirectory(QFileInfo(programm).absolutePath());
    m_speichern->selectFile(aktualisierung::mitEndung(programm, QStringLiteral(".zip")));
    connect(m_speichern, &QFileDialog::fileSelected, this,
            [this](const QString& datei) { schritt([&] { archivSpeichern(datei); }); });
    connect(m_speichern, &QFileDialog::rejected, this, &Tinfodialog::pruefungEnde);
    m_speichern->open();
}

void Tinfodialog::archivSpeichern(const QString& gewaehlt) {
    const QString datei = aktualisierung::mitEndung(gewaehlt, QStringLiteral(".zip"));
    try {
        QSaveFile ziel(datei);
        fehler::oeffneZumSchreiben(ziel);
        if (!m_archiv->seek(0))
            fehler::wirfDateifehler(*m_archiv, errno);
        while (!m_archiv->atEnd()) {
            const QByteArray stueck = m_archiv->read(64 * 1024);
            if (stueck.isEmpty())
                fehler::wirfDateifehler(*m_archiv, errno);
            fehler::schreibeAlles(ziel, stueck);
        }
        fehler::schliesseAb(ziel);
    } catch (const Fehler&) {
        endeMit(aktualisierung::text(Text::Verbindungsproblem));
        return;
    }
    if (!oeffne(QUrl::fromLocalFile(datei)) && !melde(aktualisierung::text(Text::Entpacker)))
        return;
    endeMit(aktualisierung::nachDownload(m_eigene, m_server));
}

void Tinfodialog::pruefungEnde() {
    m_pruefung = false;
    m_archiv.reset();
    if (m_speichern) {
        m_speichern->disconnect(this);
        m_speichern->hide();
        m_speichern->deleteLater();
        m_speichern = nullptr;
    }
}
