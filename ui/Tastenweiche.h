// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Routes the keyboard the way a desktop user expects: Alt+letter presses the control with that
// access key in the active window and never types into a field, and the main window's menu
// keys and shortcuts act only while the main window is active. (Qt lets a tool window share
// its parent's shortcuts, so Alt+D in a dialog would open the main window's "&Datei" menu.)
// F1 opens the help page of the active window, in every window, modal ones included; Return
// in a numeric field presses the window's default button, as in any other field.

#include <QChar>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QPushButton;
class QWidget;

namespace tasten {

// The control of `fenster` whose caption has the access key of `taste` (a key press with Alt):
// a button, check box or radio item, or the field a label names. Only visible, enabled
// controls of that window count; none gives nullptr. Among several, the one after the focus.
QWidget* zugriffsziel(QWidget* fenster, const QKeyEvent& taste);

// Presses the control (a button is clicked, a check box toggled, a radio item chosen) or, for
// a label, moves the focus to its field.
void betaetige(QWidget* ziel);

// The enabled, visible default button of `fenster`, or nullptr.
QPushButton* standardknopf(QWidget* fenster);

// Installed on qApp.
class Weiche : public QObject {
public:
    explicit Weiche(QWidget* hauptfenster, QObject* eltern = nullptr);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    bool istHauptfensterTaste(const QKeyEvent& taste) const;
    QPointer<QWidget> m_haupt;
};

} // namespace tasten
