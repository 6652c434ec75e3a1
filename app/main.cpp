// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hauptfenster.h"
#include "Programm.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
