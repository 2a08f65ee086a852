#include "Gamification/RewardCatalogItem.h"
#include "Gamification/UserRewardItem.h"
#include "Json.h"
#include "ServerContext.h"
#include "TestServer.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

constexpr qint64 dayMs = 24LL * 60 * 60 * 1000;
const QString path = QStringLiteral("/api/gamification/rewards/use/tutor-session");

} // namespace

// Starting a tutor session over HTTPS: one use spent per start, refusals with their reasons, the
// 30-day limit of the reward to the millisecond and racing starts.
class TutorSessionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;
    QString courseId;

    // A reward row as a purchase writes it, bought `agoMs` before now.
    QString give(const QString& type, std::optional<int> limit = 1, std::optional<int> days = 30,
                 qint64 agoMs = 0) {
        const QString id = "urw_" + QString::number(QRandomGenerator::global()->generate());
        ServerContext& context = server->server().context();
        const qint64 now = context.nowMs() - agoMs;
        const QVariant none(QMetaType(QMetaType::Int));
        const bool written = context.db.exec(
            "INSERT INTO user_rewards (id, user_id, reward_id, reward_name, reward_type, credit_cost,"
            " usage_limit, purchased_at, expires_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {id, device.userId, type, "Reward", type, 10, limit ? QVariant(*limit) : none, now,
             days ? QVariant(now + *days * dayMs) : none});
        return written ? id : QString();
    }

    TestServer::Reply start(const QString& userRewardId, const QString& course) {
        return server->api(
            "POST", path, token,
            {{"user_id", device.userId}, {"user_reward_id", userRewardId}, {"course_id", course}});
    }

    UserRewardItem owned(const QString& userRewardId) {
        const auto list = json::decode<QList<UserRewardItem>>(
            server->api("GET", "/api/gamification/rewards/" + device.userId + "/purchased", token).body);
        for (const UserRewardItem& item : list)
            if (item.userRewardId == userRewardId)
                return item;
        return {};
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        device = server->signUp("tutee@example.com", "study-with-me-42");
        token = server->sessionToken(device);
        courseId = server->addCourse(token, "Cell Biology");
        QVERIFY(!courseId.isEmpty());
    }
    void cleanup() { server.reset(); }

    void bothRewardsAreOnSale() {
        const auto items = json::decode<QList<RewardCatalogItem>>(
            server->api("GET", "/api/gamification/rewards/catalog", token).body);
        int found = 0;
        for (const RewardCatalogItem& item : items)
            if (item.rewardId == "tutor_session" || item.rewardId == "night_owl_theme") {
                ++found;
                QCOMPARE(item.status, QStringLiteral("available"));
                QVERIFY(!item.description.value_or(QString()).contains("with a tutor"));
            }
        QCOMPARE(found, 2);
    }

    void startSpendsTheUseAndAnswersTheSession() {
        server->freezeClock();
        const QString reward = give("tutor_session");
        const TestServer::Reply reply = start(reward, courseId);
        QCOMPARE(reply.status, 200);
        const QJsonObject session = reply.json();
        QVERIFY(session.value("success").toBool());
        QVERIFY(session.value("session_id").toString().startsWith("tut"));
        QCOMPARE(session.value("course_id").toString(), courseId);
        QCOMPARE(session.value("course_name").toString(), QStringLiteral("Cell Biology"));
        QCOMPARE(session.value("duration_minutes").toInt(), 30);
        QCOMPARE(session.value("remaining_uses").toInt(), 0);
        const QDateTime started =
            QDateTime::fromString(session.value("started_at").toString(), Qt::ISODateWithMs);
        const QDateTime ends = QDateTime::fromString(session.value("ends_at").toString(), Qt::ISODateWithMs);
        QCOMPARE(started.msecsTo(ends), 30 * 60 * 1000);

        const UserRewardItem item = owned(reward);
        QCOMPARE(item.usageCount, 1);
        QCOMPARE(item.remainingUses, 0);
        QCOMPARE(item.fulfillmentStatus, QStringLiteral("fulfilled"));

        // The same use again: refused, nothing more spent.
        const TestServer::Reply again = start(reward, courseId);
        QCOMPARE(again.status, 409);
        QCOMPARE(again.json().value("detail").toString(),
                 QStringLiteral("This tutor session has already been started."));
        QCOMPARE(owned(reward).usageCount, 1);
    }

    // A reward with two uses starts twice, then no more.
    void eachUseStartsOnce() {
        const QString reward = give("tutor_session", 2);
        QCOMPARE(start(reward, courseId).json().value("remaining_uses").toInt(), 1);
        QCOMPARE(start(reward, courseId).json().value("remaining_uses").toInt(), 0);
        QCOMPARE(start(reward, courseId).status, 409);
    }

    void refusalsSpendNothing() {
        const QString reward = give("tutor_session");
        QCOMPARE(start(reward, {}).status, 400);
        QCOMPARE(start({}, courseId).status, 400);
        QCOMPARE(start(reward, "course_nope").status, 404);
        QCOMPARE(start("urw_nope", courseId).status, 404);
        QCOMPARE(start(give("theme", std::nullopt, std::nullopt), courseId).status, 422);
        QCOMPARE(server
                     ->api("POST", path, token,
                           {{"user_id", "user_other"}, {"user_reward_id", reward}, {"course_id", courseId}})
                     .status,
                 403);

        // Another account's course and another account's reward are not found.
        const TestServer::Device other = server->signUp("other@example.com", "study-with-me-43");
        const QString otherToken = server->sessionToken(other);
        const QString otherCourse = server->addCourse(otherToken, "Their course");
        QCOMPARE(start(reward, otherCourse).status, 404);
        QCOMPARE(
            server
                ->api("POST", path, otherToken,
                      {{"user_id", other.userId}, {"user_reward_id", reward}, {"course_id", otherCourse}})
                .status,
            404);
        QCOMPARE(owned(reward).usageCount, 0);
        QCOMPARE(start(reward, courseId).status, 200);
    }

    void theRewardExpiresThirtyDaysAfterPurchase() {
        server->freezeClock();
        const QString lastMoment = give("tutor_session", 1, 30, 30 * dayMs - 1);
        const QString tooLate = give("tutor_session", 1, 30, 30 * dayMs);
        QCOMPARE(start(lastMoment, courseId).status, 200);
        const TestServer::Reply expired = start(tooLate, courseId);
        QCOMPARE(expired.status, 409);
        QCOMPARE(expired.json().value("detail").toString(),
                 QStringLiteral("This tutor session expired before it was started."));
        QCOMPARE(owned(tooLate).usageCount, 0);
    }

    void racingStartsSpendTheUseOnce() {
        const QString reward = give("tutor_session");
        server->trustCertificate();
        QNetworkAccessManager network;
        constexpr int attempts = 6;
        QList<QNetworkReply*> replies;
        const QByteArray body =
            QJsonDocument(
                QJsonObject{{"user_id", device.userId}, {"user_reward_id", reward}, {"course_id", courseId}})
                .toJson(QJsonDocument::Compact);
        for (int i = 0; i < attempts; ++i) {
            QNetworkRequest request(QUrl(server->url(path)));
            request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
            request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
            replies.append(network.post(request, body));
        }
        int started = 0;
        for (QNetworkReply* reply : std::as_const(replies)) {
            if (!reply->isFinished())
                QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(30'000));
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (status == 200)
                ++started;
            else
                QCOMPARE(status, 409);
        }
        qDeleteAll(replies);
        QCOMPARE(started, 1);
        QCOMPARE(owned(reward).usageCount, 1);
    }
};

QTEST_MAIN(TutorSessionTest)
#include "TutorSessionTest.moc"
