#include "TestServer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>

// Requests handled side by side on the worker threads, each with its own database connection:
// writers that meet wait for each other rather than fail.
class ConcurrencyTest : public QObject {
    Q_OBJECT

private slots:
    void simultaneousSignUpsAllSucceed() {
        TestServer server;
        QVERIFY(server.start());
        server.trustCertificate();
        QNetworkAccessManager network;
        constexpr int signUps = 24;
        QList<QNetworkReply*> replies;
        for (int i = 0; i < signUps; ++i) {
            QNetworkRequest request(QUrl(server.url("/v1/client/sign_ups")));
            request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
            QUrlQuery form;
            form.addQueryItem("email_address", QStringLiteral("student%1@example.com").arg(i));
            form.addQueryItem("password", "correct horse battery");
            replies.append(network.post(request, form.toString(QUrl::FullyEncoded).toUtf8()));
        }
        QSet<QByteArray> devices;
        for (QNetworkReply* reply : std::as_const(replies)) {
            if (!reply->isFinished())
                QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(30'000));
            QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
            devices.insert(reply->rawHeader("Authorization"));
        }
        qDeleteAll(replies);
        QCOMPARE(devices.size(), signUps);
    }
};

QTEST_MAIN(ConcurrencyTest)
#include "ConcurrencyTest.moc"
