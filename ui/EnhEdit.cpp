#include "EnhEdit.h"

#include "Zahltext.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <cmath>
#include <limits>

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

void TEnhancedEdit::setExitOnEnterKey(bool wert) { FExitOnEnterKey = wert; }

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

void TEnhancedEdit::setUndoOnEscKey(bool wert) { FUndoOnEscKey = wert; }

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

void TEnhancedEdit::setNumbersOnly(bool wert) { FNumbersOnly = wert; }

void TEnhancedEdit::setAutoSelect(bool wert) { FAutoSelect = wert; }

// Writes the number and parses the text again, so Value becomes what is shown. A text
// equal to the present one raises no change signal, hence the explicit parse.
void TEnhancedEdit::zeigeWert(long double wert) {
    const QString neu = std::isfinite(wert) ? formatiereGleitkomma(wert, FFormat, FPrecision, FDigits) : QString();
    if (neu == text())
        textGeaendert();
    else
        setText(neu);
    update();
}

// Keeps digits, minus signs, the thousands separators and the last decimal separator, after
// cutting what follows the Digits-th decimal.
QString TEnhancedEdit::gefiltert(const QString& eingabe) const {
    const auto& t = zahltext::trennzeichen();
    QString s = eingabe;
    const qsizetype p = s.lastIndexOf(t.dezimal);
    if (p >= 0 && FDigits > 0 && s.size() - p - 1 > FDigits)
        s.truncate(p + 1 + FDigits);
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        const QChar c = s[i];
        if (c == t.dezimal) {
            if (i < p)
                s.remove(i, 1);
        } else if (!(c >= u'0' && c <= u'9') && c != u'-' && (t.tausender.isNull() || c != t.tausender)) {
            s.remove(i, 1);
        }
    }
    return s;
}

void TEnhancedEdit::textGeaendert() {
    // The filter's own rewrite of the text is parsed by the call that made it.
    if (FFiltert)
        return;
    QString s = text();
    FValue = 0;
    FValueInt = 0;
    if (!s.isEmpty()) {
        if (!FAcceptChars) {
            s = gefiltert(s);
            if (s != text()) {
                const int caret = cursorPosition();
                FFiltert = true;
                setText(s);
                FFiltert = false;
                setCursorPosition(std::min<int>(caret, s.size()));
            }
        }
        const QChar tausender = zahltext::trennzeichen().tausender;
        if (!tausender.isNull())
            s.remove(tausender);
        const long double wert = zahltext::lese(s).value_or(0.0L);
        // Truncation beyond 64 bits fails: both become 0. Between 32 and 64 bits ValueInt is clamped.
        constexpr long double grenze = 9223372036854775808.0L;
        if (wert < grenze && wert >= -grenze) {
            FValue = wert;
            const long double ganz = std::trunc(wert);
            FValueInt = static_cast<qint32>(std::clamp<long double>(ganz, std::numeric_limits<qint32>::min(),
                                                                    std::numeric_limits<qint32>::max()));
        }
    }
    emit geaendert();
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
