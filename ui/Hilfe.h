// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's help: a context number opens a German page from the resources in one
// help window (100 main window, 200 class evaluation, 300 settings, 400 report, 32000 about box).
// Opened while a modal dialog stands, the help window belongs to that dialog, so it can be used.

class QWidget;
class QTextBrowser;

namespace hilfe {
void zeige(int kontext);
// The help page of the window `w` belongs to: 200 class evaluation, 300 settings and import
// settings, 400 report, 500 borderline cases, 510 Hofstee, 600 grade assignment, 32000 about
// box, 100 for the main window and every other window.
int kontextFuer(const QWidget* w);
// The help window, created at the first call of zeige (for tests).
QTextBrowser* fenster();
int letzterKontext();
} // namespace hilfe
