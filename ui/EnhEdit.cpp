// SPDX-License-Identifier: GPL-3.0-or-later
#include "EnhEdit.h"

#include "Zahleingabe.h"
#include "Zahltext.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <cmath>

TEnhancedEdit::TEnhancedEdit(QWidget* eltern) : QLineEdit(eltern) {
    setAlignmentT(FAlignment);
    connect(this, &QLineEdit::textChanged, this, &TEnhancedEdit::textGeaendert);
}

void TEnhancedEdit::setAcceptChars(bool wert) {
    FAcceptChars = wert;
    textGeaendert();
}

void TEnhancedEdit::setAlignmentT(TAlignment wert) {
    FAlignment = wert;
    const Qt::Alignment h = wert == taRightJustify ? Qt::AlignRight
                            : wert == taCenter     ? Qt::AlignHCenter
                                                   : Qt::AlignLeft;
    setAlignment(h | Qt::AlignVCenter);
}

void TEnhancedEdit::setDigits(int wert) {
    wert = std::clamp(wert, 0, 255);
    if (wert == FDigits)
        return;
    FDigits = wert;
    zeigeWert(FValue);
}

void TEnhancedEdit::setExitOnEnterKey(bool wert) {
    FExitOnEnterKey = wert;
}

void TEnhancedEdit::setFormat(TFloatFormat wert) {
    if (wert == FFormat)
        return;
    FFormat = wert;
    zeigeWert(FValue);
}

void TEnhancedEdit::setGrayDisabled(bool wert) {
    if (wert == FGrayDisabled)
        return;
    FGrayDisabled = wert;
    faerbeDeaktiviert();
}

void TEnhancedEdit::setPrecision(int wert) {
    wert = std::clamp(wert, 0, 255);
    if (wert == FPrecision)
        return;
    FPrecision = wert;
    zeigeWert(FValue);
}

void TEnhancedEdit::setUndoOnEscKey(bool wert) {
    FUndoOnEscKey = wert;
}

void TEnhancedEdit::setValue(long double wert) {
    if (wert == FValue)
        return;
    FValue = wert;
    zeigeWert(wert);
}

void TEnhancedEdit::setValueInt(qint32 wert) {
    if (wert == FValueInt)
        return;
    FValueInt = wert;
    zeigeWert(wert);
}

void TEnhancedEdit::setNumbersOnly(bool wert) {
    FNumbersOnly = wert;
}

void TEnhancedEdit::setAutoSelect(bool wert) {
    FAutoSelect = wert;
}

// Writes the number and parses the text again, so Value becomes what is shown. A text
// equal to the present one raises no change signal, hence the explicit parse.
void TEnhancedEdit::zeigeWert(long double wert) {
    const QString neu =
        std::isfinite(wert) ? formatiereGleitkomma(wert, FFormat, FPrecision, FDigits) : QString();
    FGeschrieben = neu;
    if (neu == text())
        textGeaendert();
    else
        setText(neu);
    update();
}

void TEnhancedEdit::textGeaendert() {
    // The filter's own rewrite of the text is parsed by the call that made it.
    if (FFiltert)
        return;
    const zahleingabe::Ergebnis e = zahleingabe::auswerten(text(), FAcceptChars, FDigits);
    if (e.text != text()) {
        const int caret = cursorPosition();
        FFiltert = true;
        setText(e.text);
        FFiltert = false;
        setCursorPosition(static_cast<int>(std::min<qsizetype>(caret, e.text.size())));
    }
    FValue = e.lesung.wert;
    FValueInt = e.lesung.ganz;
    if (!e.lesung.lesbar) {
        markiere(Marke::Ungueltig, QStringLiteral("Keine gültige Zahl"));
    } else if (e.lesung.mehrdeutig && text() != FGeschrieben) {
        const auto& t = zahltext::trennzeichen();
        markiere(
            Marke::Mehrdeutig,
            QStringLiteral("Mehrdeutig: „%1“ gilt als Tausendertrennzeichen, gelesen wird %2. "
                           "Eine Dezimalzahl bitte mit „%3“ schreiben.")
                .arg(QString(t.tausender), zahltext::kurz(static_cast<double>(FValue)), QString(t.dezimal)));
    } else if (FMitBereich && !(FValue >= FVon && FValue <= FBis)) {
        markiere(Marke::Bereich, FBereichHinweis);
    } else {
        markiere(Marke::Keine, {});
    }
    emit geaendert();
}

void TEnhancedEdit::setzeBereich(long double von, long double bis, const QString& hinweis) {
    FMitBereich = true;
    FVon = von;
    FBis = bis;
    FBereichHinweis = hinweis;
    textGeaendert();
}

// The tooltip a caller set stays underneath and comes back once the mark goes.
void TEnhancedEdit::markiere(Marke marke, const QString& hinweis) {
    if (FMarke == Marke::Keine && marke != Marke::Keine)
        FEigenerTooltip = toolTip();
    if (marke != Marke::Keine)
        setToolTip(hinweis);
    else if (FMarke != Marke::Keine)
        setToolTip(FEigenerTooltip);
    if (marke != FMarke)
        update();
    FMarke = marke;
}

// Drawn over the platform's own frame, so the field keeps its look otherwise.
void TEnhancedEdit::paintEvent(QPaintEvent* ereignis) {
    QLineEdit::paintEvent(ereignis);
    if (FMarke == Marke::Keine)
        return;
    QPainter maler(this);
    maler.setPen(QPen(QColor(220, 0, 0), 2));
    maler.setBrush(Qt::NoBrush);
    maler.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void TEnhancedEdit::einfuegen() {
    if (isReadOnly())
        return;
    QString s = QGuiApplication::clipboard()->text();
    const auto ende = std::find_if(s.cbegin(), s.cend(), [](QChar c) { return c.unicode() < 32; });
    s.truncate(ende - s.cbegin());
    if (!s.isEmpty())
        insert(s);
    else if (hasSelectedText())
        del();
}

void TEnhancedEdit::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->matches(QKeySequence::Paste)) {
        einfuegen();
        ereignis->accept();
        return;
    }
    const int taste = ereignis->key();
    if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
        // Enter is the field's own key: never a line break, never the dialog's default button.
        ereignis->accept();
        if (FExitOnEnterKey)
            focusNextChild();
        return;
    }
    if (taste == Qt::Key_Escape && FUndoOnEscKey) {
        setText(FUndoText);
        ereignis->accept();
        return;
    }
    if (FNumbersOnly) {
        const QString zeichen = ereignis->text();
        const bool fremd = std::any_of(zeichen.cbegin(), zeichen.cend(), [](QChar c) {
            return c.unicode() >= 32 && c.unicode() != 127 && !(c >= u'0' && c <= u'9');
        });
        if (fremd) {
            ereignis->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(ereignis);
}

void TEnhancedEdit::focusInEvent(QFocusEvent* ereignis) {
    // A closing popup (such as the context menu) hands the focus back: no new entry.
    if (ereignis->reason() != Qt::PopupFocusReason) {
        FUndoText = text();
        const bool maus =
            ereignis->reason() == Qt::MouseFocusReason || (QGuiApplication::mouseButtons() & Qt::LeftButton);
        if (FAutoSelect && !maus)
            selectAll();
    }
    QLineEdit::focusInEvent(ereignis);
}

void TEnhancedEdit::contextMenuEvent(QContextMenuEvent* ereignis) {
    QMenu* menue = createStandardContextMenu();
    menue->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's paste item goes through einfuegen as well; older Qt names it only by its text.
    const QString einfuegenText = QLineEdit::tr("&Paste");
    for (QAction* aktion : menue->actions()) {
        if (aktion->objectName() == QLatin1String("edit-paste") || aktion->text().startsWith(einfuegenText)) {
            disconnect(aktion, &QAction::triggered, this, nullptr);
            connect(aktion, &QAction::triggered, this, &TEnhancedEdit::einfuegen);
        }
    }
    menue->popup(ereignis->globalPos());
}

// The disabled colour group borrows the active text and background colours.
void TEnhancedEdit::faerbeDeaktiviert() {
    QPalette palette = this->palette();
    const QPalette vorlage = FGrayDisabled ? QApplication::palette(this) : palette;
    for (const auto rolle : {QPalette::Text, QPalette::Base}) {
        const auto quelle = FGrayDisabled ? QPalette::Disabled : QPalette::Active;
        palette.setColor(QPalette::Disabled, rolle, vorlage.color(quelle, rolle));
    }
    setPalette(palette);
    update();
}
