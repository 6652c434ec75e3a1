// SPDX-License-Identifier: GPL-3.0-or-later
#include "Steuerelemente.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileInfo>

#include "EnhEdit.h"
#include "Geometrie.h"

#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>

TLabeledEdit::TLabeledEdit(const QString& beschriftung, QWidget* eltern)
    : QLineEdit(eltern), m_label(new QLabel(beschriftung, eltern)) {
    m_label->setBuddy(this);
    setzeLabel();
}

void TLabeledEdit::moveEvent(QMoveEvent* e) {
    QLineEdit::moveEvent(e);
    setzeLabel();
}

void TLabeledEdit::setzeLabel() {
    m_label->adjustSize();
    m_label->move(x(), y() - m_label->height() - geometrie::px(3));
}

UmbruchCheckBox::UmbruchCheckBox(const QString& text, QWidget* eltern)
    : QCheckBox(eltern), m_text(new QLabel(text, this)) {
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Clicks on the caption reach the box, as on its own text.
    m_text->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(text);
}

void UmbruchCheckBox::resizeEvent(QResizeEvent* e) {
    QCheckBox::resizeEvent(e);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const int links = style()->pixelMetric(QStyle::PM_IndicatorWidth, &opt, this) +
                      style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &opt, this);
    m_text->setGeometry(links, 0, std::max(0, width() - links), height());
}

void TCheckListBox::fuegeHinzu(const QString& text, bool an) {
    auto* eintrag = new QListWidgetItem(text, this);
    eintrag->setFlags(eintrag->flags() | Qt::ItemIsUserCheckable);
    eintrag->setCheckState(an ? Qt::Checked : Qt::Unchecked);
}

bool TCheckListBox::angehakt(int i) const {
    const QListWidgetItem* e = item(i);
    return e && e->checkState() == Qt::Checked;
}

void TCheckListBox::setzeAngehakt(int i, bool an) {
    if (QListWidgetItem* e = item(i))
        e->setCheckState(an ? Qt::Checked : Qt::Unchecked);
}

namespace steuerelemente {

QPushButton* knopf(QWidget* eltern, const QString& name, const QString& text, const QString& bild, int links,
                   int oben, int breite, int hoehe) {
    auto* k = new QPushButton(QIcon(QStringLiteral(":/symbole/%1.svg").arg(bild)), text, eltern);
    k->setObjectName(name);
    k->setIconSize(QSize(16, 16));
    geometrie::platziere(k, links, oben, breite, hoehe);
    return k;
}

TEnhancedEdit* zahlfeld(QWidget* eltern, const QString& name, int links, int oben, int breite, int hoehe,
                        bool nurZiffern, int digits, TFloatFormat format, long double wert) {
    auto* f = new TEnhancedEdit(eltern);
    f->setObjectName(name);
    f->setAlignmentT(TEnhancedEdit::taRightJustify);
    f->setNumbersOnly(nurZiffern);
    f->setDigits(digits);
    f->setFormat(format);
    f->setValue(wert);
    geometrie::platziere(f, links, oben, breite, hoehe);
    return f;
}

QLabel* beschriftung(QWidget* eltern, const QString& name, const QString& text, int links, int oben) {
    auto* l = new QLabel(text, eltern);
    l->setObjectName(name);
    l->move(geometrie::px(links), geometrie::px(oben));
    return l;
}

void tabReihenfolge(std::initializer_list<QWidget*> reihe) {
    QWidget* vorher = nullptr;
    for (QWidget* w : reihe) {
        if (vorher)
            QWidget::setTabOrder(vorher, w);
        vorher = w;
    }
}

QFileDialog* dateidialog(QWidget* eltern, const QString& name, QFileDialog::AcceptMode modus,
                         const QStringList& filter) {
    auto* d = new QFileDialog(eltern);
    d->setObjectName(name);
    d->setOption(QFileDialog::DontUseNativeDialog);
    d->setAcceptMode(modus);
    d->setFileMode(modus == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    d->setNameFilters(filter);
    // Large enough for the German column headers of the detail view.
    d->resize(geometrie::groesse(900, 560));
    return d;
}

QFileDialog* speicherdialog(QWidget* eltern, const QString& name, const QStringList& filter,
                            const QString& endung) {
    auto* d = dateidialog(eltern, name, QFileDialog::AcceptSave, filter);
    d->setOption(QFileDialog::DontConfirmOverwrite);
    d->setDefaultSuffix(endung);
    return d;
}

std::optional<QString> gewaehlteDatei(QFileDialog* dialog, int ergebnis, const QStringList& gewaehlt) {
    // A name typed and confirmed with Return leaves the name field's completion list open.
    for (const QCompleter* c : dialog->findChildren<QCompleter*>())
        if (c->popup())
            c->popup()->hide();
    if (ergebnis != QDialog::Accepted || gewaehlt.isEmpty())
        return std::nullopt;
    const QString datei = gewaehlt.constFirst();
    dialog->setDirectory(QFileInfo(datei).absolutePath());
    dialog->selectFile(QFileInfo(datei).fileName());
    return datei;
}

std::optional<QString> frageDatei(QFileDialog* dialog) {
    const int ergebnis = dialog->exec();
    return gewaehlteDatei(dialog, ergebnis, dialog->selectedFiles());
}

void richteRasterEin(QTableView* raster) {
    raster->setSelectionMode(QAbstractItemView::ContiguousSelection);
    raster->setSelectionBehavior(QAbstractItemView::SelectItems);
    raster->setWordWrap(false);
    raster->verticalHeader()->hide();
    raster->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    raster->verticalHeader()->setDefaultSectionSize(raster->fontMetrics().height() + geometrie::px(6));
    QHeaderView* kopf = raster->horizontalHeader();
    kopf->setSectionResizeMode(QHeaderView::Interactive);
    kopf->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    kopf->setHighlightSections(false);
    kopf->setSectionsClickable(false);
}

void zeigeNichtmodal(QWidget* fenster) {
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

} // namespace steuerelemente
