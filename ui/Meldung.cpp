// SPDX-License-Identifier: GPL-3.0-or-later
#include "Meldung.h"

#include "Fehler.h"
#include "Fortschritt.h"
#include "Meldungsfehler.h"

#include <QApplication>
#include <QMessageBox>
#include <new>

namespace meldung {
namespace {
Anzeige& ersatz() {
    static Anzeige a;
    return a;
}
} // namespace

void setzeAnzeige(Anzeige anzeige) {
    ersatz() = std::move(anzeige);
}

bool zeige(Art art, const QString& text, QWidget* eltern) {
    if (ersatz())
        return ersatz()(art, text);
    if (!eltern)
        eltern = QApplication::activeWindow();
    switch (art) {
    case Art::Fehler:
        QMessageBox::critical(eltern, QStringLiteral("Fehler"), text);
        return true;
    case Art::Information:
        QMessageBox::information(eltern, QApplication::applicationDisplayName(), text);
        return true;
    case Art::Bestaetigung:
        return QMessageBox::question(eltern, QApplication::applicationDisplayName(), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    case Art::Warnfrage:
        return QMessageBox::warning(eltern, QApplication::applicationDisplayName(), text,
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    case Art::Ausnahme:
        QMessageBox::critical(eltern, QApplication::applicationDisplayName(), text);
        return true;
    }
    return true;
}

} // namespace meldung

namespace Fehlerbericht {

void ausfuehren(const std::function<void()>& befehl) {
    try {
        befehl();
    } catch (const fortschritt::Abgebrochen&) {
        // The user asked for it; nothing changed, so there is nothing to say.
    } catch (const Meldungsfehler& f) {
        meldung::zeige(meldung::Art::Fehler, f.text());
    } catch (const Fehler& f) {
        meldung::zeige(meldung::Art::Ausnahme, f.text());
    } catch (const std::bad_alloc&) {
        meldung::zeige(meldung::Art::Ausnahme, QStringLiteral("Zu wenig Arbeitsspeicher"));
    } catch (const std::exception& e) {
        meldung::zeige(meldung::Art::Ausnahme, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace Fehlerbericht
