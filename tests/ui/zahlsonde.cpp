// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded into the real program by tst_programmstart (LD_PRELOAD): at the first shown window it
// prints the C library's numeric and character locales and how the C library writes and reads
// 1.5 there, then ends the process.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

class Zahlsonde : public QObject {
protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show && objekt->isWidgetType() &&
            static_cast<QWidget*>(objekt)->isWindow()) {
            const char* numerisch = std::setlocale(LC_NUMERIC, nullptr);
            const char* zeichen = std::setlocale(LC_CTYPE, nullptr);
            char geschrieben[32];
            std::snprintf(geschrieben, sizeof geschrieben, "%.1f", 1.5);
            std::printf("LC_NUMERIC=%s LC_CTYPE=%s schreibt=%s liest=%d\n", numerisch ? numerisch : "?",
                        zeichen ? zeichen : "?", geschrieben, std::strtod("1.5", nullptr) == 1.5);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

void einhaengen() {
    QCoreApplication::instance()->installEventFilter(new Zahlsonde);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(einhaengen)
