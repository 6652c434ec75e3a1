#include "Programm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    anwendung::einrichten();
    Programm programm;
    programm.zeige();
    return app.exec();
}
