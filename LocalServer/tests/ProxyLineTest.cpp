#include "Http/HttpServer.h"
#include "Http/TlsIdentity.h"
#include "RawExchange.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The HTTP engine behind a balancer: a trusted peer's PROXY line names the client every request
// is then seen from; nobody else's is read.
class ProxyLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    TlsIdentity tls;
    std::unique_ptr<HttpServer> server;

    // A server that answers every request with the peer it saw.
    void start(const QStringList& trusted) {
        HttpLimits limits;
        limits.headerTimeoutMs = 300;
        server = std::make_unique<HttpServer>(
            limits,
            [](const ServerRequest& request, const HttpServer::Responder& responder) {
                responder.send(ServerResponse::bytes(request.peer.toString().toUtf8(), "text/plain"));
            },
            [](const ServerRequest&) { return HeadVerdict{}; });
        server->trustProxies(trusted);
        QString error;
        QVERIFY2(server->listen("127.0.0.1", 0, tls.certificate().toPem(), tls.key().toPem(), &error),
                 qPrintable(error));
        server->serve();
    }

    // One request after a clear `line`; the answer closes the connection.
    RawExchange ask(const QByteArray& line) {
        return RawExchange::run(
            server->port(), tls.certificatePath(), {"GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"},
            [](const QByteArray&, QSslSocket&) { return false; }, 10'000, line);
    }

    static QByteArray body(const RawExchange& exchange) {
        return exchange.received.mid(exchange.received.indexOf("\r\n\r\n") + 4);
    }

private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(tls.loadOrCreate(dir.path(), &error), qPrintable(error));
    }
    void cleanup() { server.reset(); }

    void trustedBalancerNamesTheClient() {
        start({"127.0.0.1"});
        const RawExchange named = ask("PROXY TCP4 203.0.113.7 127.0.0.1 51000 443\r\n");
        QVERIFY2(named.received.startsWith("HTTP/1.1 200"), named.received.constData());
        QCOMPARE(body(named), "203.0.113.7");
        QCOMPARE(body(ask("PROXY TCP6 2001:db8::7 ::1 51000 443\r\n")), "2001:db8::7");
        // UNKNOWN: the balancer's own address.
        QCOMPARE(body(ask("PROXY UNKNOWN\r\n")), "127.0.0.1");
    }

    void trustedBalancerWithoutAValidLineIsCut() {
        start({"127.0.0.1"});
        QCOMPARE(ask("PROXY TCP4 203.0.113.7 127.0.0.1 70000 443\r\n").received, QByteArray());
        // Straight into TLS: the ClientHello is no PROXY line.
        QCOMPARE(ask({}).received, QByteArray());
        // A line that never ends is cut at the header timeout.
        QTcpSocket silent;
        QEventLoop loop;
        connect(&silent, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
        connect(&silent, &QTcpSocket::connected, &loop, [&] { silent.write("PROXY TCP4 203.0."); });
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
        silent.connectToHost("127.0.0.1", server->port());
        loop.exec();
        QCOMPARE(silent.state(), QAbstractSocket::UnconnectedState);
    }

    void untrustedPeerIsNeverReadForALine() {
        start({"192.0.2.1"});
        // The line goes to the TLS handshake, which fails on it.
        QCOMPARE(ask("PROXY TCP4 203.0.113.7 127.0.0.1 51000 443\r\n").received, QByteArray());
        QCOMPARE(body(ask({})), "127.0.0.1");
    }
};

QTEST_GUILESS_MAIN(ProxyLineTest)
#include "ProxyLineTest.moc"
