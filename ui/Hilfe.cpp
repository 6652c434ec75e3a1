// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hilfe.h"

#include "Geometrie.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace hilfe {
namespace {
QPointer<QTextBrowser> g_fenster;
QPointer<QWidget> g_vorher; // the window the help was opened from

// Esc closes the help, as it closes a dialog. Closed while it has the focus, the help gives
// the focus back to the window it was opened from (a window manager may pass it to another:
// openbox never to a tool window such as "Einstellungen").
class EscSchliesst : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(ereignis)->key() == Qt::Key_Escape) {
            static_cast<QWidget*>(objekt)->close();
            return true;
        }
        if (ereignis->type() == QEvent::Close && objekt == g_fenster && g_vorher && g_vorher->isVisible() &&
            QApplication::activeWindow() == g_fenster)
            QTimer::singleShot(0, g_vorher, [ziel = g_vorher] {
                if (ziel && ziel->isVisible())
                    ziel->activateWindow();
            });
        return QObject::eventFilter(objekt, ereignis);
    }
};
int g_kontext = 0;

void benenne() {
    QString seite = g_fenster->documentTitle();
    seite.remove(QStringLiteral("Skalora – "));
    g_fenster->setWindowTitle(seite.isEmpty() ? QStringLiteral("Skalora – Hilfe")
                                              : QStringLiteral("Hilfe – ") + seite);
}
} // namespace

void zeige(int kontext) {
    g_kontext = kontext;
    if (QWidget* aktiv = QApplication::activeWindow(); aktiv && aktiv != g_fenster)
        g_vorher = aktiv;
    if (!g_fenster) {
        g_fenster = new QTextBrowser;
        g_fenster->setAttribute(Qt::WA_DeleteOnClose);
        g_fenster->setObjectName(QStringLiteral("hilfefenster"));
        g_fenster->setWindowTitle(QStringLiteral("Skalora – Hilfe"));
        g_fenster->resize(geometrie::groesse(700, 620));
        g_fenster->setOpenExternalLinks(true);
        g_fenster->setSearchPaths({QStringLiteral(":/hilfe")});
        g_fenster->installEventFilter(new EscSchliesst(g_fenster));
        // The caption names the page shown, also after a link.
        QObject::connect(g_fenster, &QTextBrowser::sourceChanged, g_fenster, [] { benenne(); });
    }
    const QString seite = QStringLiteral("%1.html").arg(kontext);
    if (QFile::exists(QStringLiteral(":/hilfe/") + seite))
        g_fenster->setSource(QUrl(seite));
    else
        g_fenster->setHtml(
            QStringLiteral("<p>Zu diesem Thema gibt es noch keine Hilfe (Kontext %1).</p>").arg(kontext));
    benenne();
    // A modal dialog blocks every window but its own: the help of a modal dialog belongs to it,
    // so it opens in front and takes the keys (Esc closes the help, not the dialog).
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == g_fenster)
        modal = nullptr;
    if (g_fenster->parentWidget() != modal) {
        const QRect lage = g_fenster->geometry();
        const bool war = g_fenster->isVisible();
        g_fenster->setParent(modal, Qt::Window);
        if (war)
            g_fenster->setGeometry(lage);
    }
    g_fenster->show();
    g_fenster->raise();
    g_fenster->activateWindow();
}

int kontextFuer(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        const QString name = w->window()->objectName();
        if (name == QLatin1String("Klassenauswertungsform"))
            return 200;
        if (name == QLatin1String("einstellungsdialog") || name == QLatin1String("Importeinstellungen"))
            return 300;
        if (name == QLatin1String("Ergebnis"))
            return 400;
        if (name == QLatin1String("Grenzfaelleform"))
            return 500;
        if (name == QLatin1String("InfoDialog"))
            return 32000;
        if (name == QLatin1String("hofsteedialog"))
            return 510;
        if (name == QLatin1String("notenvergabeform"))
            return 600;
        w = w->window();
    }
    return 100;
}

QTextBrowser* fenster() {
    return g_fenster;
}

int letzterKontext() {
    return g_kontext;
}

} // namespace hilfe
