// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box's HTTP client: HEAD, then GET of one address, the body written to a device as
// it arrives. Everything runs on the window's thread through signals; nothing waits.

#include "Aktualisierung.h"

#include <QObject>
#include <QUrl>
#include <optional>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QTimer;

class Aktualisierer : public QObject {
    Q_OBJECT
public:
    explicit Aktualisierer(QObject* eltern = nullptr);
    ~Aktualisierer() override;

    // A request that makes no progress for this long fails.
    void setzeZeitlimit(int millisekunden) { m_zeitlimit = millisekunden; }
    // A request that takes longer than this, plus the time its expected bytes take on a slow
    // line, fails too, however steadily it trickles.
    void setzeFrist(int millisekunden) { m_frist = millisekunden; }

    // HEAD, then GET of `adresse`; the GET's body goes to `ziel`. A body larger than `grenze`
    // bytes, announced or received, fails the transfer, and so does one that differs from a
    // length HEAD or GET announced. Ends with `fertig`, unless aborted.
    void hole(const QUrl& adresse, QIODevice* ziel, qint64 grenze);
    // Stops the transfer at once; no signal follows.
    void abbrechen();

signals:
    // The content length the HEAD response announced (0 when it named none).
    void laenge(qint32 bytes);
    // Bytes of the current request so far.
    void fortschritt(qint64 bisher);
    void fertig(bool erfolg);

private:
    QNetworkRequest anfrage() const;
    void starte(bool kopf);
    void kopfFertig();
    void datenDa();
    void koerperFertig();
    bool antwortGut() const;
    aktualisierung::Erwartung erwartung() const;
    void gib(bool erfolg);

    QNetworkAccessManager* m_netz;
    QTimer* m_uhr;
    QNetworkReply* m_antwort = nullptr;
    std::optional<qint64> m_kopfLaenge;
    QUrl m_adresse;
    QIODevice* m_ziel = nullptr;
    qint64 m_grenze = 0;
    qint64 m_bisher = 0;
    int m_zeitlimit = 15000;
    int m_frist = 60000;
};
