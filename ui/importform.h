// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import settings dialog: separator, the four column choices and the title lines of the
// delimited text import. It restores itself when created and saves whenever it closes.

#include "Import.h"

#include <QDialog>

class TEnhancedEdit;
class TLabeledEdit;
class QComboBox;
class QLabel;
class QPushButton;

class TImporteinstellungen : public QDialog {
    Q_OBJECT
public:
    explicit TImporteinstellungen(QWidget* eltern = nullptr);

    QString trennerText() const;
    // Column choices: 0 "Nicht genutzt", 1 to 6 the column.
    int spalteVorname() const;
    int spalteNachname() const;
    int spaltePunkte() const;
    int spalteNote() const;
    int titelzeilen() const;
    // All of them, as the import takes them.
    ImportEinstellungen einstellungen() const;

    TLabeledEdit* trenner;
    QLabel* Label5;
    QLabel *Label1, *Label2, *Label3, *Label4;
    QComboBox *vorname, *nachname, *punkte, *noten;
    TEnhancedEdit* ueberspringen;
    QPushButton* okbut;
    QPushButton* cancelbut;

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void FormCreate();
    void okbutClick();
    void cancelbutClick();
};
