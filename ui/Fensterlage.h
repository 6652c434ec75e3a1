// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps every window of the program on the screen: a window opens at its own position where
// that fits, and is otherwise moved (and, if it is larger than the screen, made smaller) so
// that its whole frame, title bar included, lies inside the screen's available area.

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

namespace fensterlage {

// The frame rectangle moved into `verfuegbar` by the least distance; a side longer than the
// available area is cut to it first.
QRect insBild(const QRect& rahmen, const QRect& verfuegbar);

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
