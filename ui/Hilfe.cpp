// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hilfe.h"

#include "Geometrie.h"

#include <QFile>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

namespace hilfe {
namespace {
QPointer<QTextBrowser> g_fenster;

// Esc closes the help, as it closes a dialog.
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
        return QObject::eventFilter(objekt, ereignis);
    }
};
int g_kontext = 0;
} // namespace

void zeige(int kontext) {
    g_kontext = kontext;
    if (!g_fenster) {
        g_fenster = new QTextBrowser;
        g_fenster->setAttribute(Qt::WA_DeleteOnClose);
        g_fenster->setObjectName(QStringLiteral("hilfefenster"));
        g_fenster->setWindowTitle(QStringLiteral("Skalora – Hilfe"));
        g_fenster->resize(geometrie::groesse(700, 620));
        g_fenster->setOpenExternalLinks(true);
        g_fenster->setSearchPaths({QStringLiteral(":/hilfe")});
        g_fenster->installEventFilter(new EscSchliesst(g_fenster));
    }
    const QString seite = QStringLiteral("%1.html").arg(kontext);
    if (QFile::exists(QStringLiteral(":/hilfe/") + seite))
        g_fenster->setSource(QUrl(seite));
    else
        g_fenster->setHtml(
            QStringLiteral("<p>Zu diesem Thema gibt es noch keine Hilfe (Kontext %1).</p>").arg(kontext));
    g_fenster->show();
    g_fenster->raise();
    g_fenster->activateWindow();
}

int kontextFuer(const QWidget* w) {
    for (; w; w = w->parentWidget()) {
        const QString name = w->window()->objectName();
        if (name == QLatin1String("Klassenauswertungsform"))
            return 200;
        if (name == QLatin1String("einstellungsdialog"))
            return 300;
        if (name == QLatin1String("Ergebnis"))
            return 400;
        if (name == QLatin1String("Grenzfaelleform"))
            return 500;
        if (name == QLatin1String("InfoDialog"))
            return 32000;
        if (name == QLatin1String("hofsteedialog"))
            return 510;
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
