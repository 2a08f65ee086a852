#include <QtTest>

#include "ForYou/CardLikeState.h"
#include "ForYou/DailyStudyFeedModel.h"
#include "ForYou/ForYouCardText.h"
#include "ForYou/ForYouFeedModel.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject wireCard(int n) {
    QJsonObject card{{"card_id", QStringLiteral("card-%1").arg(n)},
                     {"concept_id", QStringLiteral("concept-%1").arg(n)},
                     {"card_type", "concept"},
                     {"card_source", "generated"},
                     {"title", QStringLiteral("Card %1").arg(n)},
                     {"body", QStringLiteral("Body %1").arg(n)},
                     {"likes_count", n}};
    return card;
}

// The feed routes on one scripted server; every request is recorded.
struct Backend {
    ScriptedHttpServer server;
    int feedStatus = 200;
    QJsonArray cards;
    // Events answered in turn with these statuses (then 200); a held one waits for releaseHeld().
    QList<int> eventStatuses;
    bool holdEvents = false;
    int likeStatus = 200;
    bool holdLikes = false;
    // What the backend says after a like: its own count, not the client's guess.
    int likedCount = 40;

    Backend() {
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) {
        if (r.path == "/api/courses/foryou/feed") {
            if (feedStatus != 200)
                return ScriptedResponse::json(feedStatus, "feed unavailable");
            return ScriptedResponse::json(
                200, QJsonDocument(QJsonObject{{"user_id", "u1"}, {"items", cards}}).toJson());
        }
        if (r.path == "/api/courses/foryou/events" && r.method == "POST") {
            const int status = eventStatuses.isEmpty() ? 200 : eventStatuses.takeFirst();
            const ScriptedResponse reply = ScriptedResponse::json(
                status, status == 200 ? R"({"event_id":"e","event_type":"engaged"})" : "event rejected");
            return holdEvents ? ScriptedResponse::held(reply) : reply;
        }
        if (r.path.startsWith("/api/courses/foryou/cards/") && r.path.endsWith("/like")) {
            const QByteArray cardId = r.path.split('/').at(5);
            const bool like = r.method == "POST";
            const QJsonObject body{{"card_id", QString::fromLatin1(cardId)},
                                   {"liked", like},
                                   {"likes_count", like ? likedCount : likedCount - 1}};
            const ScriptedResponse reply =
                ScriptedResponse::json(likeStatus, likeStatus == 200 ? QJsonDocument(body).toJson() : "no");
            return holdLikes ? ScriptedResponse::held(reply) : reply;
        }
        return ScriptedResponse::json(404, "{}");
    }

    // Each event sent, as "card/concept eventType", in the order the server got them.
    QStringList events() const {
        QStringList sent;
        for (const RecordedRequest& r : server.requests()) {
            if (r.path != "/api/courses/foryou/events")
                continue;
            const QJsonObject body = QJsonDocument::fromJson(r.body).object();
            sent << body["card_id"].toString() + u'/' + body["concept_id"].toString() + u' ' +
                        body["event_type"].toString();
        }
        return sent;
    }

    // The like requests as "METHOD target".
    QStringList likes() const {
        QStringList sent;
        for (const RecordedRequest& r : server.requests())
            if (r.path.endsWith("/like"))
                sent << QString::fromLatin1(r.method + ' ' + r.target);
        return sent;
    }

    QList<QByteArray> feedTargets() const {
        QList<QByteArray> targets;
        for (const RecordedRequest& r : server.requests())
            if (r.path == "/api/courses/foryou/feed")
                targets << r.target;
        return targets;
    }
};

ForYouFeedItem item(std::optional<QString> videoId) {
    ForYouFeedItem card;
    card.cardId = "c";
    card.title = " Osmosis ";
    card.body = "Water moves across a membrane.";
    card.videoId = std::move(videoId);
    return card;
}

} // namespace

class ForYouTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;

private Q_SLOTS:
    void initTestCase() { useClock = std::make_unique<async::ScopedClock>(clock); }

    // Every tier lands on one of the four labels, and a card without one reads as Core.
    void difficultyLabels() {
        using ForYouCardText::difficultyLabel;
        QCOMPARE(difficultyLabel(std::nullopt), "Core");
        const QList<std::pair<int, QString>> expected{{-1, "Intro"}, {0, "Intro"},    {1, "Intro"},
                                                      {2, "Core"},   {3, "Advanced"}, {4, "Expert"},
                                                      {9, "Expert"}};
        for (const auto& [tier, label] : expected)
            QVERIFY2(difficultyLabel(tier) == label, qPrintable(QString::number(tier)));
    }

    // The watch page only for a card with a video id, and the id cannot leave the query.
    void videoLinks() {
        QVERIFY(ForYouCardText::videoUrl(item(std::nullopt)).isEmpty());
        QVERIFY(ForYouCardText::videoUrl(item(QString())).isEmpty());
        QVERIFY(ForYouCardText::videoUrl(item(QStringLiteral("  "))).isEmpty());
        QCOMPARE(ForYouCardText::videoUrl(item(QStringLiteral("dQw4w9WgXcQ"))).toString(),
                 "https://www.youtube.com/watch?v=dQw4w9WgXcQ");
        QCOMPARE(ForYouCardText::videoUrl(item(QStringLiteral("a&b=c#d"))).toString(QUrl::FullyEncoded),
                 "https://www.youtube.com/watch?v=a%26b%3Dc%23d");
        QCOMPARE(ForYouCardText::readAloudText(item(std::nullopt)),
                 "Osmosis. Water moves across a membrane.");
    }

    // The feed screen asks for twenty; a failure shows its line over an empty list (the cards of
    // the last good load go), "Try again" loads it, and a feed without cards is empty, not failed.
    void feedLoadFailsThenReloads() {
        Backend backend;
        for (int n = 1; n <= 20; ++n)
            backend.cards << wireCard(n);
        ForYouFeedModel model(scriptedClient(backend.server));
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.count(), 20);
        QVERIFY(model.errorMessage().isEmpty());

        backend.feedStatus = 500;
        model.load();
        QVERIFY(model.isLoading());
        model.load(); // not twice
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.errorMessage(), "Couldn't load your feed: Request failed (500). feed unavailable");
        QCOMPARE(model.count(), 0);
        QCOMPARE(model.cards()->rowCount(), 0);
        QVERIFY(!model.isEmpty());

        backend.feedStatus = 200;
        backend.cards = {};
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(model.errorMessage().isEmpty());
        QVERIFY(model.isEmpty());
        QCOMPARE(backend.feedTargets(), QList<QByteArray>(3, "/api/courses/foryou/feed?limit=20"));
    }

    // What a card shows, from the wire: difficulty, community source and author, likes, video.
    void cardFaceRoles() {
        Backend backend;
        QJsonObject community = wireCard(1);
        community["card_source"] = "community";
        community["author_name"] = "Ada";
        community["difficulty_tier"] = 3;
        community["video_id"] = "vid1";
        community["mnemonic_html"] = "<h2>Card</h2>";
        QJsonObject generated = wireCard(2);
        generated["author_name"] = "Not shown";
        generated.remove("likes_count");
        backend.cards = {community, generated};
        ForYouFeedModel model(scriptedClient(backend.server));
        model.load();
        QTRY_COMPARE(model.count(), 2);

        const QVariantMap first = model.cards()->card(0);
        QCOMPARE(first["difficultyText"], "Difficulty: Advanced");
        QCOMPARE(first["isCommunity"], true);
        QCOMPARE(first["authorText"], "Authored by Ada");
        QCOMPARE(first["likesText"], "1 likes");
        QCOMPARE(first["likeAccessibleName"], "Like. 1 likes");
        QCOMPARE(first["videoUrl"], "https://www.youtube.com/watch?v=vid1");
        QCOMPARE(first["mnemonic"], "<h2>Card</h2>");

        const QVariantMap second = model.cards()->card(1);
        QCOMPARE(second["difficultyText"], "Difficulty: Core");
        QCOMPARE(second["isCommunity"], false);
        QCOMPARE(second["authorText"], "");
        QCOMPARE(second["likesText"], "0 likes");
        QCOMPARE(second["videoUrl"], "");
    }

    // The heart turns at once and then shows the backend's answer; a failure puts back the state
    // from before the tap with a line saying so; a tap while a request is out sends nothing more;
    // a liked card is unliked with DELETE.
    void likeStates() {
        QCOMPARE(CardLikeState({false, 3, false}).tapped(), CardLikeState({true, 4, true}));
        QCOMPARE(CardLikeState({true, 0, false}).tapped(), CardLikeState({false, 0, true}));

        Backend backend;
        backend.cards = {wireCard(3), wireCard(5)};
        ForYouFeedModel model(scriptedClient(backend.server));
        model.load();
        QTRY_COMPARE(model.count(), 2);
        ForYouCardList& cards = *model.cards();

        backend.holdLikes = true;
        cards.toggleLike(0);
        QCOMPARE(cards.likeState(0), CardLikeState({true, 4, true}));
        QTRY_COMPARE(backend.server.heldCount(), 1);
        cards.toggleLike(0); // in flight: ignored
        QCOMPARE(cards.likeState(0), CardLikeState({true, 4, true}));
        backend.server.releaseHeld();
        QTRY_COMPARE(cards.likeState(0), CardLikeState({true, 40, false}));
        QCOMPARE(cards.card(0)["likeAccessibleName"], "Unlike. 40 likes");
        QCOMPARE(backend.likes(),
                 QStringList{"POST /api/courses/foryou/cards/card-3/like?concept_id=concept-3"});

        backend.holdLikes = false;
        backend.likeStatus = 500;
        cards.toggleLike(0);
        QCOMPARE(cards.likeState(0), CardLikeState({false, 39, true}));
        QTRY_COMPARE(cards.likeState(0), CardLikeState({true, 40, false}));
        QCOMPARE(cards.likeErrorMessage(), "Couldn't unlike this card: Request failed (500). no");
        QCOMPARE(backend.likes().last(), "DELETE /api/courses/foryou/cards/card-3/like?concept_id=concept-3");

        cards.toggleLike(1);
        QVERIFY(cards.likeErrorMessage().isEmpty()); // a new tap clears the last failure
        QTRY_COMPARE(cards.likeState(1), CardLikeState({false, 5, false}));
        QCOMPARE(cards.likeErrorMessage(), "Couldn't like this card: Request failed (500). no");
        QCOMPARE(backend.likes().size(), 3);
    }

    // The daily feed asks for ten and walks them one by one. Moving on does not wait for the
    // event; the events reach the backend in the order the cards were left, and one that fails
    // neither stops the walk nor the events after it. "Finish session" shows on the last card only.
    void dailyWalk() {
        Backend backend;
        for (int n = 1; n <= 3; ++n)
            backend.cards << wireCard(n);
        DailyStudyFeedModel model(scriptedClient(backend.server));
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(backend.feedTargets(), QList<QByteArray>{"/api/courses/foryou/feed?limit=10"});
        QCOMPARE(model.currentCard()["title"], "Card 1");
        QCOMPARE(model.positionText(), "Card 1 of 3");
        QCOMPARE(model.advanceText(), "Got it, next card");

        backend.holdEvents = true;
        backend.eventStatuses = {500};
        model.gotIt();
        QCOMPARE(model.currentCard()["title"], "Card 2");
        QTRY_COMPARE(backend.server.heldCount(), 1);
        model.skip(); // while the first event is still out
        QCOMPARE(model.currentIndex(), 2);
        QVERIFY(model.isLastCard());
        QCOMPARE(model.advanceText(), "Finish session");
        QCOMPARE(backend.server.heldCount(), 1); // one at a time
        backend.holdEvents = false;
        backend.server.releaseHeld(); // the first fails
        QTRY_COMPARE(backend.events().size(), 2);

        QSignalSpy cardChanges(&model, &DailyStudyFeedModel::currentCardChanged);
        model.toggleLike();
        QCOMPARE(model.currentCard()["liked"], true);
        QVERIFY(!cardChanges.isEmpty());

        model.gotIt(); // "Finish session"
        QVERIFY(model.isFinished());
        QVERIFY(model.currentCard().isEmpty());
        model.gotIt();
        model.skip();
        model.toggleLike(); // no card past the last
        QTRY_COMPARE(backend.events().size(), 3);
        QCOMPARE(backend.likes().size(), 1);
        QCOMPARE(backend.events(), QStringList({"card-1/concept-1 engaged", "card-2/concept-2 skipped",
                                                "card-3/concept-3 engaged"}));

        // A new session starts again at the first card.
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(!model.isFinished());
        QCOMPARE(model.positionText(), "Card 1 of 3");
    }

    // A failed load shows its line with no card and no finished session; an empty day is empty.
    void dailyLoadFailure() {
        Backend backend;
        backend.feedStatus = 500;
        DailyStudyFeedModel model(scriptedClient(backend.server));
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.errorMessage(), "Couldn't load today's cards: Request failed (500). feed unavailable");
        QVERIFY(!model.isEmpty());
        QVERIFY(!model.isFinished());
        QVERIFY(model.currentCard().isEmpty());
        model.gotIt(); // nothing to leave
        QVERIFY(backend.events().isEmpty());

        backend.feedStatus = 200;
        model.load();
        QTRY_VERIFY(!model.isLoading());
        QVERIFY(model.errorMessage().isEmpty());
        QVERIFY(model.isEmpty());
        QVERIFY(!model.isFinished());
    }
};

QTEST_GUILESS_MAIN(ForYouTest)
#include "tst_ForYou.moc"
