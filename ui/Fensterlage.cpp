// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fensterlage.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace fensterlage {

QRect insBild(const QRect& rahmen, const QRect& verfuegbar) {
    if (verfuegbar.isEmpty())
        return rahmen;
    QRect r(rahmen.topLeft(), QSize(std::min(rahmen.width(), verfuegbar.width()),
                                    std::min(rahmen.height(), verfuegbar.height())));
    if (r.right() > verfuegbar.right())
        r.moveRight(verfuegbar.right());
    if (r.bottom() > verfuegbar.bottom())
        r.moveBottom(verfuegbar.bottom());
    if (r.left() < verfuegbar.left())
        r.moveLeft(verfuegbar.left());
    if (r.top() < verfuegbar.top())
        r.moveTop(verfuegbar.top());
    return r;
}

namespace {

const char* const kNachpruefen = "fensterlage_nachpruefen";

bool betroffen(const QWidget* w) {
    if (!w->isWindow())
        return false;
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
        return true;
    default:
        return false; // menus, tooltips and the like place themselves
    }
}

QMargins raender(const QWidget* w) {
    const QRect g = w->geometry(), f = w->frameGeometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

bool dekoriert(const QWidget* w) {
    return w->frameGeometry() != w->geometry();
}

// Before the window manager has framed a window its margins are unknown; another window's
// frame is the best guess, as the title bar is what must stay reachable.
QMargins geschaetzteRaender(const QWidget* w) {
    if (dekoriert(w))
        return raender(w);
    for (const QWidget* andere : QApplication::topLevelWidgets())
        if (andere != w && andere->isVisible() && betroffen(andere) && dekoriert(andere))
            return raender(andere);
    return {};
}

} // namespace

void insBild(QWidget* fenster) {
    const QScreen* schirm = fenster->screen();
    if (!schirm)
        return;
    const QMargins m = geschaetzteRaender(fenster);
    const QRect rahmen = fenster->geometry().marginsAdded(m);
    const QRect ziel = insBild(rahmen, schirm->availableGeometry());
    if (ziel == rahmen)
        return;
    if (ziel.size() != rahmen.size())
        fenster->resize(ziel.marginsRemoved(m).size().expandedTo(fenster->minimumSize()));
    fenster->move(ziel.topLeft()); // a window's position is that of its frame
}

bool Waechter::eventFilter(QObject* objekt, QEvent* ereignis) {
    const QEvent::Type typ = ereignis->type();
    if ((typ == QEvent::Show || typ == QEvent::Move || typ == QEvent::Resize) && objekt->isWidgetType()) {
        auto* w = static_cast<QWidget*>(objekt);
        if (betroffen(w)) {
            if (typ == QEvent::Show) {
                // After the window's own show handling, which may place it (a dialog centres
                // itself over its owner); the real frame is known only once the window
                // manager has framed the window, so it is checked again then.
                QTimer::singleShot(0, w, [w] {
                    insBild(w);
                    w->setProperty(kNachpruefen, !dekoriert(w));
                });
            } else if (w->property(kNachpruefen).toBool() && dekoriert(w)) {
                w->setProperty(kNachpruefen, false);
                insBild(w);
            }
        }
    }
    return QObject::eventFilter(objekt, ereignis);
}

} // namespace fensterlage
