#include "Gamification/CreditsBalanceResponse.h"
#include "Gamification/PurchaseRewardResponse.h"
#include "Gamification/RewardCatalogItem.h"
#include "Gamification/UserRewardItem.h"
#include "Json.h"
#include "Rewards/RewardCatalog.h"
#include "TestServer.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>
#include <memory>

// The rewards marketplace over HTTPS, decoded with the app's own records: the catalogue, purchases
// paid from the credits ledger (checked level, balance and availability, racing purchases) and
// the rewards bought.
class RewardsMarketplaceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    TestServer::Device device;
    QString token;

    void grant(int amount, const QString& email = "buyer@example.com") {
        const TestServer::Reply reply =
            server->send("POST", "/__control/credits",
                         QJsonDocument(QJsonObject{{"email", email}, {"amount", amount}}).toJson(),
                         {{"Content-Type", "application/json"}});
        QCOMPARE(reply.status, 200);
    }

    TestServer::Reply buy(const QString& rewardId, const QString& userId = {}) {
        return server->api("POST", "/api/gamification/rewards/purchase", token,
                           {{"user_id", userId.isEmpty() ? device.userId : userId}, {"reward_id", rewardId}});
    }

    QList<UserRewardItem> owned() {
        return json::decode<QList<UserRewardItem>>(
            server->api("GET", "/api/gamification/rewards/" + device.userId + "/purchased", token).body);
    }

    CreditsBalanceResponse balance() {
        return json::decode<CreditsBalanceResponse>(
            server->api("GET", "/api/gamification/credits/" + device.userId, token).body);
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        device = server->signUp("buyer@example.com", "spend-it-wisely-1");
        token = server->sessionToken(device);
    }
    void cleanup() { server.reset(); }

    void catalogueDecodesWithTheAppsRecord() {
        const TestServer::Reply reply = server->api("GET", "/api/gamification/rewards/catalog", token);
        QCOMPARE(reply.status, 200);
        const auto items = json::decode<QList<RewardCatalogItem>>(reply.body);
        QSet<QString> categories, ids;
        QSet<int> kinds;
        int comingSoon = 0;
        for (const RewardCatalogItem& item : items) {
            categories.insert(item.category);
            ids.insert(item.rewardId);
            kinds.insert(int(item.kind()));
            comingSoon += item.status == "coming_soon";
            QVERIFY(item.creditCost > 0);
            QVERIFY(item.status == "available" || item.status == "coming_soon");
        }
        QCOMPARE(ids.size(), items.size());
        QCOMPARE(categories,
                 (QSet<QString>{"study_tools", "power_ups", "personalization", "premium_experiences"}));
        QCOMPARE(kinds, (QSet<int>{int(RewardKind::song), int(RewardKind::mnemonic), int(RewardKind::lyrics),
                                   int(RewardKind::other)}));
        QVERIFY(comingSoon < items.size());
        const RewardCatalogItem pack = *std::find_if(
            items.begin(), items.end(), [](const auto& item) { return item.rewardId == "study_song_pack"; });
        QCOMPARE(pack.requiresLevel, 3);
        QCOMPARE(pack.usageLimit, 3);
        QCOMPARE(pack.originalPriceUsd, 12.99);
        QVERIFY(!pack.durationDays);
    }

    void malformedCatalogueEntriesAreLeftOut() {
        const auto items = RewardCatalog::parse(R"([
            {"reward_id": "ok", "name": "Fine", "category": "power_ups", "reward_type": "x", "credit_cost": 5,
             "status": "available"},
            {"reward_id": "cat", "name": "Bad category", "category": "snacks", "reward_type": "x",
             "credit_cost": 5, "status": "available"},
            {"reward_id": "free", "name": "No cost", "category": "power_ups", "reward_type": "x",
             "credit_cost": 0, "status": "available"},
            {"reward_id": "half", "name": "Fraction", "category": "power_ups", "reward_type": "x",
             "credit_cost": 2.5, "status": "available"},
            {"reward_id": "gone", "name": "Odd status", "category": "power_ups", "reward_type": "x",
             "credit_cost": 5, "status": "retired"}
        ])");
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].rewardId, "ok");
        QCOMPARE(items[0].requiresLevel, 1); // the default, also written into the answered record
        QCOMPARE(items[0].record.value("requires_level").toInt(), 1);
    }

    void purchasesAreRefusedWithAReason() {
        grant(100);
        QCOMPARE(buy("study_song", "user_someone_else").status, 403);
        QCOMPARE(buy("no_such_reward").status, 404);

        // Whatever the catalogue still holds back is refused by name.
        for (const RewardCatalog::Item& item : RewardCatalog::items()) {
            if (item.status != "coming_soon")
                continue;
            const TestServer::Reply soon = buy(item.rewardId);
            QCOMPARE(soon.status, 409);
            QCOMPARE(soon.json()["detail"].toString(),
                     item.name + " is coming soon and can't be bought yet.");
        }

        grant(1000);
        const TestServer::Reply level = buy("study_song_pack");
        QCOMPARE(level.status, 409);
        QCOMPARE(level.json()["detail"].toString(), "Reach level 3 to buy Study Song Pack.");

        grant(-1000);
        const TestServer::Reply poor = buy("study_song");
        QCOMPARE(poor.status, 402);
        QCOMPARE(poor.json()["detail"].toString(),
                 "Not enough credits: Study Song costs 150 credits and you have 100.");

        // Nothing was taken or added by any refusal.
        QCOMPARE(balance().totalPoints, 100);
        QCOMPARE(balance().lifetimeSpent, 1000); // the control's own take-back, not a purchase
        QVERIFY(owned().isEmpty());
        QCOMPARE(server->api("GET", "/api/gamification/rewards/user_someone_else/purchased", token).status,
                 403);
    }

    void buyingTheSameItemAgainNeedsCreditsAgain() {
        grant(200);
        const TestServer::Reply first = buy("study_song");
        QCOMPARE(first.status, 200);
        const auto bought = json::decode<PurchaseRewardResponse>(first.body);
        QCOMPARE(bought.success, true);
        QCOMPARE(bought.creditsRemaining, 50);
        QVERIFY(bought.userRewardId && bought.userRewardId->startsWith("urw_"));

        QList<UserRewardItem> rewards = owned();
        QCOMPARE(rewards.size(), 1);
        const UserRewardItem song = rewards[0];
        QCOMPARE(song.userRewardId, *bought.userRewardId);
        QCOMPARE(song.userId, device.userId);
        QCOMPARE(song.rewardId, "study_song");
        QCOMPARE(song.rewardName, "Study Song");
        QCOMPARE(song.kind(), RewardKind::song);
        QCOMPARE(song.usageCount, 0);
        QCOMPARE(song.usageLimit, 1);
        QCOMPARE(song.remainingUses, 1);
        QCOMPARE(song.isActive, true);
        QCOMPARE(song.fulfillmentStatus, "available");
        QVERIFY(!song.fulfillmentData);

        QCOMPARE(buy("study_song").status, 402);
        grant(100);
        const TestServer::Reply second = buy("study_song");
        QCOMPARE(second.status, 200);
        QCOMPARE(json::decode<PurchaseRewardResponse>(second.body).creditsRemaining, 0);
        rewards = owned();
        QCOMPARE(rewards.size(), 2);
        QVERIFY(rewards[0].userRewardId != rewards[1].userRewardId);
        QCOMPARE(balance().lifetimeSpent, 300);
    }

    void racingPurchasesSpendEachCreditOnce() {
        grant(300); // two Study Songs' worth
        server->trustCertificate();
        QNetworkAccessManager network;
        constexpr int attempts = 6;
        QList<QNetworkReply*> replies;
        const QByteArray body =
            QJsonDocument(QJsonObject{{"user_id", device.userId}, {"reward_id", "study_song"}})
                .toJson(QJsonDocument::Compact);
        for (int i = 0; i < attempts; ++i) {
            QNetworkRequest request(QUrl(server->url("/api/gamification/rewards/purchase")));
            request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
            request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
            replies.append(network.post(request, body));
        }
        int bought = 0;
        QSet<int> remaining;
        for (QNetworkReply* reply : std::as_const(replies)) {
            if (!reply->isFinished())
                QVERIFY(QSignalSpy(reply, &QNetworkReply::finished).wait(30'000));
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            const QByteArray answer = reply->readAll();
            if (status == 200) {
                ++bought;
                remaining.insert(*json::decode<PurchaseRewardResponse>(answer).creditsRemaining);
            } else {
                QCOMPARE(status, 402);
                QVERIFY(
                    QJsonDocument::fromJson(answer)["detail"].toString().startsWith("Not enough credits: "));
            }
        }
        qDeleteAll(replies);
        QCOMPARE(bought, 2);
        QCOMPARE(remaining, (QSet<int>{150, 0}));
        QCOMPARE(owned().size(), 2);
        QCOMPARE(balance().totalPoints, 0);
        QCOMPARE(balance().lifetimeSpent, 300);
    }
};

QTEST_MAIN(RewardsMarketplaceTest)
#include "RewardsMarketplaceTest.moc"
