// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report window: an editable rich-text field the report fills, with commands to save it as
// RTF, copy it, restyle it, print it and save it as PDF. Created once, shown modeless; closing
// only hides it, so the text stays for the next time.

#include "Report.h"
#include "Schriftdialog.h"

#include <QFont>
#include <QTextEdit>
#include <QWidget>
#include <memory>

class QAction;
class QFileDialog;
class QMimeData;
class QPrinter;
class QToolBar;

// The report field: besides text it takes pictures from the clipboard, as the chart arrives.
class Reportfeld : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;

    // Inserts clipboard content at `ziel`, as pasting does at the caret.
    void einfuegenBei(QTextCursor& ziel, const QMimeData* quelle);

protected:
    bool canInsertFromMimeData(const QMimeData* quelle) const override;
    void insertFromMimeData(const QMimeData* quelle) override;

private:
    static bool nurBild(const QMimeData* quelle);
    void bildEinfuegen(QTextCursor& ziel, const QMimeData* quelle);
};

class TErgebnis : public QWidget {
    Q_OBJECT
public:
    explicit TErgebnis(QWidget* eltern = nullptr);
    ~TErgebnis() override;

    // What the report run needs: replace the text by the lines, each with its style (what is
    // typed next is plain; the view and the caret stand at the start); paste the clipboard at
    // the end of the text, on a line of its own; show the window without making it modal.
    void zeigeZeilen(const Reportzeilen& zeilen);
    void einfuegen();
    void zeige();

    QToolBar* ToolBar1;
    Reportfeld* report;
    QAction* savebut;
    QAction* copybut;
    QAction* fontbut;
    QAction* closebut;
    QAction* helpbut;
    QAction* druckbut;
    QAction* pdfbut;
    QFileDialog* SaveDialog1;
    QFileDialog* PdfDialog;
    Schriftdialog* FontDialog1;

private:
    void savebutClick();
    void copybutClick();
    void fontbutClick();
    void closebutClick();
    void helpbutClick();
    void druckbutClick();
    void pdfbutClick();

    QAction* neuerKnopf(const QString& name, const QString& bild, const QString& hinweis);

    QFont m_grundschrift;
    std::unique_ptr<QPrinter> m_drucker; // made at the first print: keeps the user's settings
};
