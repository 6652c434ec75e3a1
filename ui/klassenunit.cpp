// SPDX-License-Identifier: GPL-3.0-or-later
#include "klassenunit.h"

#include "Geometrie.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "Steuerelemente.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

constexpr int kPanelHoehe = 68;

// Cell editing: every change of the editor is the cell's text at once, and key releases in
// the editor count as key releases of the grid.
class Zelleneditor : public QStyledItemDelegate {
public:
    Zelleneditor(QObject* eltern, std::function<void()> tasteLos)
        : QStyledItemDelegate(eltern), m_tasteLos(std::move(tasteLos)) {}

    QWidget* createEditor(QWidget* eltern, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(eltern);
        editor->setFrame(false);
        auto* modell = const_cast<QAbstractItemModel*>(index.model());
        const QPersistentModelIndex zelle(index);
        QObject::connect(editor, &QLineEdit::textEdited, editor, [modell, zelle](const QString& text) {
            if (zelle.isValid())
                modell->setData(zelle, text);
        });
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* feld = static_cast<QLineEdit*>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (feld->text() != text) // the editor's own change coming back: keep the caret
            feld->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* modell, const QModelIndex& index) const override {
        modell->setData(index, static_cast<QLineEdit*>(editor)->text());
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        const bool ergebnis = QStyledItemDelegate::eventFilter(objekt, ereignis);
        if (ereignis->type() == QEvent::KeyRelease && m_tasteLos)
            m_tasteLos();
        return ergebnis;
    }

private:
    std::function<void()> m_tasteLos;
};

} // namespace

KlassenModell::KlassenModell(Klassenraster& raster, QObject* eltern)
    : QAbstractTableModel(eltern), m_raster(raster) {}

void KlassenModell::neuLaden() {
    beginResetModel();
    endResetModel();
}

void KlassenModell::spalteGeaendert(int spalte) {
    if (rowCount() > 0)
        emit dataChanged(index(0, spalte), index(rowCount() - 1, spalte), {Qt::DisplayRole, Qt::EditRole});
}

int KlassenModell::rowCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : m_raster.zeilen() - 1;
}

int KlassenModell::columnCount(const QModelIndex& eltern) const {
    return eltern.isValid() ? 0 : Klassenraster::SpaltenAnzahl;
}

QVariant KlassenModell::data(const QModelIndex& index, int rolle) const {
    if (!index.isValid())
        return {};
    if (rolle == Qt::DisplayRole || rolle == Qt::EditRole)
        return m_raster.text(index.column(), index.row() + 1);
    if (rolle == Qt::BackgroundRole && index.column() == Klassenraster::Nummer)
        return QGuiApplication::palette().button();
    return {};
}

bool KlassenModell::setData(const QModelIndex& index, const QVariant& wert, int rolle) {
    if (!index.isValid() || rolle != Qt::EditRole || index.column() == Klassenraster::Nummer)
        return false;
    const QString text = wert.toString();
    if (m_raster.text(index.column(), index.row() + 1) == text)
        return true;
    m_raster.setzeText(index.column(), index.row() + 1, text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags KlassenModell::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() == Klassenraster::Nummer)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant KlassenModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (rolle != Qt::DisplayRole)
        return {};
    if (richtung == Qt::Horizontal)
        return m_raster.text(abschnitt, 0);
    return abschnitt + 1;
}

TKlassenauswertungsform::TKlassenauswertungsform(QWidget* eltern) : QDialog(eltern), m_modell(m_raster) {
    setObjectName(QStringLiteral("Klassenauswertungsform"));
    setWindowTitle(QStringLiteral("Klassenauswertung"));
    setFont(geometrie::designSchrift());
    setBackgroundRole(QPalette::Button);
    resize(geometrie::groesse(743, 472));
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().topLeft());

    erg = new QTableView(this);
    erg->setObjectName(QStringLiteral("erg"));
    erg->setModel(&m_modell);
    erg->setItemDelegate(new Zelleneditor(erg, [this] { ergKeyUp(); }));
    erg->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                         QAbstractItemView::EditKeyPressed);
    erg->setShowGrid(true);
    steuerelemente::richteRasterEin(erg);
    erg->installEventFilter(this);

    GroupBox1 = new QFrame(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFrameShape(QFrame::StyledPanel);
    GroupBox1->setFrameShadow(QFrame::Sunken);

    okbut = steuerelemente::knopf(GroupBox1, QStringLiteral("okbut"), QStringLiteral("OK"),
                                  QStringLiteral("knopf_ok"), 16, 20, 80, 32);
    okbut->setDefault(true);
    helpbut = steuerelemente::knopf(GroupBox1, QStringLiteral("helpbut"), QStringLiteral("&Hilfe"),
                                    QStringLiteral("knopf_hilfe"), 112, 20, 80, 32);
    vorschlagbut =
        steuerelemente::knopf(GroupBox1, QStringLiteral("vorschlagbut"), QStringLiteral("Vorschlag"),
                              QStringLiteral("knopf_rechnen"), 208, 20, 104, 32);
    vorschlagbut->setAutoDefault(false); // Enter still means OK after a suggestion

    Fehlerbericht::verbinde(okbut, &QPushButton::clicked, this, [this] { okbutClick(); });
    Fehlerbericht::verbinde(helpbut, &QPushButton::clicked, this, [this] { helpbutClick(); });
    Fehlerbericht::verbinde(vorschlagbut, &QPushButton::clicked, this, [this] { vorschlagbutClick(); });

    FormCreate();
}

void TKlassenauswertungsform::FormCreate() {
    // The header texts stand in the raster's row 0; widths set at run time are screen pixels.
    // A header wider than its column gets its width, so no header is cut.
    QHeaderView* kopf = erg->horizontalHeader();
    erg->setColumnWidth(0, std::max(60, kopf->sectionSizeHint(0)));
    for (int spalte = 1; spalte < Klassenraster::SpaltenAnzahl; ++spalte)
        erg->setColumnWidth(spalte, std::max(120, kopf->sectionSizeHint(spalte)));
    // The columns are screen pixels while the window scales: below 120 dpi the designed width
    // would cut off the last column. Room for the frame and a vertical scroll bar as well.
    const int noetig = kopf->length() + 2 * erg->frameWidth() + erg->verticalScrollBar()->sizeHint().width();
    if (width() < noetig)
        resize(noetig, height());
}

void TKlassenauswertungsform::resizeEvent(QResizeEvent* ereignis) {
    QDialog::resizeEvent(ereignis);
    const int panel = geometrie::px(kPanelHoehe);
    erg->setGeometry(0, 0, width(), std::max(0, height() - panel));
    GroupBox1->setGeometry(0, std::max(0, height() - panel), width(), panel);
}

bool TKlassenauswertungsform::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == erg && ereignis->type() == QEvent::KeyRelease)
        Fehlerbericht::ausfuehren([this] { ergKeyUp(); });
    return QDialog::eventFilter(objekt, ereignis);
}

void TKlassenauswertungsform::ergKeyUp() {
    if (!m_daten)
        return;
    klassen::gruppenanteileSetzen(m_raster, m_daten->FKlassen, m_daten->FBestanden);
    m_modell.spalteGeaendert(Klassenraster::Gruppenteil);
}

void TKlassenauswertungsform::okbutClick() {
    close();
}

void TKlassenauswertungsform::helpbutClick() {
    hilfe::zeige(200);
}

void TKlassenauswertungsform::vorschlagbutClick() {
    if (!m_daten)
        return;
    klassen::vorschlagSetzen(m_raster, *m_daten);
    m_modell.spalteGeaendert(Klassenraster::Gruppe);
    m_modell.spalteGeaendert(Klassenraster::Gruppenteil);
}
