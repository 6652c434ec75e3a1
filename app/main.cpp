// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hauptfenster.h"
#include "Programm.h"

#include <QApplication>
#include <QTimer>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt has set the C library's locale from the environment; under a German LC_NUMERIC the
    // libraries that print or read numbers through it (libxlsxwriter's cells) would write
    // decimal commas into formats that need points. The program's own numbers go through
    // zahltext with the user's separators and never need LC_NUMERIC.
    std::setlocale(LC_NUMERIC, "C");
    anwendung::einrichten();
    Programm programm;
    programm.zeige();
    // The desktop starts the program with the record file that was double-clicked; it opens
    // once the main window stands, so an error box appears above it.
    THauptformular* haupt = programm.Hauptformular();
    const QStringList argumente = QCoreApplication::arguments().mid(1);
    QTimer::singleShot(0, haupt, [haupt, argumente] { haupt->oeffneAufruf(argumente); });
    return app.exec();
}
