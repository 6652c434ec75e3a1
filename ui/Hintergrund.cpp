// SPDX-License-Identifier: GPL-3.0-or-later
#include "Hintergrund.h"

#include "Fortschritt.h"
#include "Meldungsfehler.h"
#include "Zahltext.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <memory>

namespace hintergrund {
namespace {

constexpr int kVerzoegerung = 300; // ms: quick work shows no dialog
constexpr int kTakt = 100;         // ms between two looks at the Stand
constexpr int kSchritte = 1000;    // the bar's resolution

bool g_laeuft = false;
int g_verzoegerung = -1;

// "12.345 von 1.000.000", or the units done alone while the total is not known.
QString standText(qint64 erledigt, qint64 gesamt) {
    if (gesamt <= 0)
        return zahltext::ganz(erledigt);
    return QStringLiteral("%1 von %2").arg(zahltext::ganz(erledigt), zahltext::ganz(gesamt));
}

class Anzeige {
public:
    Anzeige(QWidget* eltern, const QString& text, fortschritt::Stand& stand)
        : m_eltern(eltern), m_text(text), m_stand(stand) {}

    void zeige() {
        m_dialog = std::make_unique<QProgressDialog>(m_eltern);
        m_dialog->setObjectName(QStringLiteral("Fortschritt"));
        m_dialog->setWindowTitle(QStringLiteral("Skalora"));
        m_dialog->setCancelButtonText(QStringLiteral("Abbrechen"));
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        QObject::connect(m_dialog.get(), &QProgressDialog::canceled, m_dialog.get(),
                         [this] { m_stand.abbrechen.store(true); });
        aktualisiere();
        m_dialog->show();
    }

    void aktualisiere() {
        if (!m_dialog || m_dialog->wasCanceled())
            return;
        const qint64 erledigt = m_stand.erledigt.load(), gesamt = m_stand.gesamt.load();
        if (gesamt > 0) {
            m_dialog->setRange(0, kSchritte);
            m_dialog->setValue(static_cast<int>(std::min(erledigt, gesamt) * kSchritte / gesamt));
        } else {
            m_dialog->setRange(0, 0); // moving bar: how much is left is not known
        }
        m_dialog->setLabelText(m_text + QStringLiteral(" …\n") + standText(erledigt, gesamt));
    }

private:
    QWidget* m_eltern;
    QString m_text;
    fortschritt::Stand& m_stand;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace

bool laeuft() {
    return g_laeuft;
}

void setzeTestverzoegerung(int ms) {
    g_verzoegerung = ms;
}

void laufe(QWidget* eltern, const QString& text, const std::function<void()>& arbeit, QObject* mit) {
    if (g_laeuft)
        fehler::abbruchMitFehlerbox(
            QStringLiteral("Skalora arbeitet noch. Bitte warten Sie, bis die laufende Arbeit beendet ist."));
    g_laeuft = true;
    struct Ende {
        ~Ende() { g_laeuft = false; }
    } ende;

    fortschritt::Stand stand;
    std::exception_ptr fehler;
    std::atomic<bool> fertig{false};
    QEventLoop schleife;
    QThread* fenster = QThread::currentThread();
    std::unique_ptr<QThread> faden(QThread::create([&] {
        {
            const fortschritt::Bindung bindung(stand);
            try {
                fortschritt::pruefe();
                arbeit();
            } catch (...) {
                fehler = std::current_exception();
            }
        }
        if (mit)
            mit->moveToThread(fenster); // only its own thread may hand it on
        fertig.store(true);
        // Queued: the loop runs on the window thread (and may not have started yet).
        QMetaObject::invokeMethod(&schleife, &QEventLoop::quit, Qt::QueuedConnection);
    }));

    Anzeige anzeige(eltern, text, stand);
    QTimer verzoegerung, takt;
    verzoegerung.setSingleShot(true);
    QObject::connect(&verzoegerung, &QTimer::timeout, &schleife, [&anzeige, &takt] {
        anzeige.zeige();
        takt.start(kTakt);
    });
    QObject::connect(&takt, &QTimer::timeout, &schleife, [&anzeige] { anzeige.aktualisiere(); });

    verzoegerung.start(g_verzoegerung >= 0 ? g_verzoegerung : kVerzoegerung);
    if (mit)
        mit->moveToThread(faden.get());
    faden->start();
    schleife.exec();
    if (!fertig.load())
        stand.abbrechen.store(true); // the loop was ended from outside: the program closes
    // The job stops at its next report once cancelled; the worker is always waited for.
    faden->wait();
    if (stand.abbrechen.load())
        throw fortschritt::Abgebrochen{};
    if (fehler)
        std::rethrow_exception(fehler);
}

} // namespace hintergrund
