// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialogs remember their controls between runs: FormularSpeichern writes every control of a
// known kind under a section named after the dialog (its object name), FormularLaden puts the
// values back. Controls are visited in creation order and stored by their object names.

#include <QString>

class QWidget;

// The general forms, with file and section. A file that can't be read or written raises Fehler.
void FormularSpeichern(QWidget* dialog, const QString& datei, const QString& abschnitt);
bool FormularLaden(QWidget* dialog, const QString& datei, const QString& abschnitt);

// The program's forms: the settings file and the dialog's object name.
//
// A failed save never stops the command it belongs to ("OK" still closes the dialog and the
// grades are still given): FormularSpeichern raises nothing and reports the failure itself,
// with the file error (which names the settings file) and that the file could not be written.
// Inside a command the message waits until the command has run, that is until the event loop
// takes over again; at the program's end, with no event loop left, it shows at once. The same
// message waiting twice (a dialog saved by its button and again by its closing) shows once.
void FormularSpeichern(QWidget* dialog);
bool FormularLaden(QWidget* dialog);

// The message of a failed save of the settings file, for the file error `dateifehler`.
QString speicherfehlerText(const QString& dateifehler);
