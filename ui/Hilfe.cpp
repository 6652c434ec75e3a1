#include "Hilfe.h"

#include "Geometrie.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace hilfe {
namespace {
QPointer<QTextBrowser> g_fenster;
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
    }
    const QString seite = QStringLiteral("%1.html").arg(kontext);
    if (QFile::exists(QStringLiteral(":/hilfe/") + seite))
        g_fenster->setSource(QUrl(seite));
    else
        g_fenster->setHtml(QStringLiteral("<p>Zu diesem Thema gibt es noch keine Hilfe (Kontext %1).</p>").arg(kontext));
    g_fenster->show();
    g_fenster->raise();
    g_fenster->activateWindow();
}

QTextBrowser* fenster() { return g_fenster; }

int letzterKontext() { return g_kontext; }

} // namespace hilfe
