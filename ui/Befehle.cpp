// SPDX-License-Identifier: GPL-3.0-or-later
#include "Befehle.h"

#include "Geometrie.h"
#include "Hauptfenster.h"
#include "Meldung.h"

#include <QAction>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <algorithm>
#include <vector>

namespace befehle {
namespace {

using T = THauptformular;

// A menu of the menu bar, in the bar's order.
struct Menue {
    QMenu* T::*menue;
    QStringView name;
    QStringView text;
};

// Where a command stands on the toolbar: its place from the left (0: not there), the button's
// object name, and the name of the gap in front of it, if there is one.
struct Knopf {
    int platz = 0;
    QStringView name;
    QStringView luecke;
};

// A menu entry in its menu's order; a row without a handler is a separator line.
struct Befehl {
    QMenu* T::*menue;
    QAction* T::*aktion;
    QStringView name;
    QStringView text; // "&" marks the access key
    int bild = -1;    // :/symbole/<two digits>.svg
    QKeyCombination taste = {};
    Qt::ShortcutContext tastenbereich = Qt::WindowShortcut;
    void (T::*handler)() = nullptr;
    Knopf knopf = {};
};

constexpr Knopf knopf(int platz, QStringView name, QStringView luecke = {}) {
    return {platz, name, luecke};
}

constexpr Befehl trenner(QMenu* T::*menue, QAction* T::*aktion, QStringView name) {
    Befehl b{};
    b.menue = menue;
    b.aktion = aktion;
    b.name = name;
    return b;
}

constexpr Menue kMenues[] = {
    {&T::Datei1, u"Datei1", u"&Datei"},
    {&T::Beaarbeiten1, u"Beaarbeiten1", u"&Bearbeiten"},
    {&T::Auswertung1, u"Auswertung1", u"&Auswertung"},
    {&T::Ansicht1, u"Ansicht1", u"&Ansicht"},
    {&T::Extras1, u"Extras1", u"&Extras"},
    {&T::Hilfe1, u"Hilfe1", u"&Hilfe"},
};

// Ctrl+O, Ctrl+S, Ctrl+Q, Ctrl+Z, Ctrl+Y and Del are the usual desktop keys besides the menus'
// own; they act only while this window is active. F1 reaches every window and opens the page of the active
// one. The toolbar orders some commands unlike the menu: name, restored order, grade; histogram first.
// clang-format off
constexpr Befehl kBefehle[] = {
    // menu, entry, object name, caption, icon,
    //     key, where the key acts, handler, toolbar {place, button, gap before}
    {&T::Datei1, &T::oeffnen, u"oeffnen", u"Ö&ffnen", 17,
     Qt::CTRL | Qt::Key_O, Qt::WindowShortcut, &T::oeffnenClick, knopf(1, u"ToolButton18")},
    {&T::Datei1, &T::Speichern1, u"Speichern1", u"Speichern", 16,
     Qt::CTRL | Qt::Key_S, Qt::WindowShortcut, &T::Speichern1Click, knopf(2, u"ToolButton17")},
    trenner(&T::Datei1, &T::N1, u"N1"),
    {&T::Datei1, &T::importierencsv, u"importierencsv", u"&Importieren (CSV)", 0,
     {}, Qt::WindowShortcut, &T::importierencsvClick, knopf(3, u"ToolButton1", u"ToolButton19")},
    {&T::Datei1, &T::AnfgenCSV1, u"AnfgenCSV1", u"Anfügen (CSV)", 1,
     {}, Qt::WindowShortcut, &T::AnfgenCSV1Click, knopf(4, u"ToolButton2")},
    {&T::Datei1, &T::SpeichernCSV1, u"SpeichernCSV1", u"Exportieren (CSV)", 2,
     {}, Qt::WindowShortcut, &T::SpeichernCSV1Click, knopf(5, u"ToolButton3")},
    trenner(&T::Datei1, &T::N3, u"N3"),
    {&T::Datei1, &T::Beenden1, u"Beenden1", u"&Beenden", 19,
     Qt::CTRL | Qt::Key_Q, Qt::WindowShortcut, &T::Beenden1Click, knopf(6, u"ToolButton27", u"ToolButton28")},

    {&T::Beaarbeiten1, &T::Rueckgaengig1, u"Rueckgaengig1", u"&Rückgängig", -1,
     Qt::CTRL | Qt::Key_Z, Qt::WindowShortcut, &T::Rueckgaengig1Click, {}},
    {&T::Beaarbeiten1, &T::Wiederholen1, u"Wiederholen1", u"&Wiederholen", -1,
     Qt::CTRL | Qt::Key_Y, Qt::WindowShortcut, &T::Wiederholen1Click, {}},
    trenner(&T::Beaarbeiten1, &T::N5, u"N5"),
    {&T::Beaarbeiten1, &T::SortierennachName1, u"SortierennachName1", u"Sortieren nach &Name", 5,
     {}, Qt::WindowShortcut, &T::SortierennachName1Click, knopf(7, u"ToolButton5", u"ToolButton20")},
    {&T::Beaarbeiten1, &T::SortierennachNote1, u"SortierennachNote1", u"Sortieren nach Note", 4,
     {}, Qt::WindowShortcut, &T::Sortierennote, knopf(9, u"ToolButton6")},
    {&T::Beaarbeiten1, &T::UrsrnglicheReihenfolge1, u"UrsrnglicheReihenfolge1", u"Ursprüngliche Reihenfolge", 3,
     {}, Qt::WindowShortcut, &T::UrsrnglicheReihenfolge1Click, knopf(8, u"ToolButton7")},
    trenner(&T::Beaarbeiten1, &T::N4, u"N4"),
    {&T::Beaarbeiten1, &T::VomClipboardeinfgen1, u"VomClipboardeinfgen1", u"Vom Clipboard einfügen", 7,
     {}, Qt::WindowShortcut, &T::VomClipboardeinfgen1Click, knopf(10, u"ToolButton4", u"ToolButton21")},
    {&T::Beaarbeiten1, &T::MarkierteZeilenlschen1, u"MarkierteZeilenlschen1", u"Markierte Zeilen löschen", 8,
     Qt::Key_Delete, Qt::WindowShortcut, &T::MarkierteZeilenlschen1Click, knopf(11, u"ToolButton10")},
    {&T::Beaarbeiten1, &T::Spaltenbreiteanpassen1, u"Spaltenbreiteanpassen1", u"Spaltenbreite anpassen", 20,
     {}, Qt::WindowShortcut, &T::Spaltenbreiteanpassen1Click, knopf(12, u"ToolButton29")},

    {&T::Auswertung1, &T::Notenvergabe1, u"Notenvergabe1", u"Notenvergabe", 10,
     {}, Qt::WindowShortcut, &T::Notenvergabe1Click, knopf(13, u"ToolButton8", u"ToolButton22")},
    {&T::Auswertung1, &T::klasseneinteilung, u"klasseneinteilung", u"Klasseneinteilung", 15,
     {}, Qt::WindowShortcut, &T::klasseneinteilungClick, knopf(14, u"ToolButton9")},
    {&T::Auswertung1, &T::KeineKlasenasuwertung1, u"KeineKlasenasuwertung1", u"Keine Klassenauswertung", 18,
     {}, Qt::WindowShortcut, &T::KeineKlasenasuwertung1Click, knopf(15, u"ToolButton26")},
    {&T::Auswertung1, &T::Grenzfaelle1, u"Grenzfaelle1", u"Grenzfälle", 21,
     {}, Qt::WindowShortcut, &T::Grenzfaelle1Click, knopf(22, u"ToolButton30")},

    {&T::Ansicht1, &T::Ergebnis1, u"Ergebnis1", u"Report", 9,
     {}, Qt::WindowShortcut, &T::Ergebnis1Click, knopf(17, u"ToolButton12")},
    {&T::Ansicht1, &T::Histogramm, u"Histogramm", u"&Histogramm", 11,
     {}, Qt::WindowShortcut, &T::HistogrammClick, knopf(16, u"ToolButton11", u"ToolButton23")},

    {&T::Extras1, &T::Einstellungn1, u"Einstellungn1", u"Einstellungen", 6,
     {}, Qt::WindowShortcut, &T::Einstellungn1Click, knopf(18, u"ToolButton13", u"ToolButton24")},
    {&T::Extras1, &T::CSVImporteinstellungen1, u"CSVImporteinstellungen1", u"CSV Importeinstellungen", 12,
     {}, Qt::WindowShortcut, &T::CSVImporteinstellungen1Click, knopf(19, u"ToolButton14")},

    {&T::Hilfe1, &T::Hilfe2, u"Hilfe2", u"Hilfe", 14,
     Qt::Key_F1, Qt::ApplicationShortcut, &T::Hilfe2Click, knopf(21, u"ToolButton16")},
    {&T::Hilfe1, &T::Info1, u"Info1", u"Info", 13,
     {}, Qt::WindowShortcut, &T::Info1Click, knopf(20, u"ToolButton15", u"ToolButton25")},
};
// clang-format on

QIcon symbol(int bild) {
    if (bild < 0)
        return {};
    return QIcon(QStringLiteral(":/symbole/%1.svg").arg(bild, 2, 10, QLatin1Char('0')));
}

void baueMenues(T& f) {
    for (const Menue& m : kMenues) {
        f.*m.menue = f.menuBar()->addMenu(m.text.toString());
        (f.*m.menue)->setObjectName(m.name.toString());
    }
    for (const Befehl& b : kBefehle) {
        QMenu* menue = f.*b.menue;
        if (!b.handler) {
            f.*b.aktion = menue->addSeparator();
            (f.*b.aktion)->setObjectName(b.name.toString());
            continue;
        }
        auto* a = new QAction(symbol(b.bild), b.text.toString(), &f);
        a->setObjectName(b.name.toString());
        a->setIconVisibleInMenu(true);
        if (b.taste.key() != Qt::Key_unknown) {
            a->setShortcut(QKeySequence(b.taste));
            a->setShortcutContext(b.tastenbereich);
        }
        menue->addAction(a);
        f.*b.aktion = a;
    }

    // F10 opens the first menu, as on the desktop.
    auto* menueleiste = new QAction(&f);
    menueleiste->setObjectName(QStringLiteral("menueleiste"));
    menueleiste->setShortcut(QKeySequence(Qt::Key_F10));
    f.addAction(menueleiste);
    QObject::connect(menueleiste, &QAction::triggered, &f,
                     [&f] { f.menuBar()->setActiveAction(f.Datei1->menuAction()); });
}

void baueWerkzeugleiste(T& f) {
    QToolBar* leiste = f.addToolBar(QStringLiteral("ToolBar1"));
    f.ToolBar1 = leiste;
    leiste->setObjectName(QStringLiteral("ToolBar1"));
    leiste->setMovable(false);
    leiste->setFloatable(false);
    leiste->setIconSize(QSize(16, 16));
    leiste->setToolButtonStyle(Qt::ToolButtonIconOnly);
    leiste->setFixedHeight(std::max(geometrie::px(29), 22));
    leiste->setContentsMargins(0, 0, 0, 0);
    leiste->layout()->setSpacing(0);

    std::vector<const Befehl*> knoepfe;
    for (const Befehl& b : kBefehle)
        if (b.knopf.platz > 0)
            knoepfe.push_back(&b);
    std::ranges::sort(knoepfe, {}, [](const Befehl* b) { return b->knopf.platz; });
    const int seite = std::max(geometrie::px(24), 20);
    for (const Befehl* b : knoepfe) {
        if (!b->knopf.luecke.isNull())
            leiste->addSeparator()->setObjectName(b->knopf.luecke.toString());
        QAction* a = f.*b->aktion;
        leiste->addAction(a);
        QWidget* w = leiste->widgetForAction(a);
        w->setObjectName(b->knopf.name.toString());
        w->setFixedSize(seite, seite);
    }
}

void verbinde(T& f) {
    for (const Befehl& b : kBefehle)
        if (b.handler)
            Fehlerbericht::verbinde(f.*b.aktion, &QAction::triggered, &f,
                                    [&f, handler = b.handler] { (f.*handler)(); });
}

// What stays usable while long work runs: nothing of it reads or changes the list.
constexpr QAction* T::*kImmerFrei[] = {&T::Beenden1,      &T::Spaltenbreiteanpassen1,
                                       &T::Einstellungn1, &T::CSVImporteinstellungen1,
                                       &T::Hilfe2,        &T::Info1};

} // namespace

void sperren(T& fenster, bool gesperrt) {
    for (const Befehl& b : kBefehle)
        if (b.handler && std::ranges::find(kImmerFrei, b.aktion) == std::end(kImmerFrei))
            (fenster.*b.aktion)->setEnabled(!gesperrt);
}

void einrichten(T& fenster) {
    baueMenues(fenster);
    verbinde(fenster);
    baueWerkzeugleiste(fenster);
}

} // namespace befehle
