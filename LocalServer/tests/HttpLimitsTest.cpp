#include "RawExchange.h"
#include "TestServer.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

// What the HTTP engine refuses and when it gives up on a client, with its limits shrunk so that
// every deadline is a fraction of a second.
class HttpLimitsTest : public QObject {
    Q_OBJECT

    static constexpr int deadlineMs = 300;
    std::unique_ptr<TestServer> server;

    RawExchange exchange(const QList<QByteArray>& writes,
                         const RawExchange::Until& done = RawExchange::anyAnswer) {
        return RawExchange::run(server->server().port(), server->server().certificatePath(), writes, done,
                                5000);
    }

    // An encrypted connection that stays open, answered or not.
    std::unique_ptr<QSslSocket> openConnection() {
        auto socket = std::make_unique<QSslSocket>();
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(server->server().certificatePath()));
        socket->setSslConfiguration(tls);
        socket->connectToHostEncrypted("127.0.0.1", server->server().port());
        return socket->waitForEncrypted(5000) ? std::move(socket) : nullptr;
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        HttpLimits& limits = server->options().http;
        limits.handshakeTimeoutMs = deadlineMs;
        limits.headerTimeoutMs = deadlineMs;
        limits.idleTimeoutMs = deadlineMs;
        limits.bodyTimeoutMs = deadlineMs;
        limits.writeTimeoutMs = deadlineMs;
        limits.maxHeaderBytes = 4096;
        limits.maxHeaderFields = 20;
        limits.maxBodyBytes = 1024;
        limits.maxUploadBytes = 64 * 1024;
        limits.maxConnections = 3;
        limits.maxConnectionsPerPeer = 3;
        QVERIFY(server->start());
    }
    void cleanup() { server.reset(); }

    void framingThatSmugglersUseIsRefused_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        QTest::newRow("obs-fold") << QByteArray(
                                         "GET /v1/environment HTTP/1.1\r\nHost: x\r\nX-A: a\r\n b\r\n\r\n")
                                  << 400;
        QTest::newRow("bare LF") << QByteArray("GET /v1/environment HTTP/1.1\nHost: x\n\n") << 400;
        QTest::newRow("bare LF in one field")
            << QByteArray("GET /v1/environment HTTP/1.1\r\nHost: x\nX: y\r\n\r\n") << 400;
        QTest::newRow("two lengths")
            << QByteArray(
                   "POST /v1/client/sign_ins HTTP/1.1\r\nContent-Length: 3\r\ncontent-length: 3\r\n\r\nabc")
            << 400;
        QTest::newRow("length and chunked")
            << QByteArray("POST /v1/client/sign_ins HTTP/1.1\r\nContent-Length: 3\r\nTransfer-Encoding: "
                          "chunked\r\n\r\n")
            << 400;
        QTest::newRow("bad length") << QByteArray(
                                           "POST /v1/client/sign_ins HTTP/1.1\r\nContent-Length: 3x\r\n\r\n")
                                    << 400;
        QByteArray manyFields = "GET /v1/environment HTTP/1.1\r\n";
        for (int i = 0; i < 21; ++i)
            manyFields += "X-" + QByteArray::number(i) + ": v\r\n";
        QTest::newRow("too many fields") << manyFields + "\r\n" << 431;
        QTest::newRow("header block too large")
            << "GET /v1/environment HTTP/1.1\r\nX-Big: " + QByteArray(5000, 'a') + "\r\n\r\n"
            << 431;
        QTest::newRow("header block too large, unfinished")
            << "GET /v1/environment HTTP/1.1\r\nX-Big: " + QByteArray(5000, 'a') << 431;
    }
    void framingThatSmugglersUseIsRefused() {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        const RawExchange answer = exchange({request});
        QVERIFY2(answer.received.startsWith("HTTP/1.1 " + QByteArray::number(status)),
                 answer.received.constData());
        QVERIFY(answer.received.contains("Connection: close"));
        QCOMPARE(server->server().requestsHandled(), 0u);
    }

    void bodiesAreLimitedPerRouteBeforeTheyAreRead() {
        // Refused from the header alone: the body is never sent.
        const RawExchange form = exchange(
            {"POST /v1/client/sign_ins HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
             "Content-Length: 1025\r\n\r\n"});
        QVERIFY2(form.received.startsWith("HTTP/1.1 413"), form.received.constData());
        // Uploads may be larger; this one reaches its route, which refuses the missing signature.
        const RawExchange upload = exchange(
            {"PUT /storage/u/d/f.txt HTTP/1.1\r\nContent-Length: 4000\r\n\r\n" + QByteArray(4000, 'x')});
        QVERIFY2(upload.received.startsWith("HTTP/1.1 4"), upload.received.constData());
        QVERIFY(!upload.received.startsWith("HTTP/1.1 413"));
        const RawExchange hugeUpload =
            exchange({"PUT /storage/u/d/f.txt HTTP/1.1\r\nContent-Length: 65537\r\n\r\n"});
        QVERIFY(hugeUpload.received.startsWith("HTTP/1.1 413"));
    }

    void slowAndIdleClientsAreCutOff() {
        // A header that drips one byte at a time never ends before its deadline.
        QTimer drip;
        const RawExchange dripped = exchange(
            {"GET /v1/environment HTTP/1.1\r\nX-Slow: "}, [&](const QByteArray&, QSslSocket& socket) {
                QObject::connect(&drip, &QTimer::timeout, &socket, [&socket] { socket.write("a"); });
                return false;
            });
        QVERIFY(dripped.closedByServer);
        QVERIFY(dripped.received.isEmpty());

        // A body that never arrives in full.
        const RawExchange body =
            exchange({"POST /v1/client/sign_ins HTTP/1.1\r\nContent-Length: 100\r\n\r\nidentifier="},
                     [](const QByteArray&, QSslSocket&) { return false; });
        QVERIFY(body.closedByServer);
        QVERIFY(body.received.isEmpty());

        // A kept-alive connection that sends nothing more.
        const RawExchange idle = exchange({"GET /v1/environment HTTP/1.1\r\n\r\n"},
                                          [](const QByteArray&, QSslSocket&) { return false; });
        QVERIFY(idle.received.startsWith("HTTP/1.1 200"));
        QVERIFY(idle.received.contains("Connection: keep-alive"));
        QVERIFY(idle.closedByServer);

        // A connection that never starts TLS.
        QTcpSocket plain;
        plain.connectToHost("127.0.0.1", server->server().port());
        QVERIFY(plain.waitForConnected(5000));
        QSignalSpy closed(&plain, &QTcpSocket::disconnected);
        QVERIFY(closed.wait(5000));
    }

    void aFullServerSaysSoAndRecovers() {
        std::vector<std::unique_ptr<QSslSocket>> held;
        for (int i = 0; i < 3; ++i) {
            held.push_back(openConnection());
            QVERIFY(held.back());
        }
        const RawExchange refused = exchange({"GET /v1/environment HTTP/1.1\r\n\r\n"});
        QVERIFY2(refused.received.startsWith("HTTP/1.1 503"), refused.received.constData());
        QVERIFY(refused.received.contains("Retry-After: 1"));
        QVERIFY(refused.received.contains("Connection: close"));

        held.front()->disconnectFromHost();
        held.erase(held.begin());
        // Each try is a new connection, and the server may not have seen the last one close yet,
        // so a try answered 200 counts even if the next is refused.
        bool recovered = false;
        QTRY_VERIFY_WITH_TIMEOUT(
            recovered =
                recovered ||
                exchange({"GET /v1/environment HTTP/1.1\r\n\r\n"}).received.startsWith("HTTP/1.1 200"),
            5000);
    }

    void aClientThatDoesNotReadStopsBeingRead() {
        // Far more answers than the socket buffers hold; the client reads none of them for now.
        constexpr quint64 pipelined = 20'000;
        QByteArray requests;
        for (quint64 i = 0; i < pipelined; ++i)
            requests += "GET /v1/environment HTTP/1.1\r\n\r\n";
        QSslSocket socket;
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(server->server().certificatePath()));
        socket.setSslConfiguration(tls);
        socket.setReadBufferSize(4096);
        socket.connectToHostEncrypted("127.0.0.1", server->server().port());
        QVERIFY(socket.waitForEncrypted(5000));
        socket.write(requests);
        quint64 handled = 0;
        quint64 before = 0;
        do {
            before = handled;
            QTest::qWait(2 * deadlineMs);
            handled = server->server().requestsHandled();
        } while (handled != before);
        QVERIFY2(handled < pipelined / 4, QByteArray::number(handled).constData());

        // Past its write deadline the server gave the connection up: reading now finds its end
        // after only the answers it had written.
        socket.setReadBufferSize(0);
        QByteArray received;
        connect(&socket, &QSslSocket::readyRead, this, [&] { received += socket.readAll(); });
        QTRY_VERIFY_WITH_TIMEOUT(socket.state() == QAbstractSocket::UnconnectedState, 10'000);
        received += socket.readAll();
        QVERIFY(quint64(received.count("HTTP/1.1 200 OK")) <= handled);
    }
};

QTEST_MAIN(HttpLimitsTest)
#include "HttpLimitsTest.moc"
