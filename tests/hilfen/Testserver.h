// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HTTP peers on loopback for the update check's tests: a server that answers HEAD and GET by
// path as a route says (hanging, without a length, announcing another length), a sender that
// floods on its own thread, and a buffer that holds the client on its first write.

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <utility>

namespace testnetz {

struct Route {
    int status = 200;
    QByteArray koerper;
    bool haengt = false;     // GET: headers, then silence
    bool ohneLaenge = false; // no Content-Length; the body ends with the connection
    QByteArray kopfLaenge;   // what HEAD announces instead of the body's length
    qsizetype gekappt = -1;  // GET: only so many bytes of the body, then the connection closes
    bool tropft = false;     // GET: the body a byte every 50 ms

    Route(int s = 200, QByteArray k = {}) : status(s), koerper(std::move(k)) {}
    Route haengend() const {
        Route r = *this;
        r.haengt = true;
        return r;
    }
    Route unangekuendigt() const {
        Route r = *this;
        r.ohneLaenge = true;
        return r;
    }
    Route kopfMeldet(QByteArray laenge) const {
        Route r = *this;
        r.kopfLaenge = std::move(laenge);
        return r;
    }
    Route kappen(qsizetype bytes) const {
        Route r = *this;
        r.gekappt = bytes;
        return r;
    }
    Route tropfend() const {
        Route r = *this;
        r.tropft = true;
        return r;
    }
};
} // namespace testnetz
Q_DECLARE_METATYPE(testnetz::Route)
namespace testnetz {

// Answers HEAD and GET by path, one request per connection, and notes what it was asked.
class Testserver : public QTcpServer {
public:
    QHash<QByteArray, Route> routen;
    QList<QByteArray> anfragen; // "GET /skalora.ver"
    QList<QHash<QByteArray, QByteArray>> koepfe;

    Testserver() {
        QVERIFY(listen(QHostAddress::LocalHost));
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection())
                verbinde(s);
        });
    }
    QString basis() const { return QStringLiteral("http://127.0.0.1:%1/").arg(serverPort()); }
    int anzahl(const QByteArray& anfrage) const { return int(anfragen.count(anfrage)); }

private:
    void verbinde(QTcpSocket* s) {
        auto puffer = std::make_shared<QByteArray>();
        connect(s, &QTcpSocket::readyRead, this, [this, s, puffer] {
            *puffer += s->readAll();
            const qsizetype ende = puffer->indexOf("\r\n\r\n");
            if (ende >= 0) {
                beantworte(s, puffer->left(ende));
                puffer->clear();
            }
        });
    }
    void beantworte(QTcpSocket* s, const QByteArray& kopf) {
        const QList<QByteArray> zeilen = kopf.split('\n');
        const QList<QByteArray> anfrage = zeilen.value(0).trimmed().split(' ');
        const QByteArray methode = anfrage.value(0), pfad = anfrage.value(1);
        anfragen << methode + ' ' + pfad;
        QHash<QByteArray, QByteArray> felder;
        for (qsizetype i = 1; i < zeilen.size(); ++i)
            if (const qsizetype p = zeilen[i].indexOf(':'); p > 0)
                felder.insert(zeilen[i].left(p).trimmed().toLower(), zeilen[i].mid(p + 1).trimmed());
        koepfe << felder;

        const Route r = routen.value(pfad, Route(404, "nicht vorhanden"));
        const bool nurKopf = methode == "HEAD";
        QByteArray antwort =
            "HTTP/1.1 " + QByteArray::number(r.status) + (r.status == 200 ? " OK" : " Fehler") + "\r\n";
        if (nurKopf && !r.kopfLaenge.isEmpty())
            antwort += "Content-Length: " + r.kopfLaenge + "\r\n";
        else if (!r.ohneLaenge)
            antwort += "Content-Length: " + QByteArray::number(r.koerper.size()) + "\r\n";
        antwort += "Connection: close\r\n\r\n";
        s->write(antwort);
        if (!nurKopf && r.haengt)
            return;
        if (!nurKopf && r.tropft)
            return tropfe(s, r.koerper);
        if (!nurKopf)
            s->write(r.gekappt >= 0 ? r.koerper.left(r.gekappt) : r.koerper);
        s->disconnectFromHost();
    }
    void tropfe(QTcpSocket* s, const QByteArray& koerper) {
        auto* uhr = new QTimer(s);
        auto rest = std::make_shared<QByteArray>(koerper);
        connect(uhr, &QTimer::timeout, s, [s, uhr, rest] {
            if (rest->isEmpty()) {
                uhr->stop();
                s->disconnectFromHost();
                return;
            }
            s->write(rest->left(1));
            rest->remove(0, 1);
        });
        uhr->start(50);
    }
};

// An endless body, sent as fast as the client takes it from a thread of its own, so that a
// test can hold the client's thread still and see how much its side lets pile up meanwhile.
// The first piece goes out at once; the flood follows only on `los`, set while the client is
// held: Qt's HTTP thread learns a reply's read buffer size only after the request has started,
// and what it reads before that is not held back, so a flood from the first byte would measure
// how long the client's thread took to get there rather than what it lets pile up.
class Flut : public QThread {
public:
    std::atomic<quint16> port{0};
    std::atomic<qint64> gesendet{0};   // handed to the system, no longer in the socket's buffer
    std::atomic<bool> getrennt{false}; // the client closed the connection of the GET
    std::atomic<bool> halt{false};
    std::atomic<bool> los{false};

    ~Flut() override {
        halt = true;
        wait();
    }

protected:
    void run() override {
        QTcpServer server;
        if (!server.listen(QHostAddress::LocalHost))
            return;
        port = server.serverPort();
        const QDeadlineTimer schluss(30000);
        while (!halt && !schluss.hasExpired()) {
            if (!server.waitForNewConnection(50))
                continue;
            std::unique_ptr<QTcpSocket> s(server.nextPendingConnection());
            QByteArray anfrage;
            while (!anfrage.contains("\r\n\r\n") && s->waitForReadyRead(5000))
                anfrage += s->readAll();
            s->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            if (anfrage.startsWith("HEAD")) {
                s->waitForBytesWritten(5000);
                s->disconnectFromHost();
                continue;
            }
            const QByteArray stueck(256 * 1024, 'x');
            s->write(stueck);
            qint64 geschrieben = stueck.size();
            while (!los && !halt && !schluss.hasExpired() && s->state() == QAbstractSocket::ConnectedState)
                s->waitForReadyRead(20);
            while (!halt && !schluss.hasExpired() && s->state() == QAbstractSocket::ConnectedState) {
                if (s->bytesToWrite() < stueck.size()) {
                    s->write(stueck);
                    geschrieben += stueck.size();
                }
                s->waitForBytesWritten(50);
                gesendet = geschrieben - s->bytesToWrite();
            }
            getrennt = s->state() != QAbstractSocket::ConnectedState;
            return;
        }
    }
};

// A buffer that runs `halt` on the window's thread when the first bytes are written to it.
class Haltepunkt : public QBuffer {
public:
    explicit Haltepunkt(std::function<void()> halt) : m_halt(std::move(halt)) {}

protected:
    qint64 writeData(const char* daten, qint64 laenge) override {
        if (m_halt)
            std::exchange(m_halt, nullptr)();
        return QBuffer::writeData(daten, laenge);
    }

private:
    std::function<void()> m_halt;
};

} // namespace testnetz
