#pragma once
// Dialogs remember their controls between runs: FormularSpeichern writes every control of a
// known kind under a section named after the dialog (its object name), FormularLaden puts the
// values back. Controls are visited in creation order and stored by their object names.

#include <QString>

class QWidget;

// The general forms, with file and section.
void FormularSpeichern(QWidget* dialog, const QString& datei, const QString& abschnitt);
bool FormularLaden(QWidget* dialog, const QString& datei, const QString& abschnitt);

// The program's forms: the settings file and the dialog's object name.
void FormularSpeichern(QWidget* dialog);
bool FormularLaden(QWidget* dialog);
