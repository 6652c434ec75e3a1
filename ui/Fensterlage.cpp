// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fensterlage.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
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

// The main window the window belongs to, through its owners; Qt's own dialogs (messages, files, fonts) centre
// themselves over the window that opens them.
QMainWindow* hauptfensterVon(const QWidget* w) {
    if (!w->parentWidget() || w->inherits("QMessageBox") || w->inherits("QFileDialog") ||
        w->inherits("QFontDialog") || w->inherits("QColorDialog") || w->inherits("QInputDialog") ||
        w->inherits("QProgressDialog") || w->inherits("QAbstractPrintDialog") ||
        w->inherits("QPageSetupDialog") || w->inherits("QPrintPreviewDialog"))
        return nullptr;
    // Also a dialog of a dialog (Hofstee over the grade assignment): centred over its owner it
    // would stand over the main window's title.
    QWidget* oben = w->parentWidget()->window();
    while (oben->parentWidget())
        oben = oben->parentWidget()->window();
    auto* haupt = qobject_cast<QMainWindow*>(oben);
    return haupt && haupt->isVisible() ? haupt : nullptr;
}

const char* const kPlatziert = "fensterlage_platziert";

// The first time a window of the main window is shown: beside the main window. Set as the
// client area's geometry, which the window manager takes as given before it frames the window.
void platziere(QWidget* w) {
    if (w->property(kPlatziert).toBool())
        return;
    w->setProperty(kPlatziert, true);
    QMainWindow* haupt = hauptfensterVon(w);
    const QScreen* schirm = haupt ? haupt->screen() : nullptr;
    if (!schirm)
        return;
    const QMargins m = geschaetzteRaender(w);
    int menueUnten = haupt->geometry().top();
    if (const QWidget* menue = haupt->menuWidget(); menue && menue->isVisible())
        menueUnten += menue->geometry().bottom() + 1;
    QList<QPoint> belegt;
    for (const QWidget* andere : QApplication::topLevelWidgets())
        if (andere != w && andere != haupt && andere->isVisible() && betroffen(andere))
            belegt << andere->frameGeometry().topLeft();
    const QSize rahmen = w->size().grownBy(m);
    const QPoint ecke =
        nebenHauptfenster(rahmen, haupt->frameGeometry(), menueUnten, belegt, schirm->availableGeometry());
    w->setGeometry(QRect(ecke + QPoint(m.left(), m.top()), w->size()));
}

} // namespace

QPoint nebenHauptfenster(const QSize& rahmen, const QRect& hauptrahmen, int menueUnten,
                         const QList<QPoint>& belegt, const QRect& verfuegbar) {
    const int stufe = 24;
    QList<QPoint> kandidaten;
    const QPoint rechts(hauptrahmen.right() + 1, hauptrahmen.top());
    const QPoint links(hauptrahmen.left() - rahmen.width(), hauptrahmen.top());
    if (rechts.x() + rahmen.width() - 1 <= verfuegbar.right())
        kandidaten << rechts;
    if (links.x() >= verfuegbar.left())
        kandidaten << links;
    // Cascaded: the main window's title and menu bar stay in sight.
    kandidaten << QPoint(hauptrahmen.left() + stufe, std::max(menueUnten, hauptrahmen.top() + stufe));
    for (const QPoint& k : std::as_const(kandidaten)) {
        // One step further for every open window that stands at the same place.
        QPoint p = k;
        for (int n = 0; n < 20 && belegt.contains(p); ++n)
            p += QPoint(stufe, stufe);
        const QRect r = insBild(QRect(p, rahmen), verfuegbar);
        // Moved back into the screen, a place beside may come to lie over the main window.
        if (k != kandidaten.constLast() && r.topLeft() != p)
            continue;
        return r.topLeft();
    }
    return insBild(QRect(kandidaten.constLast(), rahmen), verfuegbar).topLeft();
}

void insBild(QWidget* fenster) {
    const QScreen* schirm = fenster->screen();
    if (!schirm)
        return;
    const QMargins m = geschaetzteRaender(fenster);
    const QRect rahmen = fenster->geometry().marginsAdded(m);
    const QRect ziel = insBild(rahmen, schirm->availableGeometry());
    if (ziel == rahmen)
        return;
    // The client area's geometry: before the window manager has framed the window, Qt knows no
    // frame and would take a frame position for the client's (the title bar above the screen).
    const QRect innen = ziel.marginsRemoved(m);
    fenster->setGeometry(QRect(innen.topLeft(), innen.size().expandedTo(fenster->minimumSize())));
}

bool Waechter::eventFilter(QObject* objekt, QEvent* ereignis) {
    const QEvent::Type typ = ereignis->type();
    if ((typ == QEvent::Show || typ == QEvent::Move || typ == QEvent::Resize) && objekt->isWidgetType()) {
        auto* w = static_cast<QWidget*>(objekt);
        if (betroffen(w)) {
            if (typ == QEvent::Show) {
                // Before the window is mapped, so it appears in its place at once.
                if (!ereignis->spontaneous())
                    platziere(w);
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
