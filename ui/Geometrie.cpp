// SPDX-License-Identifier: GPL-3.0-or-later
#include "Geometrie.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace geometrie {

double faktor() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInch() : 96.0;
    return dpi / 120.0;
}

int px(int designPixel) {
    return static_cast<int>(std::lround(designPixel * faktor()));
}

QSize groesse(int breite, int hoehe) {
    return {px(breite), px(hoehe)};
}

QRect rechteck(int links, int oben, int breite, int hoehe) {
    return {px(links), px(oben), px(breite), px(hoehe)};
}

QFont designSchrift() {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(std::max(1, px(13)));
    return f;
}

void platziere(QWidget* w, int links, int oben, int breite, int hoehe) {
    w->setGeometry(rechteck(links, oben, breite, hoehe));
}

} // namespace geometrie
