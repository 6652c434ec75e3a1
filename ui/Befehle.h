// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's command table: one row per menu entry, from which the menus, the toolbar
// and the connections to the handlers are built, so a command is named in one place.

class THauptformular;

namespace befehle {

// Builds the menu bar, the toolbar and the connections of `fenster` from the table; every
// command runs through the general error report.
void einrichten(THauptformular& fenster);

// Disables (or enables again) every command that reads or changes the list, while long work
// runs on a worker.
void sperren(THauptformular& fenster, bool gesperrt);

} // namespace befehle
