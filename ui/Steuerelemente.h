// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small controls the dialogs share: a labelled edit, a check box whose caption wraps,
// a check list box, and buttons with a picture 8 pixels from their left edge.

#include "Gleitformat.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <optional>

class QLabel;
class QTableView;
class TEnhancedEdit;

// A single-line edit with its label above it.
class TLabeledEdit : public QLineEdit {
    Q_OBJECT
public:
    TLabeledEdit(const QString& beschriftung, QWidget* eltern);
    QLabel* EditLabel() const { return m_label; }

protected:
    void moveEvent(QMoveEvent* e) override;

private:
    void setzeLabel();
    QLabel* m_label;
};

// A check box whose caption wraps inside the box's width.
class UmbruchCheckBox : public QCheckBox {
    Q_OBJECT
public:
    UmbruchCheckBox(const QString& text, QWidget* eltern);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    QLabel* m_text;
};

// A list whose items carry check marks.
class TCheckListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;
    void fuegeHinzu(const QString& text, bool angehakt = false);
    bool angehakt(int i) const;
    void setzeAngehakt(int i, bool an);
};

// Builders for the dialogs; positions are design coordinates.
namespace steuerelemente {
// A push button with a picture from the resources (":/symbole/<bild>.svg").
QPushButton* knopf(QWidget* eltern, const QString& name, const QString& text, const QString& bild, int links,
                   int oben, int breite, int hoehe);
// A right-aligned numeric field; `nurZiffern` takes digit keys only.
TEnhancedEdit* zahlfeld(QWidget* eltern, const QString& name, int links, int oben, int breite, int hoehe,
                        bool nurZiffern, int digits, TFloatFormat format, long double wert);
QLabel* beschriftung(QWidget* eltern, const QString& name, const QString& text, int links, int oben);
// Tab order in the order given.
void tabReihenfolge(std::initializer_list<QWidget*> reihe);
// The grid set-up the windows share: one contiguous range of cells marked, no wrapping, no row
// header, rows of one fixed height for the font (fast with a hundred thousand rows), column
// headers left-aligned that neither light up nor take clicks (the header is the fixed row).
void richteRasterEin(QTableView* raster);
// Shows a window without blocking, or brings it forward when it stands open.
void zeigeNichtmodal(QWidget* fenster);
// Qt's own file dialog (the same on every desktop), for opening an existing file or saving.
QFileDialog* dateidialog(QWidget* eltern, const QString& name, QFileDialog::AcceptMode modus,
                         const QStringList& filter);
// A save dialog that replaces an existing file without asking; a name typed without extension
// gets `endung`.
QFileDialog* speicherdialog(QWidget* eltern, const QString& name, const QStringList& filter,
                            const QString& endung);
// The file chosen in a dialog that has run, or nothing when cancelled. Folder and name are
// kept for the next use, as the classic dialogs do.
std::optional<QString> gewaehlteDatei(QFileDialog* dialog, int ergebnis, const QStringList& gewaehlt);
// Runs the dialog modally: the chosen file, as gewaehlteDatei gives it.
std::optional<QString> frageDatei(QFileDialog* dialog);
} // namespace steuerelemente
