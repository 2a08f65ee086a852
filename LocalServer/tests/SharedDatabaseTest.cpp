#include "TestDatabase.h"
#include "TestServer.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <memory>

// Two server processes on one database (the SQLite file of a shared data dir, or the PostgreSQL
// database of the test server) take requests for one user at the same moment: what one process
// writes in a transaction is seen whole by the other, so credits are spent and added exactly once.
class SharedDatabaseTest : public QObject {
    Q_OBJECT

    // orbelo-local-server on the test server's data dir and database, with the demo controls.
    struct Peer {
        QProcess process;
        QString base;
        QString token;

        QString url(const QString& path) const { return base + path; }
    };

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    std::unique_ptr<Peer> peers[2];

    std::unique_ptr<Peer> startPeer() {
        auto peer = std::make_unique<Peer>();
        QStringList arguments{"--port", "0", "--data-dir", server->dataDir(), "--job-delay", "0", "--demo"};
        const QString database = TestDatabase::forDataDir(server->dataDir());
        if (!database.isEmpty())
            arguments << "--database" << database;
        peer->process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        peer->process.start(ORBELO_LOCAL_SERVER, arguments);
        static const QRegularExpression listening("listening on (https://\\S+)");
        QByteArray output;
        while (!listening.match(QString::fromUtf8(output)).hasMatch() &&
               peer->process.waitForReadyRead(60'000))
            output += peer->process.readAllStandardOutput();
        peer->base = listening.match(QString::fromUtf8(output)).captured(1);
        // A token names the process that issued it, so each peer issues its own.
        peer->token = server->sessionToken(device, peer->base);
        return peer;
    }

    // Sends `perPeer` copies of the request to each peer at once; the replies' statuses and bodies.
    QList<QPair<int, QJsonObject>> race(const QString& path, const QJsonObject& body, int perPeer,
                                        bool withToken) {
        QNetworkAccessManager network;
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(QDir(server->dataDir()).filePath("server-cert.pem")));
        QList<QNetworkReply*> replies;
        for (int i = 0; i < perPeer; ++i) {
            for (const auto& peer : peers) {
                QNetworkRequest request(QUrl(peer->url(path)));
                request.setSslConfiguration(tls);
                request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
                if (withToken)
                    request.setRawHeader("Authorization", "Bearer " + peer->token.toUtf8());
                replies.append(network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact)));
            }
        }
        QList<QPair<int, QJsonObject>> answers;
        for (QNetworkReply* reply : std::as_const(replies)) {
            if (!reply->isFinished())
                QSignalSpy(reply, &QNetworkReply::finished).wait(60'000);
            answers.append({reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                            QJsonDocument::fromJson(reply->readAll()).object()});
        }
        qDeleteAll(replies);
        return answers;
    }

    QJsonObject credits() {
        return server->api("GET", "/api/gamification/credits/" + device.userId, server->sessionToken(device))
            .json();
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        device = server->signUp("shared@example.com", "correct horse battery");
        for (auto& peer : peers) {
            peer = startPeer();
            QVERIFY2(!peer->base.isEmpty(), "a server process did not start");
            QVERIFY(!peer->token.isEmpty());
        }
    }

    void cleanup() {
        for (auto& peer : peers) {
            peer->process.kill();
            peer->process.waitForFinished();
            peer.reset();
        }
        server.reset();
    }

    void racingPurchasesOnTwoProcessesSpendTheCreditsOnce() {
        // One Study Song's worth; six purchases, three on each process, all at once.
        QCOMPARE(
            server
                ->send("POST", "/__control/credits",
                       QJsonDocument(QJsonObject{{"email", "shared@example.com"}, {"amount", 150}}).toJson(),
                       {{"Content-Type", "application/json"}})
                .status,
            200);
        int bought = 0;
        for (const auto& [status, body] :
             race("/api/gamification/rewards/purchase",
                  {{"user_id", device.userId}, {"reward_id", "study_song"}}, 3, true)) {
            if (status == 200) {
                ++bought;
                QCOMPARE(body.value("credits_remaining").toInt(), 0);
            } else {
                QCOMPARE(status, 402);
                QVERIFY(body.value("detail").toString().startsWith("Not enough credits: "));
            }
        }
        QCOMPARE(bought, 1);
        const QJsonObject balance = credits();
        QCOMPARE(balance.value("total_points").toInt(), 0);
        QCOMPARE(balance.value("lifetime_spent").toInt(), 150);
        const auto owned = server->api("GET", "/api/gamification/rewards/" + device.userId + "/purchased",
                                       server->sessionToken(device));
        QCOMPARE(owned.jsonArray().size(), 1);
    }

    void racingGrantsOnTwoProcessesAreAllKept() {
        // Each entry reads the balance the one before left: none may be lost or counted twice.
        const auto answers =
            race("/__control/credits", {{"email", "shared@example.com"}, {"amount", 7}}, 5, false);
        for (const auto& answer : answers)
            QCOMPARE(answer.first, 200);
        const QJsonObject balance = credits();
        QCOMPARE(balance.value("total_points").toInt(), 70);
        QCOMPARE(balance.value("lifetime_earned").toInt(), 70);
    }
};

QTEST_MAIN(SharedDatabaseTest)
#include "SharedDatabaseTest.moc"
