// SPDX-License-Identifier: GPL-3.0-or-later
#include "Radiogruppe.h"

#include "Geometrie.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

Radiogruppe::Radiogruppe(const QString& titel, const QStringList& eintraege, QWidget* eltern)
    : QGroupBox(titel, eltern), m_gruppe(new QButtonGroup(this)), m_layout(new QVBoxLayout(this)) {
    // The items fill the designed frame: the style's usual margins would leave them no room.
    m_layout->setSpacing(0);
    m_layout->setContentsMargins(geometrie::px(8), geometrie::px(2), geometrie::px(4), geometrie::px(2));
    for (int i = 0; i < eintraege.size(); ++i) {
        auto* knopf = new QRadioButton(eintraege[i], this);
        m_gruppe->addButton(knopf, i);
        m_layout->addWidget(knopf);
        knopf->installEventFilter(this);
    }
    m_layout->addStretch();
    connect(m_gruppe, &QButtonGroup::idClicked, this, &Radiogruppe::gewaehlt);
    connect(m_gruppe, &QButtonGroup::idToggled, this, [this] { tabZiel(); });
    tabZiel();
}

void Radiogruppe::tabZiel() {
    const QList<QAbstractButton*> knoepfe = m_gruppe->buttons();
    QAbstractButton* ziel = m_gruppe->checkedButton();
    if (!ziel && !knoepfe.isEmpty())
        ziel = knoepfe.first();
    for (QAbstractButton* k : knoepfe)
        k->setFocusPolicy(k == ziel ? Qt::StrongFocus : Qt::ClickFocus);
}

bool Radiogruppe::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (ereignis->type() != QEvent::KeyPress)
        return QGroupBox::eventFilter(objekt, ereignis);
    const int taste = static_cast<QKeyEvent*>(ereignis)->key();
    int schritt = 0;
    if (taste == Qt::Key_Down || taste == Qt::Key_Right)
        schritt = 1;
    else if (taste == Qt::Key_Up || taste == Qt::Key_Left)
        schritt = -1;
    const QList<QAbstractButton*> knoepfe = m_gruppe->buttons();
    const qsizetype hier = knoepfe.indexOf(qobject_cast<QAbstractButton*>(objekt));
    if (schritt == 0 || hier < 0)
        return QGroupBox::eventFilter(objekt, ereignis);
    const qsizetype n = knoepfe.size();
    QAbstractButton* naechster = knoepfe[(hier + schritt + n) % n];
    naechster->setFocus(Qt::TabFocusReason);
    naechster->click(); // chooses it and reports the choice like a click
    return true;
}

int Radiogruppe::ItemIndex() const {
    return m_gruppe->checkedId();
}

int Radiogruppe::anzahl() const {
    return static_cast<int>(m_gruppe->buttons().size());
}

void Radiogruppe::setItemIndex(int index) {
    if (QAbstractButton* knopf = m_gruppe->button(index)) {
        knopf->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button; lift that for a moment.
    m_gruppe->setExclusive(false);
    for (QAbstractButton* k : m_gruppe->buttons())
        k->setChecked(false);
    m_gruppe->setExclusive(true);
}
