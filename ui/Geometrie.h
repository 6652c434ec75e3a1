// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window layouts are designed at 120 pixels per inch and scaled to the screen when a
// window is created.

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace geometrie {
double faktor();         // screen dpi / 120
int px(int designPixel); // one design length, scaled
QSize groesse(int breite, int hoehe);
QRect rechteck(int links, int oben, int breite, int hoehe);
// Tahoma (or the closest font the system has), 13 design pixels high.
QFont designSchrift();
// Places a child at design coordinates.
void platziere(QWidget* w, int links, int oben, int breite, int hoehe);
} // namespace geometrie
