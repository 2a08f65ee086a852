#include "LocalServer.h"
#include "RawExchange.h"
#include "ServerContext.h"
#include "ServerOptions.h"
#include "Storage/PrivateFile.h"
#include "TestDatabase.h"
#include "TestServer.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

// Reads the process's output until it contains `needle`; false when the process ends or goes
// quiet for half a minute first.
bool waitForOutput(QProcess& process, QByteArray& output, const QByteArray& needle) {
    while (!output.contains(needle)) {
        if (!process.waitForReadyRead(30'000))
            return false;
        output += process.readAll();
    }
    return true;
}

// The executable on `dataDir` (and its test database), logging every request.
void startServer(QProcess& process, const QString& dataDir, const QStringList& arguments = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_LOGGING_RULES", "orbelo.server.http.info=true");
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList options{"--port", "0", "--data-dir", dataDir};
    if (const QString database = TestDatabase::forDataDir(dataDir); !database.isEmpty())
        options << "--database" << database;
    process.start(ORBELO_LOCAL_SERVER, options + arguments);
}

quint16 listeningPort(const QByteArray& output) {
    static const QRegularExpression listening("listening on https://127\\.0\\.0\\.1:(\\d+)");
    return quint16(listening.match(QString::fromUtf8(output)).captured(1).toUInt());
}

// A request on a TLS connection of its own, sent once the connection is up; nothing when the
// connection could not be made.
std::unique_ptr<QSslSocket> sendRequest(quint16 port, const QString& certificatePath,
                                        const QByteArray& request) {
    auto socket = std::make_unique<QSslSocket>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(certificatePath));
    socket->setSslConfiguration(tls);
    socket->connectToHostEncrypted("127.0.0.1", port);
    if (!socket->waitForEncrypted(30'000))
        return nullptr;
    socket->write(request);
    if (!socket->waitForBytesWritten(30'000))
        return nullptr;
    return socket;
}

// Everything the server sends on the connection until it closes it.
QByteArray readUntilClosed(QSslSocket& socket) {
    QByteArray received;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(30'000))
        received += socket.readAll();
    return received + socket.readAll();
}

const QByteArray appcastRequest = "GET /appcast.json HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

} // namespace

// The server as one process of a service: health checks for a balancer, a graceful stop, the
// secret and address the processes share, and processes starting together on one data dir.
class ClusterMemberTest : public QObject {
    Q_OBJECT

private slots:
    void optionsOfAServiceMember() {
        QString error;
        const auto options =
            ServerOptions::parse({"--listen", "0.0.0.0", "--public-url", "https://study.school.example/",
                                  "--trusted-proxy", "10.0.0.5", "--trusted-proxy", "2001:DB8::5"},
                                 &error);
        QVERIFY2(options, qPrintable(error));
        QCOMPARE(options->listenAddress, "0.0.0.0");
        // Spelled as peers are, for comparing with them.
        QCOMPARE(options->trustedProxies, QStringList({"10.0.0.5", "2001:db8::5"}));
        QCOMPARE(options->publicUrl, "https://study.school.example"); // paths are appended to it
        for (const QStringList& invalid : {QStringList{"--listen", "school.example"},
                                           {"--public-url", "study.school.example"},
                                           {"--public-url", "ftp://study.school.example"},
                                           {"--public-url", "https://study.school.example/app"},
                                           {"--stop-timeout-ms", "-1"},
                                           {"--secret-file", ""},
                                           {"--trusted-proxy", "haproxy.school.example"}})
            QVERIFY2(!ServerOptions::parse(invalid, &error), qPrintable(invalid.join(' ')));
    }

    // Without a token, and even when every anonymous request slot is taken.
    void healthChecksAnswerOutsideTheRequestBudget() {
        TestServer server;
        server.options().http.maxAnonymousRequests = 0;
        QVERIFY(server.start());
        QCOMPARE(server.send("GET", "/appcast.json").status, 503);
        const TestServer::Reply live = server.send("GET", "/healthz");
        QCOMPARE(live.status, 200);
        QCOMPARE(live.json().value("status").toString(), "ok");
        const TestServer::Reply ready = server.send("GET", "/readyz");
        QCOMPARE(ready.status, 200);
        QCOMPARE(ready.json().value("status").toString(), "ok");
    }

    void readinessNeedsTheSchemaOfThisBinary() {
        TestServer server;
        QVERIFY(server.start());
        Database& db = server.server().context().db;
        // As a newer binary sharing the database would leave it.
        const QString version = QString::number(Database::latestVersion() + 1);
        QVERIFY(db.engine() == Database::Engine::SQLite
                    ? db.exec("PRAGMA user_version = " + version)
                    : db.exec("UPDATE schema_version SET version = " + version));
        const TestServer::Reply newer = server.send("GET", "/readyz");
        QCOMPARE(newer.status, 503);
        QCOMPARE(newer.header("Retry-After"), "1");
        QCOMPARE(newer.json().value("status").toString(), "unready");
        QVERIFY2(newer.json().value("reason").toString().contains(
                     QStringLiteral("schema version %1").arg(Database::latestVersion() + 1)),
                 newer.body.constData());
        QCOMPARE(server.send("GET", "/healthz").status, 200); // alive all the same
    }

    // A request whose statement finds the connection gone (the database restarted) is answered 503
    // with Retry-After rather than with what the route made of the failure; the connection is
    // opened again for the next one, without restarting the server.
    void lostDatabaseConnectionsAnswer503UntilReconnected() {
        TestServer server;
        server.options().http.workerThreads = 1; // whose connection the requests below find lost
        QVERIFY(server.start());
        Database& db = server.server().context().db;
        if (db.engine() != Database::Engine::PostgreSQL)
            QSKIP("a SQLite file is never out of reach");
        // A feed link is looked up in the database: an unknown one is 404 while it answers.
        const QString feed = "/calendar/" + QString(43, 'x') + ".ics";
        QCOMPARE(server.send("GET", feed).status, 404);
        // Every connection of the server's worker threads ends, as in a restart of the database.
        QVERIFY(db.exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                        " WHERE datname = current_database() AND pid <> pg_backend_pid()"));
        int refused = 0;
        TestServer::Reply reply;
        for (int attempt = 0; attempt < 16 && reply.status != 404; ++attempt) {
            reply = server.send("GET", feed);
            if (reply.status == 404)
                break;
            QCOMPARE(reply.status, 503);
            QCOMPARE(reply.header("Retry-After"), "1");
            QCOMPARE(reply.json().value("error").toString(), "database_unavailable");
            ++refused;
        }
        QCOMPARE(reply.status, 404);
        QVERIFY(refused > 0);
        QCOMPARE(server.send("GET", "/readyz").status, 200);
    }

    // Behind a balancer the processes of a service share the data dir and the public address, so a
    // token one of them issued is good on any other; with addresses of their own it is not.
    void tokensOfOneProcessVerifyOnAnotherBehindOnePublicUrl() {
        QTemporaryDir dir;
        TestServer first(dir.path());
        TestServer second(dir.path());
        first.options().publicUrl = second.options().publicUrl = "https://study.school.example";
        QVERIFY(first.start());
        QVERIFY(second.start());
        const auto device = first.signUp("shared@example.com", "password-1");
        const QString token = first.sessionToken(device);
        QCOMPARE(second.api("GET", "/api/bootstrap", token).status, 200);
        const QJsonObject presigned = second
                                          .api("POST", "/api/v2/uploads/document/initiate", token,
                                               {{"filename", "a.txt"}, {"file_size", 1}})
                                          .json();
        QVERIFY2(
            presigned.value("presigned_url").toString().startsWith("https://study.school.example/storage/"),
            qPrintable(presigned.value("presigned_url").toString()));

        TestServer third(dir.path()); // its own address, so its own issuer
        QVERIFY(third.start());
        QCOMPARE(third.api("GET", "/api/bootstrap", token).status, 401);
    }

    void sharedSecret_data() {
        QTest::addColumn<QByteArray>("fileContents"); // empty: no --secret-file
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QByteArray>("environment"); // empty: ORBELO_SERVER_SECRET unset
        QTest::addColumn<QString>("refusal");        // empty: the server starts
        QTest::addColumn<QByteArray>("secret");      // empty: the data dir's own

        const QByteArray fileSecret(32, 'f');
        const QByteArray environmentSecret(40, 'e');
        const QByteArray shortSecret(31, 's');
        QTest::newRow("file") << fileSecret.toBase64() << 0600 << environmentSecret.toBase64() << QString()
                              << fileSecret;
        QTest::newRow("file others may read")
            << fileSecret.toBase64() << 0640 << QByteArray() << "must be 0600" << QByteArray();
        QTest::newRow("file too short")
            << shortSecret.toBase64() << 0600 << QByteArray() << "at least 32 bytes" << QByteArray();
        QTest::newRow("environment") << QByteArray() << 0 << environmentSecret.toBase64() << QString()
                                     << environmentSecret;
        QTest::newRow("environment too short") << QByteArray() << 0 << shortSecret.toBase64()
                                               << "ORBELO_SERVER_SECRET must hold" << QByteArray();
        QTest::newRow("data dir") << QByteArray() << 0 << QByteArray() << QString() << QByteArray();
    }

    void sharedSecret() {
        QFETCH(QByteArray, fileContents);
        QFETCH(int, fileMode);
        QFETCH(QByteArray, environment);
        QFETCH(QString, refusal);
        QFETCH(QByteArray, secret);
        QTemporaryDir dir;
        ServerOptions options;
        options.port = 0;
        options.dataDir = dir.filePath("data");
        if (!fileContents.isEmpty()) {
            options.secretFile = dir.filePath("secret");
            QFile file(options.secretFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(fileContents + '\n');
            file.close();
            QVERIFY(::chmod(QFile::encodeName(options.secretFile).constData(), mode_t(fileMode)) == 0);
        }
        if (environment.isEmpty())
            qunsetenv("ORBELO_SERVER_SECRET");
        else
            qputenv("ORBELO_SERVER_SECRET", environment);
        LocalServer server(options);
        QString error;
        const bool started = server.start(&error);
        qunsetenv("ORBELO_SERVER_SECRET");
        if (!refusal.isEmpty()) {
            QVERIFY(!started);
            QVERIFY2(error.contains(refusal), qPrintable(error));
            return;
        }
        QVERIFY2(started, qPrintable(error));
        if (secret.isEmpty())
            secret = QByteArray::fromBase64(*PrivateFile::read(server.tokenSecretPath()));
        QCOMPARE(server.context().secret, secret);
    }

    // Processes started together on a new data dir end up with one certificate and one admin
    // token, not each with its own overwriting the other's.
    void processesStartingTogetherShareOneIdentity() {
        QTemporaryDir dir;
        QProcess first;
        QProcess second;
        startServer(first, dir.path());
        startServer(second, dir.path());
        QByteArray firstOutput;
        QByteArray secondOutput;
        QVERIFY2(waitForOutput(first, firstOutput, "certificate:"), firstOutput.constData());
        QVERIFY2(waitForOutput(second, secondOutput, "certificate:"), secondOutput.constData());
        const QByteArray adminToken = *PrivateFile::read(dir.filePath("admin-token"));
        for (const quint16 port : {listeningPort(firstOutput), listeningPort(secondOutput)}) {
            const RawExchange exchange = RawExchange::run(
                port, dir.filePath("server-cert.pem"),
                {"GET /__control/faults HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + adminToken +
                 "\r\n\r\n"},
                RawExchange::anyAnswer);
            QVERIFY2(exchange.received.startsWith("HTTP/1.1 200"), exchange.received.constData());
        }
    }

    // A request under way when SIGTERM comes is answered (closing its connection); new connections
    // are refused from then on; the process ends with status 0.
    void sigtermFinishesRequestsUnderWayAndRefusesNewOnes() {
        QTemporaryDir dir;
        QProcess process;
        startServer(process, dir.path(), {"--fault", "/appcast.json=delay:1500"});
        QByteArray output;
        QVERIFY2(waitForOutput(process, output, "certificate:"), output.constData());
        const quint16 port = listeningPort(output);
        const auto slow = sendRequest(port, dir.filePath("server-cert.pem"), appcastRequest);
        QVERIFY(slow);
        // Logged as the handler hands the answer over for its delay.
        QVERIFY2(waitForOutput(process, output, "path=/appcast.json status=200"), output.constData());
        process.terminate();
        QVERIFY2(waitForOutput(process, output, "stopping: no new connections"), output.constData());

        QTcpSocket late;
        late.connectToHost("127.0.0.1", port);
        QVERIFY(!late.waitForConnected(30'000));
        QCOMPARE(late.error(), QAbstractSocket::ConnectionRefusedError);

        const QByteArray answer = readUntilClosed(*slow);
        QVERIFY2(answer.startsWith("HTTP/1.1 200"), answer.constData());
        QVERIFY(answer.contains("Connection: close"));
        QVERIFY(process.waitForFinished(30'000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(!(output + process.readAll()).contains("cut off"));
    }

    // A request that would outlast --stop-timeout-ms is cut off rather than holding the stop.
    void sigtermCutsOffWhatOutlastsTheStopTimeout() {
        QTemporaryDir dir;
        QProcess process;
        startServer(process, dir.path(),
                    {"--stop-timeout-ms", "100", "--fault", "/appcast.json=delay:600000"});
        QByteArray output;
        QVERIFY2(waitForOutput(process, output, "certificate:"), output.constData());
        const auto stuck =
            sendRequest(listeningPort(output), dir.filePath("server-cert.pem"), appcastRequest);
        QVERIFY(stuck);
        QVERIFY2(waitForOutput(process, output, "path=/appcast.json status=200"), output.constData());
        process.terminate();
        QVERIFY(process.waitForFinished(30'000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY((output + process.readAll()).contains("requests still under way after 100 ms are cut off"));
        QCOMPARE(readUntilClosed(*stuck), QByteArray());
    }
};

QTEST_MAIN(ClusterMemberTest)
#include "ClusterMemberTest.moc"
