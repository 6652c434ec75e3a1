// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tastenweiche.h"

#include "EnhEdit.h"
#include "Hilfe.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QWidget>

namespace tasten {
namespace {

bool mitAlt(const QKeyEvent& taste) {
    const Qt::KeyboardModifiers m = taste.modifiers() & ~Qt::KeypadModifier;
    if (m != Qt::AltModifier)
        return false;
    const int k = taste.key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return true;
    // Umlauts and other letters come with their own key codes.
    return k >= Qt::Key_Agrave && k <= Qt::Key_ydiaeresis;
}

QString beschriftung(const QWidget* w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->buddy() ? l->text() : QString();
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    return {};
}

bool erreichbar(const QWidget* w, const QWidget* fenster) {
    if (w->window() != fenster || !w->isVisible() || !w->isEnabled())
        return false;
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->buddy()->isVisible() && l->buddy()->isEnabled();
    return true;
}

// An enabled action of the window itself bound to the key.
QAction* eigeneAktion(QWidget* fenster, const QKeyEvent& taste) {
    const QKeySequence gesucht(taste.keyCombination());
    for (QAction* a : fenster->findChildren<QAction*>())
        if (a->isEnabled() && a->shortcuts().contains(gesucht))
            return a;
    return nullptr;
}

} // namespace

QWidget* zugriffsziel(QWidget* fenster, const QKeyEvent& taste) {
    if (!fenster || !mitAlt(taste))
        return nullptr;
    const QKeySequence gesucht(taste.keyCombination());
    QList<QWidget*> treffer;
    for (QWidget* w : fenster->findChildren<QWidget*>()) {
        const QString text = beschriftung(w);
        if (!text.isEmpty() && QKeySequence::mnemonic(text) == gesucht && erreichbar(w, fenster))
            treffer.append(w);
    }
    if (treffer.isEmpty())
        return nullptr;
    // The same key on several controls steps from one to the next, as the toolkit's own keys do.
    const qsizetype hier = treffer.indexOf(fenster->focusWidget());
    return treffer[hier < 0 ? 0 : (hier + 1) % treffer.size()];
}

void betaetige(QWidget* ziel) {
    if (auto* l = qobject_cast<QLabel*>(ziel)) {
        l->buddy()->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (auto* g = qobject_cast<QGroupBox*>(ziel)) {
        g->setFocus(Qt::ShortcutFocusReason);
        if (g->isCheckable())
            g->setChecked(!g->isChecked());
        return;
    }
    auto* b = qobject_cast<QAbstractButton*>(ziel);
    if (!b)
        return;
    b->setFocus(Qt::ShortcutFocusReason);
    if (qobject_cast<QPushButton*>(b))
        b->animateClick();
    else
        b->click();
}

QPushButton* standardknopf(QWidget* fenster) {
    if (!fenster)
        return nullptr;
    for (QPushButton* b : fenster->findChildren<QPushButton*>())
        if (b->isDefault() && b->window() == fenster && b->isVisible() && b->isEnabled())
            return b;
    return nullptr;
}

Weiche::Weiche(QWidget* hauptfenster, QObject* eltern) : QObject(eltern), m_haupt(hauptfenster) {}

bool Weiche::istHauptfensterTaste(const QKeyEvent& taste) const {
    if (!m_haupt)
        return false;
    const QKeySequence gesucht(taste.keyCombination());
    for (const QAction* a : m_haupt->findChildren<QAction*>())
        if (a->shortcutContext() != Qt::ApplicationShortcut && a->shortcuts().contains(gesucht))
            return true;
    return false;
}

bool Weiche::eventFilter(QObject* objekt, QEvent* ereignis) {
    const QEvent::Type typ = ereignis->type();
    if ((typ != QEvent::ShortcutOverride && typ != QEvent::KeyPress) || !objekt->isWidgetType())
        return QObject::eventFilter(objekt, ereignis);
    auto* taste = static_cast<QKeyEvent*>(ereignis);
    QWidget* fenster = static_cast<QWidget*>(objekt)->window();
    if (fenster->windowType() == Qt::Popup)
        return false; // menus and completer lists handle their own keys

    if (taste->key() == Qt::Key_F1 && (taste->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // One F1 for every window: no shortcut of the window or of the main window may take it
        // (two would cancel each other out, and a modal window blocks the main window's).
        taste->accept();
        if (typ == QEvent::KeyPress && fenster != hilfe::fenster())
            hilfe::zeige(hilfe::kontextFuer(fenster));
        return true;
    }
    if (typ == QEvent::KeyPress && fenster != m_haupt && fenster->isEnabled() &&
        (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter)) {
        // The numeric field keeps Enter to itself; the window's default button still answers it.
        auto* feld = qobject_cast<TEnhancedEdit*>(objekt);
        if (feld && !feld->ExitOnEnterKey() && !taste->isAutoRepeat())
            if (QPushButton* knopf = standardknopf(fenster)) {
                knopf->click();
                return true;
            }
    }

    if (fenster == m_haupt) {
        // The menu bar takes its Alt keys as shortcuts; what reaches a field here belongs to no menu.
        return typ == QEvent::KeyPress && mitAlt(*taste);
    }
    if (mitAlt(*taste)) {
        if (typ == QEvent::ShortcutOverride) {
            taste->accept(); // no shortcut of another window
            return true;
        }
        if (QWidget* ziel = zugriffsziel(fenster, *taste))
            betaetige(ziel);
        return true; // never typed into a field
    }
    if (istHauptfensterTaste(*taste)) {
        // Qt would offer the main window's shortcut here too; the window's own comes first.
        if (typ == QEvent::ShortcutOverride) {
            taste->accept();
            return true;
        }
        if (QAction* eigene = eigeneAktion(fenster, *taste)) {
            eigene->trigger();
            return true;
        }
    }
    return false;
}

} // namespace tasten
