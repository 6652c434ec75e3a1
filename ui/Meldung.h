// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes and the general error report. Every command and dialog button runs through
// Fehlerbericht::ausfuehren, so an error that escapes a handler ends that command, shows its
// German text, and the program goes on. Tests replace the display to read the messages.

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace meldung {

enum class Art { Fehler, Information, Bestaetigung, Ausnahme, Warnfrage };

// Shows a message. Bestaetigung asks Yes/No and returns true for Yes; Warnfrage asks the same
// with No as the default button (Return keeps things as they are); the others return true.
bool zeige(Art art, const QString& text, QWidget* eltern = nullptr);
inline void fehler(const QString& text, QWidget* eltern = nullptr) {
    zeige(Art::Fehler, text, eltern);
}
inline void information(const QString& text, QWidget* eltern = nullptr) {
    zeige(Art::Information, text, eltern);
}

// Replaces the message boxes (for tests); an empty function restores them.
using Anzeige = std::function<bool(Art, const QString&)>;
void setzeAnzeige(Anzeige anzeige);

} // namespace meldung

namespace Fehlerbericht {
// Runs a command; an error it raises is reported and the command ends there. Work the user
// cancelled (fortschritt::Abgebrochen) ends the command without a message.
void ausfuehren(const std::function<void()>& befehl);

// Connects a menu entry's or button's signal to a command that runs through ausfuehren.
template <typename Sender, typename Signal>
void verbinde(Sender* sender, Signal signal, QObject* kontext, std::function<void()> befehl) {
    QObject::connect(sender, signal, kontext, [befehl = std::move(befehl)] { ausfuehren(befehl); });
}
} // namespace Fehlerbericht
