// SPDX-License-Identifier: GPL-3.0-or-later
#include "Programm.h"

#include "Ergebnisfenster.h"
#include "Fensterlage.h"
#include "Geometrie.h"
#include "Hauptfenster.h"
#include "Info.h"
#include "Routinen.h"
#include "Tastenweiche.h"
#include "Zahltext.h"
#include "chartformularunit.h"
#include "einstellungen.h"
#include "grenzfaelleunit.h"
#include "importform.h"
#include "klassenunit.h"
#include "notenvergabe.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

static void initRessourcen() {
    Q_INIT_RESOURCE(symbole);
    Q_INIT_RESOURCE(hilfe);
}

Programm::Programm() {
    initRessourcen();
    m_lage = std::make_unique<fensterlage::Waechter>();
    qApp->installEventFilter(m_lage.get());
    // Created once each in this order; each dialog with stored state restores it as it is made.
    m_haupt = std::make_unique<THauptformular>();
    m_chart = std::make_unique<TChartform>(m_haupt.get());
    m_ergebnis = std::make_unique<TErgebnis>(m_haupt.get());
    m_einstellungen = std::make_unique<Teinstellungsdialog>(m_haupt.get());
    m_klassen = std::make_unique<TKlassenauswertungsform>(m_haupt.get());
    m_info = std::make_unique<Tinfodialog>();
    m_notenvergabe = std::make_unique<Tnotenvergabeform>(m_haupt.get());
    m_import = std::make_unique<TImporteinstellungen>(m_haupt.get());
    m_grenzfaelle = std::make_unique<TGrenzfaelleform>(m_haupt.get());
    m_haupt->verbindeFenster(m_einstellungen.get(), m_notenvergabe.get(), m_import.get());
    m_haupt->verbindeAuswertungsfenster(m_chart.get(), m_ergebnis.get(), m_klassen.get());
    m_haupt->verbindeGrenzfaelle(m_grenzfaelle.get());
    m_tasten = std::make_unique<tasten::Weiche>(m_haupt.get());
    qApp->installEventFilter(m_tasten.get());
}

Programm::~Programm() {
    // The program's end: the settings dialog saves as it is destroyed; the main window goes last.
    m_tasten.reset();
    m_grenzfaelle.reset();
    m_import.reset();
    m_notenvergabe.reset();
    m_klassen.reset();
    m_einstellungen.reset();
    m_ergebnis.reset();
    m_chart.reset();
    m_haupt.reset();
}

void Programm::zeige() {
    m_haupt->show();
}

namespace anwendung {

void einrichten() {
    routinen::ordnerEinrichten();
    QApplication::setApplicationName(QStringLiteral("Skalora"));
    zahltext::uebernehmeGebietsschema(QLocale::system());

    // The windows are laid out for Tahoma; Debian ships a free one with Wine's fonts,
    // outside the folders fontconfig searches.
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        for (const char* datei : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
            if (QFile::exists(QString::fromLatin1(datei)))
                QFontDatabase::addApplicationFont(QString::fromLatin1(datei));
    // One font for everything, menus, message boxes and Qt's own dialogs included.
    QApplication::setFont(geometrie::designSchrift());

    // The interface is German, so Qt's own dialogs and buttons speak German too.
    auto* qt = new QTranslator(qApp);
    if (qt->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

} // namespace anwendung
