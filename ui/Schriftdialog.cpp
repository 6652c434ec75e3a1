// SPDX-License-Identifier: GPL-3.0-or-later
#include "Schriftdialog.h"

#include "Geometrie.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <cstdlib>

namespace {

// The sixteen colours of the classic font dialog.
struct Farbe {
    const char16_t* name;
    QRgb wert;
};
constexpr Farbe kFarben[] = {
    {u"Schwarz", 0x000000},  {u"Kastanienbraun", 0x800000}, {u"Grün", 0x008000},
    {u"Olivgrün", 0x808000}, {u"Marineblau", 0x000080},     {u"Violett", 0x800080},
    {u"Blaugrün", 0x008080}, {u"Grau", 0x808080},           {u"Silber", 0xC0C0C0},
    {u"Rot", 0xFF0000},      {u"Hellgrün", 0x00FF00},       {u"Gelb", 0xFFFF00},
    {u"Blau", 0x0000FF},     {u"Fuchsia", 0xFF00FF},        {u"Aqua", 0x00FFFF},
    {u"Weiß", 0xFFFFFF},
};

QIcon farbfeld(const QColor& farbe) {
    QPixmap bild(16, 12);
    bild.fill(farbe);
    QPainter(&bild).drawRect(0, 0, 15, 11);
    return QIcon(bild);
}

// Shows the style list's names in German; the list itself keeps Qt's names, by which the
// dialog finds the font.
class Stilnamen : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& wert, const QLocale&) const override {
        return Schriftdialog::stilname(wert.toString());
    }
};

} // namespace

Schriftdialog::Schriftdialog(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("FontDialog1"));
    setWindowTitle(QStringLiteral("Schriftart"));

    schriftwahl = new QFontDialog(this);
    schriftwahl->setObjectName(QStringLiteral("schriftwahl"));
    schriftwahl->setWindowFlags(Qt::Widget); // embedded, its buttons are ours
    schriftwahl->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);

    farbwahl = new QComboBox(this);
    farbwahl->setObjectName(QStringLiteral("farbwahl"));
    for (const Farbe& f : kFarben)
        farbwahl->addItem(farbfeld(QColor(f.wert)), QString::fromUtf16(f.name), QColor(f.wert));
    auto* farbtext = new QLabel(QStringLiteral("&Farbe:"), this);
    farbtext->setBuddy(farbwahl);

    auto* knoepfe = new QDialogButtonBox(this);
    knoepfe->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("okbut"));
    knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelbut"));
    connect(knoepfe, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* farbzeile = new QHBoxLayout;
    farbzeile->addWidget(farbtext);
    farbzeile->addWidget(farbwahl);
    farbzeile->addStretch();
    farbzeile->addWidget(knoepfe);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(schriftwahl);
    layout->addLayout(farbzeile);

    // Qt's list shows the style names of the font files, in English; the dialog's labels come
    // from Qt's German catalogue.
    const QList<QListView*> listen = schriftwahl->findChildren<QListView*>();
    if (listen.size() >= 2)
        listen[1]->setItemDelegate(new Stilnamen(listen[1]));
    connect(schriftwahl, &QFontDialog::currentFontChanged, this, [this] { stilfeldDeutsch(); });

    setzeSchrift(geometrie::designSchrift());
    setzeFarbe(Qt::black);
}

QString Schriftdialog::stilname(const QString& stil) {
    static const QHash<QString, QString> eigene = {
        {QStringLiteral("Regular"), QStringLiteral("Normal")},
        {QStringLiteral("Book"), QStringLiteral("Normal")},
        {QStringLiteral("Roman"), QStringLiteral("Normal")},
        {QStringLiteral("Oblique"), QStringLiteral("Schräg")},
        {QStringLiteral("Condensed"), QStringLiteral("Schmal")},
        {QStringLiteral("Semi"), QStringLiteral("Halb")},
        {QStringLiteral("SemiBold"), QStringLiteral("Halbfett")},
        {QStringLiteral("DemiBold"), QStringLiteral("Halbfett")},
        {QStringLiteral("ExtraBold"), QStringLiteral("Sehr fett")},
        {QStringLiteral("ExtraLight"), QStringLiteral("Sehr dünn")},
        {QStringLiteral("Heavy"), QStringLiteral("Schwarz")},
    };
    auto wort = [](const QString& w) {
        if (const auto it = eigene.constFind(w); it != eigene.constEnd())
            return *it;
        // Qt's catalogue knows the words of its own style names (Bold, Italic, Light ...).
        return QCoreApplication::translate("QFontDatabase", w.toUtf8().constData());
    };
    QString ganz = stil;
    ganz.replace(QStringLiteral("Semi Bold"), QStringLiteral("SemiBold"))
        .replace(QStringLiteral("Demi Bold"), QStringLiteral("DemiBold"))
        .replace(QStringLiteral("Extra Bold"), QStringLiteral("ExtraBold"))
        .replace(QStringLiteral("Extra Light"), QStringLiteral("ExtraLight"));
    QStringList woerter = ganz.split(u' ', Qt::SkipEmptyParts);
    for (QString& w : woerter)
        w = wort(w);
    // "Regular Italic" says no more than "Kursiv".
    if (woerter.size() > 1)
        woerter.removeAll(QStringLiteral("Normal"));
    return woerter.join(u' ');
}

void Schriftdialog::stilfeldDeutsch() {
    const QList<QLineEdit*> felder = schriftwahl->findChildren<QLineEdit*>();
    if (felder.size() >= 2 && felder[1]->isReadOnly())
        felder[1]->setText(stilname(felder[1]->text()));
}

QFont Schriftdialog::schrift() const {
    return schriftwahl->currentFont();
}

void Schriftdialog::setzeSchrift(const QFont& schrift) {
    QFont f = schrift;
    // The dialog lists sizes in points; a font given in pixels opens at its size in points.
    if (f.pointSizeF() <= 0)
        f.setPointSizeF(QFontInfo(schrift).pointSizeF());
    schriftwahl->setCurrentFont(f);
    // Qt's dialog looks the style up by its translated name ("Fett") among the files' names
    // ("Bold"), finds none and falls back to the first: choose it by weight and slant instead.
    const QList<QListView*> listen = schriftwahl->findChildren<QListView*>();
    if (listen.size() >= 2) {
        QListView* stile = listen[1];
        const QString familie = schriftwahl->currentFont().family();
        int beste = -1, abstand = 0;
        for (int i = 0; i < stile->model()->rowCount(); ++i) {
            const QFont k = QFontDatabase::font(familie, stile->model()->index(i, 0).data().toString(), 12);
            const int d = std::abs(k.weight() - f.weight()) + (k.italic() != f.italic() ? 10000 : 0);
            if (beste < 0 || d < abstand)
                beste = i, abstand = d;
        }
        if (beste >= 0)
            stile->setCurrentIndex(stile->model()->index(beste, 0));
    }
    stilfeldDeutsch();
}

QColor Schriftdialog::farbe() const {
    return farbwahl->currentData().value<QColor>();
}

void Schriftdialog::setzeFarbe(const QColor& farbe) {
    int i = farbwahl->findData(farbe);
    if (i < 0) {
        farbwahl->addItem(farbfeld(farbe), farbe.name(), farbe);
        i = farbwahl->count() - 1;
    }
    farbwahl->setCurrentIndex(i);
}
