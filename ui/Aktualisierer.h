// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box's HTTP client: HEAD, then GET of one address, the body written to a device as
// it arrives. Everything runs on the window's thread through signals; nothing waits.

#include <QObject>
#include <QUrl>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

class Aktualisierer : public QObject {
    Q_OBJECT
public:
    explicit Aktualisierer(QObject* eltern = nullptr);
    ~Aktualisierer() override;

    // A request that makes no progress for this long fails.
    void setzeZeitlimit(int millisekunden) { m_zeitlimit = millisekunden; }

    // HEAD, then GET of `adresse`; the GET's body goes to `ziel`. A body larger than `grenze`
    // bytes, announced or received, fails the transfer. Ends with `fertig`, unless aborted.
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
    void gib(bool erfolg);

    QNetworkAccessManager* m_netz;
    QNetworkReply* m_antwort = nullptr;
    QUrl m_adresse;
    QIODevice* m_ziel = nullptr;
    qint64 m_grenze = 0;
    qint64 m_bisher = 0;
    int m_zeitlimit = 15000;
};
