// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A framed group of radio buttons with one selected item index, -1 for none.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QVBoxLayout;

class Radiogruppe : public QGroupBox {
    Q_OBJECT
public:
    Radiogruppe(const QString& titel, const QStringList& eintraege, QWidget* eltern = nullptr);

    int ItemIndex() const;
    // An index outside the items selects none.
    void setItemIndex(int index);
    int anzahl() const;

signals:
    void gewaehlt(int index);

protected:
    // Arrow keys step through the items and choose them.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    // Only the chosen item (or the first, while none is chosen) takes the focus by Tab.
    void tabZiel();

    QButtonGroup* m_gruppe;
    QVBoxLayout* m_layout;
};
