// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TEnhancedEdit: a single-line field that keeps a number in step with its text.
// Every text change (typed, pasted, set by the program, clear()) is parsed into Value and
// ValueInt before geaendert() fires; writing Value, ValueInt, Digits, Format or Precision
// writes the number into the text, which is then parsed again, so Value is always the number
// the text shows. Unreadable or empty text counts as 0; an unreadable one is shown with a red
// frame and the tooltip "Keine gültige Zahl" until the text reads again. A red frame with its
// own tooltip also marks a text typed with an ambiguous thousands separator ("1.000") and a
// value outside the range a caller set (setzeBereich).
// ValueInt is Value truncated toward zero and clamped to the 32-bit range; a Value whose
// truncation does not fit 64 bits sets both to 0.

#include "Gleitformat.h"

#include <QLineEdit>

class TEnhancedEdit : public QLineEdit {
    Q_OBJECT
public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };

    explicit TEnhancedEdit(QWidget* eltern = nullptr);

    // false: the text is filtered to digits, minus signs, separators and at most Digits decimals.
    bool AcceptChars() const { return FAcceptChars; }
    void setAcceptChars(bool wert);
    TAlignment alignmentT() const { return FAlignment; }
    void setAlignmentT(TAlignment wert);
    // 0 to 255: decimals when formatting, limit of decimals when filtering.
    int Digits() const { return FDigits; }
    void setDigits(int wert);
    // Enter moves the focus to the next control. Enter never inserts anything.
    bool ExitOnEnterKey() const { return FExitOnEnterKey; }
    void setExitOnEnterKey(bool wert);
    TFloatFormat Format() const { return FFormat; }
    void setFormat(TFloatFormat wert);
    // false: a disabled field keeps the normal text and background colours.
    bool GrayDisabled() const { return FGrayDisabled; }
    void setGrayDisabled(bool wert);
    // 0 to 255: significant digits when formatting.
    int Precision() const { return FPrecision; }
    void setPrecision(int wert);
    // Esc restores the text the field had when it last received the focus.
    bool UndoOnEscKey() const { return FUndoOnEscKey; }
    void setUndoOnEscKey(bool wert);
    long double Value() const { return FValue; }
    void setValue(long double wert);
    qint32 ValueInt() const { return FValueInt; }
    void setValueInt(qint32 wert);
    // Typed characters other than digits are dropped; pasted text is not filtered.
    bool NumbersOnly() const { return FNumbersOnly; }
    void setNumbersOnly(bool wert);
    // Keyboard focus entry selects the whole text.
    bool AutoSelect() const { return FAutoSelect; }
    void setAutoSelect(bool wert);

    // The text is not empty and holds no number the field can take; Value is 0 then.
    bool Ungueltig() const { return FMarke == Marke::Ungueltig; }
    // The text is readable only by taking a lone thousands separator as one ("1.000" = 1000);
    // never for a text the field wrote itself.
    bool Mehrdeutig() const { return FMarke == Marke::Mehrdeutig; }
    // A readable Value outside the range set by setzeBereich.
    bool AusserhalbBereich() const { return FMarke == Marke::Bereich; }
    // Values from `von` to `bis` are expected; any other is marked with the tooltip `hinweis`.
    void setzeBereich(long double von, long double bis, const QString& hinweis);

    // The clipboard text up to its first control character replaces the selection.
    void einfuegen();

signals:
    // After Value and ValueInt were updated from a changed text.
    void geaendert();

protected:
    void keyPressEvent(QKeyEvent* ereignis) override;
    void focusInEvent(QFocusEvent* ereignis) override;
    void contextMenuEvent(QContextMenuEvent* ereignis) override;
    void paintEvent(QPaintEvent* ereignis) override;

private:
    void textGeaendert();
    void zeigeWert(long double wert);
    void faerbeDeaktiviert();
    enum class Marke { Keine, Ungueltig, Mehrdeutig, Bereich };
    void markiere(Marke marke, const QString& hinweis);

    bool FAcceptChars = true;
    TAlignment FAlignment = taLeftJustify;
    int FDigits = 2;
    bool FExitOnEnterKey = false;
    TFloatFormat FFormat = TFloatFormat::ffNumber;
    bool FGrayDisabled = true;
    int FPrecision = 8;
    bool FUndoOnEscKey = false;
    long double FValue = 0;
    qint32 FValueInt = 0;
    bool FNumbersOnly = false;
    bool FAutoSelect = true;
    QString FUndoText;
    bool FFiltert = false;
    Marke FMarke = Marke::Keine;
    QString FEigenerTooltip;
    QString FGeschrieben; // the text the field wrote last from a Value
    bool FMitBereich = false;
    long double FVon = 0, FBis = 0;
    QString FBereichHinweis;
};
