#include "Http/Router.h"
#include "RawExchange.h"
#include "TestServer.h"

#include <QSslSocket>
#include <QTest>

// The HTTP/1.1 layer seen from a raw TLS socket: framing, pipelining, limits and
// the fallbacks for unknown paths and methods.
class HttpLayerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;

    QByteArray exchange(const QList<QByteArray>& writes, const RawExchange::Until& done) {
        return RawExchange::run(server->server().port(), server->server().certificatePath(), writes, done)
            .received;
    }

    static bool hasResponses(const QByteArray& data, int count) { return data.count("HTTP/1.1 ") >= count; }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
    }
    void cleanup() { server.reset(); }

    void pipelinedRequestsAnswerInOrder() {
        const QByteArray request = "GET /v1/environment HTTP/1.1\r\nHost: x\r\n\r\n"
                                   "GET /v1/client HTTP/1.1\r\nHost: x\r\n\r\n";
        const QByteArray received =
            exchange({request.left(20), request.mid(20)},
                     [](const QByteArray& d, QSslSocket&) { return d.contains("\"client\":null"); });
        QCOMPARE(received.count("HTTP/1.1 200 OK"), 2);
        QVERIFY(received.indexOf("\"object\":\"environment\"") < received.indexOf("\"client\":null"));
        QVERIFY(received.contains("\r\nDate: "));
    }

    void bodiesFramedByContentLengthAndExpectContinue() {
        const QByteArray body = "identifier=nobody%40example.com&password=x";
        const QByteArray head = "POST /v1/client/sign_ins HTTP/1.1\r\nHost: x\r\nExpect: 100-continue\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                                QByteArray::number(body.size()) + "\r\n\r\n";
        const QByteArray received = exchange({head}, [&](const QByteArray& d, QSslSocket& socket) {
            if (d == "HTTP/1.1 100 Continue\r\n\r\n")
                socket.write(body); // the body follows once the server asks for it
            return d.contains("form_identifier_not_found");
        });
        QVERIFY(received.startsWith("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 422"));
        QVERIFY(received.contains("\r\nAuthorization: dvc_"));
    }

    void malformedAndOversizedRequestsCloseTheConnection() {
        const QByteArray garbage =
            exchange({"HELLO\r\n\r\n"}, [](const QByteArray& d, QSslSocket&) { return hasResponses(d, 1); });
        QVERIFY(garbage.startsWith("HTTP/1.1 400"));
        QVERIFY(garbage.contains("Connection: close"));
        const QByteArray huge = exchange({"PUT /storage/a HTTP/1.1\r\nContent-Length: 999999999999\r\n\r\n"},
                                         [](const QByteArray& d, QSslSocket&) { return hasResponses(d, 1); });
        QVERIFY(huge.startsWith("HTTP/1.1 413"));
        const QByteArray chunked =
            exchange({"POST /api/x HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"},
                     [](const QByteArray& d, QSslSocket&) { return hasResponses(d, 1); });
        QVERIFY(chunked.startsWith("HTTP/1.1 501"));
    }

    void unknownPathsAndMethods() {
        const auto missing = server->send("GET", "/api/nothing-here");
        QCOMPARE(missing.status, 404);
        QCOMPARE(missing.json().value("detail").toString(), "Not Found");
        const auto clerkMissing = server->send("GET", "/v1/nothing");
        QCOMPARE(clerkMissing.errorCode(), "resource_not_found");
        QCOMPARE(server->send("PUT", "/v1/environment").status, 405);
        const QByteArray closing = exchange({"GET /v1/environment HTTP/1.0\r\n\r\n"},
                                            [](const QByteArray&, QSslSocket&) { return false; });
        QVERIFY(closing.contains("Connection: close"));
    }

    void routerCapturesSegmentsAndRests() {
        Router router;
        router.add("GET", "/a/{id}/b",
                   [](const ServerRequest& r) { return ServerResponse::bytes(r.param(0).toUtf8(), "t"); });
        router.add("PUT", "/files/{key*}",
                   [](const ServerRequest& r) { return ServerResponse::bytes(r.param(0).toUtf8(), "t"); });
        ServerRequest request;
        request.method = "GET";
        request.path = "/a/x.y/b";
        QCOMPARE(router.dispatch(request)->body, "x.y");
        request.path = "/a/x/y/b";
        QVERIFY(!router.dispatch(request));
        request.method = "PUT";
        request.path = "/files/u/d/name.pdf";
        QCOMPARE(router.dispatch(request)->body, "u/d/name.pdf");
        request.method = "GET";
        QCOMPARE(router.dispatch(request)->status, 405);
    }
};

QTEST_MAIN(HttpLayerTest)
#include "HttpLayerTest.moc"
