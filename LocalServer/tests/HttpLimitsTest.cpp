#include "Import/ImportRoutes.h"
#include "RawExchange.h"
#include "TestServer.h"

#include <QDir>
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

    // An encrypted connection that stays open, answered or not; `sent` goes out once it is. A
    // `readBuffer` other than 0 keeps that little of the answers read off the wire.
    std::unique_ptr<QSslSocket> openConnection(const QByteArray& sent = {}, qint64 readBuffer = 0) {
        auto socket = std::make_unique<QSslSocket>();
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(server->server().certificatePath()));
        socket->setSslConfiguration(tls);
        socket->setReadBufferSize(readBuffer);
        socket->connectToHostEncrypted("127.0.0.1", server->server().port());
        if (!socket->waitForEncrypted(5000))
            return nullptr;
        socket->write(sent);
        return socket->waitForBytesWritten(5000) || sent.isEmpty() ? std::move(socket) : nullptr;
    }

    // Whether the server still serves `socket` (it answers a request on it).
    static bool stillServed(QSslSocket& socket) {
        socket.write("GET /v1/environment HTTP/1.1\r\n\r\n");
        QByteArray received;
        while (!received.contains("\r\n\r\n") && socket.waitForReadyRead(5000))
            received += socket.readAll();
        return received.startsWith("HTTP/1.1 200");
    }

    // A request's head and part of its body, the rest held back.
    static QByteArray partialBody(const QByteArray& target, qint64 length, const QByteArray& headers = {}) {
        return target + " HTTP/1.1\r\n" + headers + "Content-Length: " + QByteArray::number(length) +
               "\r\n\r\n" + QByteArray(int(qMin<qint64>(length - 1, 100)), 'x');
    }

    // A connection whose request is under way: the server has taken its head and asked for the
    // body (100 Continue), which never comes.
    std::unique_ptr<QSslSocket> holdRequest(const QByteArray& target, const QByteArray& headers = {}) {
        auto socket = openConnection(target + " HTTP/1.1\r\n" + headers +
                                     "Expect: 100-continue\r\nContent-Length: 100\r\n\r\n");
        QByteArray received;
        while (socket && !received.contains("\r\n\r\n") && socket->waitForReadyRead(5000))
            received += socket->readAll();
        return received.startsWith("HTTP/1.1 100 Continue") ? std::move(socket) : nullptr;
    }

    // Restarts the server with room for the connections of the test's own HTTP client too, for
    // tests that sign users up.
    bool withRoom() {
        server->stop();
        server->options().http.maxConnections = 8;
        server->options().http.maxConnectionsPerPeer = 8;
        return server->start();
    }

    // A signed-up user's session token.
    QByteArray signedIn(const QString& email) {
        return server->sessionToken(server->signUp(email, "limits-student-1")).toLatin1();
    }

    // The presigned PUT URL (path and query) of a new upload of `size` bytes.
    QByteArray uploadTarget(const QByteArray& token, qint64 size) {
        const TestServer::Reply started =
            server->api("POST", "/api/v2/uploads/document/initiate", token,
                        {{"filename", "notes.txt"}, {"file_size", size}, {"content_type", "text/plain"}});
        const QUrl url(started.json().value("presigned_url").toString());
        return url.path(QUrl::FullyEncoded).toLatin1() + '?' + url.query(QUrl::FullyEncoded).toLatin1();
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
        limits.maxWaitingConnections = 2;
        limits.maxAnonymousRequests = 3;
        limits.maxRequestsPerAccount = 2;
        // Small kernel buffers, so that an answer the client does not read stays on the server.
        limits.socketSendBufferBytes = 16 * 1024;
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

    void headerFieldsUpToTheLimitAreTaken() {
        QByteArray request = "GET /v1/environment HTTP/1.1\r\n";
        for (int i = 0; i < 20; ++i)
            request += "X-" + QByteArray::number(i) + ": v\r\n";
        const RawExchange answer = exchange({request + "\r\n"});
        QVERIFY2(answer.received.startsWith("HTTP/1.1 200"), answer.received.constData());
    }

    void controlCharactersInAPathAreRefusedBeforeRouting_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<bool>("refused");
        QTest::newRow("NUL before a suffix") << QByteArray("/media/u/songs/s.ogg%00.wav") << true;
        QTest::newRow("NUL in a song") << QByteArray("/api/media/songs/s.ogg%00.wav?sig=x") << true;
        QTest::newRow("unit separator") << QByteArray("/media/a%1F.wav") << true;
        QTest::newRow("DEL") << QByteArray("/media/a%7F.wav") << true;
        QTest::newRow("space") << QByteArray("/media/a%20.wav") << false;
    }
    void controlCharactersInAPathAreRefusedBeforeRouting() {
        QFETCH(QByteArray, path);
        QFETCH(bool, refused);
        // A song beside the media, where a cut-short name would find it.
        QVERIFY(QDir(server->dataDir()).mkpath("media/u/songs"));
        QFile song(server->dataDir() + "/media/u/songs/s.ogg");
        QVERIFY(song.open(QIODevice::WriteOnly) && song.write("OggS") == 4);
        song.close();
        const RawExchange answer = exchange({"GET " + path + " HTTP/1.1\r\n\r\n"});
        QCOMPARE(answer.received.startsWith("HTTP/1.1 400"), refused);
        QVERIFY(!answer.received.contains("OggS"));
        QCOMPARE(server->server().requestsHandled(), refused ? 0u : 1u);
    }

    void bodiesAreLimitedPerRouteBeforeTheyAreRead() {
        // Refused from the header alone: the body is never sent.
        const RawExchange form = exchange(
            {"POST /v1/client/sign_ins HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
             "Content-Length: 1025\r\n\r\n"});
        QVERIFY2(form.received.startsWith("HTTP/1.1 413"), form.received.constData());
        const RawExchange hugeUpload =
            exchange({"PUT /storage/u/d/f.txt HTTP/1.1\r\nContent-Length: 65537\r\n\r\n"});
        QVERIFY(hugeUpload.received.startsWith("HTTP/1.1 413"));
    }

    // Each request states the largest body its route takes and sends only a little of it: the
    // refusal comes from the head, before the rest, and no handler runs.
    void credentialsAreCheckedBeforeTheBody_data() {
        QTest::addColumn<QByteArray>("route");
        QTest::addColumn<QByteArray>("credential");
        QTest::addColumn<int>("status");
        QTest::newRow("upload, wrong signature") << QByteArray("storage") << QByteArray("00") << 403;
        QTest::newRow("upload, no signature") << QByteArray("storage") << QByteArray() << 403;
        QTest::newRow("upload, truncated signature")
            << QByteArray("storage") << QByteArray("truncated") << 403;
        QTest::newRow("upload, expired") << QByteArray("storage") << QByteArray("expired") << 403;
        QTest::newRow("deck, signed for a document") << QByteArray("deck") << QByteArray("document") << 403;
        QTest::newRow("paste, no token") << QByteArray("paste") << QByteArray() << 401;
        QTest::newRow("paste, empty bearer") << QByteArray("paste") << QByteArray("Bearer ") << 401;
        QTest::newRow("paste, truncated token") << QByteArray("paste") << QByteArray("truncated") << 401;
        QTest::newRow("paste, expired token") << QByteArray("paste") << QByteArray("expired") << 401;
    }
    void credentialsAreCheckedBeforeTheBody() {
        QFETCH(QByteArray, route);
        QFETCH(QByteArray, credential);
        QFETCH(int, status);
        QVERIFY(withRoom());
        server->freezeClock();
        const QByteArray token = signedIn("gate@example.com");
        const bool expired = credential == "expired";
        QByteArray target;
        QByteArray headers;
        qint64 limit = 0;
        if (route == "paste") {
            target = "POST /api/study-content/import/initiate/paste";
            limit = ImportRoutes::maxPasteBodyBytes;
            if (credential == "truncated")
                credential = "Bearer " + token.chopped(1);
            else if (credential == "expired")
                credential = "Bearer " + token;
            if (!credential.isEmpty())
                headers = "Authorization: " + credential + "\r\n";
        } else {
            QByteArray signedTarget = uploadTarget(token, 100);
            limit = server->options().http.maxUploadBytes;
            if (route == "deck")
                signedTarget.replace("/storage/", ImportRoutes::storagePath);
            const qsizetype signature = signedTarget.indexOf("signature=") + 10;
            if (credential == "truncated")
                signedTarget.chop(1);
            else if (credential != "expired" && credential != "document")
                signedTarget = signedTarget.left(signature) + credential;
            target = "PUT " + signedTarget;
        }
        if (expired)
            server->advanceClock(3'600'000 + 1000);
        const qint64 handledBefore = server->server().requestsHandled();
        const RawExchange answer = exchange({partialBody(target, limit, headers)});
        QVERIFY2(answer.received.startsWith("HTTP/1.1 " + QByteArray::number(status)),
                 answer.received.constData());
        QVERIFY(answer.received.contains("Connection: close"));
        QCOMPARE(qint64(server->server().requestsHandled()), handledBefore);
    }

    void anUploadUpToItsLimitGoesToDiskAsItArrives() {
        QVERIFY(withRoom());
        const QByteArray token = signedIn("upload@example.com");
        const qint64 limit = server->options().http.maxUploadBytes;
        const QByteArray target = uploadTarget(token, limit);
        QByteArray bytes(int(limit), 'u');
        bytes.back() = 'z';
        auto upload =
            openConnection("PUT " + target + " HTTP/1.1\r\nContent-Length: " + QByteArray::number(limit) +
                           "\r\n\r\n" + bytes.left(int(limit / 2)));
        QVERIFY(upload);
        // Half the body is on disk already, in a file of its own, before the rest is sent.
        const QDir incoming(server->dataDir() + "/incoming");
        QTRY_VERIFY_WITH_TIMEOUT(incoming.entryInfoList(QDir::Files).size() == 1 &&
                                     incoming.entryInfoList(QDir::Files).front().size() == limit / 2,
                                 5000);
        upload->write(bytes.mid(int(limit / 2)));
        QByteArray received;
        while (!received.contains("\r\n\r\n") && upload->waitForReadyRead(5000))
            received += upload->readAll();
        QVERIFY2(received.startsWith("HTTP/1.1 200"), received.constData());
        QVERIFY(incoming.entryList(QDir::Files).isEmpty());
        const QString key = QUrl::fromPercentEncoding(target.mid(9, target.indexOf('?') - 9));
        QFile stored(server->dataDir() + "/storage/" + key);
        QVERIFY(stored.open(QIODevice::ReadOnly));
        QCOMPARE(stored.readAll(), bytes);
    }

    // The answer's tail is rewritten on disk once its first bytes have arrived and while the
    // client reads no more: what arrives is the new tail, so the server had not read it before.
    void filesAreReadAsTheClientTakesThem_data() {
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<qint64>("first");
        QTest::newRow("whole") << QByteArray() << qint64(0);
        QTest::newRow("range") << QByteArray("Range: bytes=524288-\r\n") << qint64(512 << 10);
    }
    void filesAreReadAsTheClientTakesThem() {
        QFETCH(QByteArray, range);
        QFETCH(qint64, first);
        // The client pauses between reads here; this test is not about the write deadline.
        server->stop();
        server->options().http.writeTimeoutMs = 60'000;
        QVERIFY(server->start());
        constexpr int size = 2 << 20;
        constexpr int tail = 512 << 10;
        QVERIFY(QDir(server->dataDir()).mkpath("media/u"));
        QFile clip(server->dataDir() + "/media/u/clip.wav");
        QVERIFY(clip.open(QIODevice::ReadWrite) && clip.write(QByteArray(size, 'a')) == size);
        QVERIFY(clip.flush());

        const std::unique_ptr<QSslSocket> connection = openConnection({}, 4096);
        QVERIFY(connection);
        QSslSocket& socket = *connection;
        socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 16 * 1024);
        socket.write("GET /media/u/clip.wav HTTP/1.1\r\n" + range + "\r\n");
        // Once the first bytes of the body are here, the server has begun reading the file.
        QByteArray received;
        while ((received.indexOf("\r\n\r\n") < 0 || received.size() < received.indexOf("\r\n\r\n") + 5) &&
               socket.waitForReadyRead(5000))
            received += socket.readAll();
        QVERIFY(clip.seek(size - tail) && clip.write(QByteArray(tail, 'b')) == tail && clip.flush());

        socket.setReadBufferSize(0);
        const qsizetype headEnd = received.indexOf("\r\n\r\n") + 4;
        QVERIFY(headEnd > 4);
        while (received.size() - headEnd < size - first && socket.waitForReadyRead(5000))
            received += socket.readAll();
        const QByteArray body = received.mid(headEnd);
        QCOMPARE(body.size(), size - first);
        QVERIFY(body.right(tail) == QByteArray(tail, 'b'));
        QCOMPARE(body.count('a'), size - first - tail);
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

    void connectionsWithoutARequestGiveWay() {
        // Only room for others may close a connection here, not its deadlines.
        server->stop();
        HttpLimits& limits = server->options().http;
        limits.handshakeTimeoutMs = limits.headerTimeoutMs = limits.idleTimeoutMs = 60'000;
        QVERIFY(server->start());
        // Exactly as many as may wait: both stay.
        auto oldest = openConnection();
        auto newer = openConnection();
        QVERIFY(oldest && newer);
        QSignalSpy oldestClosed(oldest.get(), &QSslSocket::disconnected);
        // One more closes the one that has waited longest, and is served.
        const RawExchange served = exchange({"GET /v1/environment HTTP/1.1\r\n\r\n"});
        QVERIFY2(served.received.startsWith("HTTP/1.1 200"), served.received.constData());
        QTRY_COMPARE_WITH_TIMEOUT(oldestClosed.count(), 1, 5000);
        QVERIFY(stillServed(*newer));
    }

    void requestsUnderWayHaveTheirBudgets() {
        server->options().http.maxAnonymousRequests = 2;
        QVERIFY(withRoom());
        const QByteArray alice = signedIn("alice@example.com");
        const QByteArray bob = signedIn("bob@example.com");
        const QByteArray paste = "POST /api/study-content/import/initiate/paste";
        // An account's requests: exactly its two slots, then 429 from the head; others are not held up.
        std::vector<std::unique_ptr<QSslSocket>> held;
        for (int i = 0; i < 2; ++i) {
            held.push_back(holdRequest(paste, "Authorization: Bearer " + alice + "\r\n"));
            QVERIFY(held.back());
        }
        const RawExchange third =
            exchange({partialBody(paste, 1000, "Authorization: Bearer " + alice + "\r\n")});
        QVERIFY2(third.received.startsWith("HTTP/1.1 429"), third.received.constData());
        const RawExchange other = exchange({"GET /api/notifications/unread-count HTTP/1.1\r\n"
                                            "Authorization: Bearer " +
                                            bob + "\r\n\r\n"});
        QVERIFY2(other.received.startsWith("HTTP/1.1 200"), other.received.constData());
        held.clear();

        // Anonymous requests share two slots.
        const QByteArray signIn = "POST /v1/client/sign_ins";
        for (int i = 0; i < 2; ++i) {
            held.push_back(holdRequest(signIn));
            QVERIFY(held.back());
        }
        const RawExchange anonymous = exchange({partialBody(signIn, 100)});
        QVERIFY2(anonymous.received.startsWith("HTTP/1.1 503"), anonymous.received.constData());
        QVERIFY(anonymous.received.contains("Retry-After: 1"));
    }

    void aServerFullOfRequestsSaysSoAndRecovers() {
        // With every connection busy and none waiting to give way, the server is full.
        std::vector<std::unique_ptr<QSslSocket>> held;
        for (int i = 0; i < 3; ++i) {
            held.push_back(holdRequest("POST /v1/client/sign_ins"));
            QVERIFY(held.back());
        }
        const RawExchange refused = exchange({"GET /v1/environment HTTP/1.1\r\n\r\n"});
        QVERIFY2(refused.received.startsWith("HTTP/1.1 503"), refused.received.constData());
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
        const std::unique_ptr<QSslSocket> connection = openConnection({}, 4096);
        QVERIFY(connection);
        QSslSocket& socket = *connection;
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
