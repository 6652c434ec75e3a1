#include "Radiogruppe.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

Radiogruppe::Radiogruppe(const QString& titel, const QStringList& eintraege, QWidget* eltern)
    : QGroupBox(titel, eltern), m_gruppe(new QButtonGroup(this)), m_layout(new QVBoxLayout(this)) {
    m_layout->setSpacing(0);
    for (int i = 0; i < eintraege.size(); ++i) {
        auto* knopf = new QRadioButton(eintraege[i], this);
        m_gruppe->addButton(knopf, i);
        m_layout->addWidget(knopf);
    }
    m_layout->addStretch();
    connect(m_gruppe, &QButtonGroup::idClicked, this, &Radiogruppe::gewaehlt);
}

int Radiogruppe::ItemIndex() const { return m_gruppe->checkedId(); }

int Radiogruppe::anzahl() const { return static_cast<int>(m_gruppe->buttons().size()); }

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
