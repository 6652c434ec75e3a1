// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report window's font choice; the change it makes to the text is reportdokument::Schriftaenderung.

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;

// The font dialog: Qt's font choice (name, size, style, underline, strike-out) with a colour
// list beside it, since Qt's dialog has none. The style names are shown in German.
class Schriftdialog : public QDialog {
    Q_OBJECT
public:
    explicit Schriftdialog(QWidget* eltern = nullptr);

    QFont schrift() const;
    void setzeSchrift(const QFont& schrift);
    QColor farbe() const;
    // A colour outside the list is added to it.
    void setzeFarbe(const QColor& farbe);

    // A style name of a font file ("Bold Italic") in German ("Fett Kursiv").
    static QString stilname(const QString& stil);

    QFontDialog* schriftwahl;
    QComboBox* farbwahl;

private:
    void stilfeldDeutsch();
};
