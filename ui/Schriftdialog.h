// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report window's font choice, and the change it makes to the selected text.

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QTextCharFormat>
#include <optional>

class QComboBox;
class QFontDialog;
class QTextDocument;

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

// What the user changed in the font dialog: only these properties are given to the text.
struct Schriftaenderung {
    std::optional<QString> familie;
    std::optional<qreal> punkte;
    std::optional<int> gewicht;
    std::optional<bool> kursiv, unterstrichen, durchgestrichen;
    std::optional<QColor> farbe;

    // The difference between the dialog's font and colour as it opened and as it was confirmed.
    static Schriftaenderung zwischen(const QFont& vorher, const QColor& farbeVorher, const QFont& nachher,
                                     const QColor& farbeNachher);
    bool leer() const;
    QTextCharFormat angewandt(QTextCharFormat format) const;
    // Every character from `von` to `bis` (and the paragraph marks inside) gets the changes;
    // the rest of its format (and pictures) stays.
    void anwenden(QTextDocument& dokument, int von, int bis) const;
};
