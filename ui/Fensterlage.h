// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps every window of the program on the screen: a window opens at its own position where
// that fits, and is otherwise moved (and, if it is larger than the screen, made smaller) so
// that its whole frame, title bar included, lies inside the screen's available area. The
// main window's own windows open beside it the first time, not stacked over it.

#include <QList>
#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

namespace fensterlage {

// The frame rectangle moved into `verfuegbar` by the least distance; a side longer than the
// available area is cut to it first.
QRect insBild(const QRect& rahmen, const QRect& verfuegbar);

// Where a window of the main window opens the first time: beside the main window where the
// screen has room, otherwise cascaded from it below its menu bar; never exactly over another
// open window. `rahmen` is the window's frame size, `hauptrahmen` the main window's frame,
// `menueUnten` the first screen row below the main window's menu bar, `belegt` the frame
// positions of the other open windows. Gives the frame's top left corner, inside `verfuegbar`.
QPoint nebenHauptfenster(const QSize& rahmen, const QRect& hauptrahmen, int menueUnten,
                         const QList<QPoint>& belegt, const QRect& verfuegbar);

// Watches the application's windows as they are shown (install on qApp).
class Waechter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};

// Moves one window so that its frame lies on its screen; the frame's margins are the window
// manager's once known, until then those of another decorated window.
void insBild(QWidget* fenster);

} // namespace fensterlage
