// SPDX-License-Identifier: GPL-3.0-or-later
#include "Aktualisierer.h"

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <limits>

Aktualisierer::Aktualisierer(QObject* eltern) : QObject(eltern), m_netz(new QNetworkAccessManager(this)) {
    m_netz->setCookieJar(new QNetworkCookieJar(m_netz));
    m_netz->setProxy(QNetworkProxy::NoProxy);
}

Aktualisierer::~Aktualisierer() {
    abbrechen();
}

QNetworkRequest Aktualisierer::anfrage() const {
    QNetworkRequest r(m_adresse);
    r.setRawHeader("Accept", "text/html, */*");
    r.setRawHeader("Content-Type", "text/html");
    r.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    // A redirect may go from http to https, never back.
    r.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    r.setMaximumRedirectsAllowed(5);
    r.setTransferTimeout(m_zeitlimit);
    return r;
}

void Aktualisierer::hole(const QUrl& adresse, QIODevice* ziel, qint64 grenze) {
    abbrechen();
    m_adresse = adresse;
    m_ziel = ziel;
    m_grenze = grenze;
    starte(true);
}

void Aktualisierer::starte(bool kopf) {
    m_bisher = 0;
    m_antwort = kopf ? m_netz->head(anfrage()) : m_netz->get(anfrage());
    connect(m_antwort, &QNetworkReply::downloadProgress, this,
            [this](qint64 bisher, qint64) { emit fortschritt(bisher); });
    if (kopf) {
        connect(m_antwort, &QNetworkReply::finished, this, &Aktualisierer::kopfFertig);
    } else {
        connect(m_antwort, &QNetworkReply::readyRead, this, &Aktualisierer::datenDa);
        connect(m_antwort, &QNetworkReply::finished, this, &Aktualisierer::koerperFertig);
    }
}

bool Aktualisierer::antwortGut() const {
    if (m_antwort->error() != QNetworkReply::NoError)
        return false;
    const int status = m_antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status >= 200 && status < 300;
}

void Aktualisierer::kopfFertig() {
    if (!antwortGut())
        return gib(false);
    qint64 laenge = 0;
    const QVariant angabe = m_antwort->header(QNetworkRequest::ContentLengthHeader);
    if (angabe.isValid()) {
        bool ok = false;
        laenge = angabe.toLongLong(&ok);
        if (!ok || laenge < 0 || laenge > std::numeric_limits<qint32>::max() || laenge > m_grenze)
            return gib(false);
    }
    abbrechen(); // the head is complete; aborting a finished reply only lets it go
    emit this->laenge(static_cast<qint32>(laenge));
    starte(false);
}

void Aktualisierer::datenDa() {
    const QVariant angabe = m_antwort->header(QNetworkRequest::ContentLengthHeader);
    if (angabe.isValid() && angabe.toLongLong() > m_grenze)
        return gib(false);
    while (m_antwort && m_antwort->bytesAvailable() > 0) {
        const QByteArray stueck = m_antwort->read(64 * 1024);
        // Checked before anything is kept: a server that sends without end stops at the limit.
        if (stueck.size() > m_grenze - m_bisher || m_ziel->write(stueck) != stueck.size())
            return gib(false);
        m_bisher += stueck.size();
    }
}

void Aktualisierer::koerperFertig() {
    if (!antwortGut())
        return gib(false);
    datenDa();
    if (m_antwort)
        gib(true);
}

void Aktualisierer::gib(bool erfolg) {
    abbrechen();
    emit fertig(erfolg);
}

void Aktualisierer::abbrechen() {
    if (!m_antwort)
        return;
    QNetworkReply* antwort = m_antwort;
    m_antwort = nullptr;
    antwort->disconnect(this);
    antwort->abort();
    antwort->deleteLater();
}
