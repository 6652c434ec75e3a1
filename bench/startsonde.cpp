// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded into the real program by bench_start (LD_PRELOAD): at the first shown top-level window
// it prints the monotonic clock and ends the process, so nothing else is measured.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class Startsonde : public QObject {
protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Show && objekt->isWidgetType() &&
            static_cast<QWidget*>(objekt)->isWindow()) {
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                std::chrono::steady_clock::now().time_since_epoch())
                                .count();
            std::printf("shown %lld %s\n", static_cast<long long>(ns), objekt->metaObject()->className());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

void einhaengen() {
    QCoreApplication::instance()->installEventFilter(new Startsonde);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(einhaengen)
