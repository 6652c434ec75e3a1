// SPDX-License-Identifier: GPL-3.0-or-later
#include "Aktualisierer.h"

#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <limits>

namespace {
// Without a bound the network layer reads as fast as the server sends, whatever this side keeps.
constexpr qint64 kLesepuffer = 1024 * 1024;
} // namespace

Aktualisierer::Aktualisierer(QObject* eltern)
    : QObject(eltern), m_netz(new QNetworkAccessManager(this)), m_uhr(new QTimer(this)) {
    m_netz->setCookieJar(new QNetworkCookieJar(m_netz));
    m_netz->setProxy(QNetworkProxy::NoProxy);
    m_uhr->setSingleShot(true);
    connect(m_uhr, &QTimer::timeout, this, [this] { gib(false); });
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
    m_kopfLaenge.reset();
    starte(true);
}

void Aktualisierer::starte(bool kopf) {
    m_bisher = 0;
    m_antwort = kopf ? m_netz->head(anfrage()) : m_netz->get(anfrage());
    connect(m_antwort, &QNetworkReply::downloadProgress, this, [this](qint64 bisher, qint64) {
        // What arrived counts, not only what was read: the limit holds before it is all read.
        if (bisher > m_grenze)
            return gib(false);
        emit fortschritt(bisher);
    });
    if (kopf) {
        connect(m_antwort, &QNetworkReply::finished, this, &Aktualisierer::kopfFertig);
    } else {
        // Qt hands the bound to its HTTP thread behind the start, so the first bytes may come
        // before it holds; from then on it does, and the limit below ends a flood either way.
        m_antwort->setReadBufferSize(kLesepuffer);
        connect(m_antwort, &QNetworkReply::readyRead, this, &Aktualisierer::datenDa);
        connect(m_antwort, &QNetworkReply::finished, this, &Aktualisierer::koerperFertig);
    }
    // A steady trickle never trips the no-progress limit; this ends it. A body of unknown size
    // may take as long as one of the limit's size would.
    m_uhr->start(aktualisierung::frist(m_frist, kopf ? 0 : m_kopfLaenge.value_or(m_grenze)));
}

aktualisierung::Erwartung Aktualisierer::erwartung() const {
    aktualisierung::Erwartung e{m_kopfLaenge, std::nullopt, m_grenze};
    // Qt decodes a compressed body and drops its length; HEAD's length counted the encoded bytes.
    const QByteArray kodierung = m_antwort->rawHeader("Content-Encoding").trimmed().toLower();
    if (!kodierung.isEmpty() && kodierung != "identity")
        e.kopf.reset();
    if (const QVariant angabe = m_antwort->header(QNetworkRequest::ContentLengthHeader); angabe.isValid())
        e.koerper = angabe.toLongLong();
    return e;
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
    const QVariant angabe = m_antwort->header(QNetworkRequest::ContentLengthHeader);
    if (angabe.isValid()) {
        bool ok = false;
        const qint64 laenge = angabe.toLongLong(&ok);
        if (!ok || laenge < 0 || laenge > std::numeric_limits<qint32>::max() || laenge > m_grenze)
            return gib(false);
        m_kopfLaenge = laenge;
    }
    abbrechen(); // the head is complete; aborting a finished reply only lets it go
    emit this->laenge(static_cast<qint32>(m_kopfLaenge.value_or(0)));
    starte(false);
}

void Aktualisierer::datenDa() {
    if (!aktualisierung::nochMoeglich(erwartung(), m_bisher))
        return gib(false);
    while (m_antwort && m_antwort->bytesAvailable() > 0) {
        const QByteArray stueck = m_antwort->read(64 * 1024);
        // Checked before anything is kept: a server that sends without end stops at the limit.
        if (!aktualisierung::nochMoeglich(erwartung(), m_bisher + stueck.size()) ||
            m_ziel->write(stueck) != stueck.size())
            return gib(false);
        m_bisher += stueck.size();
    }
}

void Aktualisierer::koerperFertig() {
    // A connection closed before the announced end is a network error, not an end.
    if (!antwortGut())
        return gib(false);
    datenDa();
    if (m_antwort)
        gib(aktualisierung::vollstaendig(erwartung(), m_bisher));
}

void Aktualisierer::gib(bool erfolg) {
    abbrechen();
    emit fertig(erfolg);
}

void Aktualisierer::abbrechen() {
    m_uhr->stop();
    if (!m_antwort)
        return;
    QNetworkReply* antwort = m_antwort;
    m_antwort = nullptr;
    antwort->disconnect(this);
    antwort->abort();
    antwort->deleteLater();
}
