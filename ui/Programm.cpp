#include "Programm.h"

#include "Hauptfenster.h"
#include "Zahltext.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

static void initRessourcen() {
    Q_INIT_RESOURCE(symbole);
    Q_INIT_RESOURCE(hilfe);
}

Programm::Programm() {
    initRessourcen();
    m_haupt = std::make_unique<THauptformular>();
}

Programm::~Programm() {
    // Reverse order of creation; the main window goes last.
    m_haupt.reset();
}

void Programm::zeige() { m_haupt->show(); }

namespace anwendung {

void einrichten() {
    QApplication::setApplicationName(QStringLiteral("Skalora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Skalora"));
    zahltext::uebernehmeGebietsschema(QLocale::system());

    // The interface is German, so Qt's own dialogs and buttons speak German too.
    auto* qt = new QTranslator(qApp);
    if (qt->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

} // namespace anwendung
