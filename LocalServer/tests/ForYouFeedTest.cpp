#include "Feed/FeedRanker.h"
#include "ForYou/CardLikeResponse.h"
#include "ForYou/ForYouEventResponse.h"
#include "ForYou/ForYouFeedResponse.h"
#include "Json.h"
#include "QuotedProse.h"
#include "ServerContext.h"
#include "Terms/KeyTermEngine.h"
#include "Terms/TermCasing.h"
#include "TestServer.h"

#include <QJsonArray>
#include <QTest>
#include <memory>

namespace {

// Lecture notes with defined terms, as students upload them.
const QByteArray biology = R"(# Transport across the cell membrane

A membrane is a thin layer of lipids and proteins that separates the inside of a cell from its surroundings. Osmosis is the movement of water across a membrane from a dilute solution to a concentrated one. Plant roots take up water by osmosis.

Active transport refers to the pumping of molecules against their concentration gradient using energy from ATP. Nerve cells rely on **active transport** to keep their sodium low.

Glossary
Diffusion — the net spread of particles from where they are crowded to where they are sparse
Turgor pressure - the push of water in the central vacuole against the cell wall of a plant
)";

const QByteArray economics = R"(# Markets

Scarcity is the gap between limited resources and unlimited wants. Every economy must deal with scarcity.

Opportunity cost refers to the value of the next best alternative given up when making a choice. A student who works an evening shift pays the opportunity cost of an evening of study.

Elasticity is a measure of how strongly demand responds to a change in price. Goods with close substitutes have a high elasticity.
)";

// Notes whose sentences lean on the one before them.
const QByteArray chemistry = R"(# Catalysts

A catalyst is a substance that speeds up a reaction without being used up. It lowers the activation energy of the reaction. Platinum in a car exhaust is a catalyst.

Enzymes are catalysts that living cells make. They work best at body temperature. This is why a high fever slows them down.

# Equilibrium

A reversible reaction can run both ways. It reaches equilibrium when both directions run at the same rate. A catalyst does not move the equilibrium.
)";

const QJsonArray cookingOnly{QJsonObject{{"category", "Hobbies"}, {"items", QJsonArray{"Cooking"}}}};

// The answer decoded as the app decodes it; a failed decode fails the test.
template <typename Record> Record decoded(const QJsonObject& object) {
    try {
        return json::fromValue<Record>(object);
    } catch (...) {
        QTest::qFail("The answer does not decode", __FILE__, __LINE__);
        return {};
    }
}

QStringList titles(const ForYouFeedResponse& feed) {
    QStringList list;
    for (const ForYouFeedItem& item : feed.items)
        list.append(item.title);
    return list;
}

QStringList cardIds(const ForYouFeedResponse& feed) {
    QStringList list;
    for (const ForYouFeedItem& item : feed.items)
        list.append(item.cardId);
    return list;
}

} // namespace

// The For You feed over HTTPS: cards from the user's own notes, stored mnemonics and community
// cards for their interests, ranked by what the user did with them, and likes across users.
class ForYouFeedTest : public QObject {
    Q_OBJECT

    struct User {
        TestServer::Device device;
        QString token;
    };

    std::unique_ptr<TestServer> server;

    User signUp(const QString& name) {
        const TestServer::Device device = server->signUp(name + "@example.com", "feed-reader-1");
        return {device, server->sessionToken(device)};
    }

    QString studies(const User& user, const QByteArray& notes, const QString& course) {
        const QString courseId = server->addCourse(user.token, course);
        const QString documentId =
            server->uploadDocument(user.token, notes, "notes.md", "text/markdown", courseId);
        server->waitForProcessing(documentId, user.token);
        return documentId;
    }

    void likes(const User& user, const QJsonArray& interests) {
        QCOMPARE(server->api("PUT", "/api/user/profile", user.token, {{"interests", interests}}).status, 200);
    }

    ForYouFeedResponse feed(const User& user, const QString& query = {}) {
        const TestServer::Reply reply = server->api("GET", "/api/courses/foryou/feed" + query, user.token);
        if (reply.status != 200)
            QTest::qFail(qPrintable("The feed answered " + QString::number(reply.status)), __FILE__,
                         __LINE__);
        return decoded<ForYouFeedResponse>(reply.json());
    }

    TestServer::Reply report(const User& user, const ForYouFeedItem& card, const QString& type) {
        return server->api("POST", "/api/courses/foryou/events", user.token,
                           {{"card_id", card.cardId}, {"concept_id", card.conceptId}, {"event_type", type}});
    }

    TestServer::Reply like(const QByteArray& method, const User& user, const QString& cardId,
                           const QString& conceptId) {
        return server->api(method, "/api/courses/foryou/cards/" + cardId + "/like?concept_id=" + conceptId,
                           user.token);
    }

private slots:
    void init() {
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
    }
    void cleanup() { server.reset(); }

    void cardsComeFromTheUsersOwnNotes() {
        const User ana = signUp("ana");
        studies(ana, biology, "BIOL 110");
        const TestServer::Reply raw = server->api("GET", "/api/courses/foryou/feed", ana.token);
        QCOMPARE(raw.status, 200);
        const ForYouFeedResponse cards = decoded<ForYouFeedResponse>(raw.json());
        QCOMPARE(cards.userId, ana.device.userId);

        QStringList terms;
        for (const KeyTermEngine::Term& term : KeyTermEngine::keyTerms({QString::fromUtf8(biology)}))
            terms.append(TermCasing::opening(term.term));
        QVERIFY(terms.size() >= 4);
        QStringList shown = titles(cards);
        shown.sort();
        terms.sort();
        QCOMPARE(shown, terms);

        const QString plainNotes = QString::fromUtf8(biology).remove("**").simplified();
        for (const ForYouFeedItem& item : cards.items) {
            QCOMPARE(item.cardType, "concept");
            QCOMPARE(item.cardSource, "notes");
            QCOMPARE(item.topic, "BIOL 110");
            QVERIFY(item.difficultyTier >= 1 && item.difficultyTier <= 4);
            QCOMPARE(item.likesCount, 0);
            QVERIFY(!item.videoId && !item.authorName);
            QVERIFY2(!item.body.contains('#') && !item.body.contains("**"), qPrintable(item.body));
            // The first sentence is the notes' own (a glossary line gains a full stop).
            const QString first = item.body.section(QRegularExpression("(?<=[.])\\s"), 0, 0).chopped(1);
            QVERIFY2(plainNotes.contains(first), qPrintable(item.body));
            QVERIFY2(item.body.contains(item.title, Qt::CaseInsensitive), qPrintable(item.body));
        }
        for (const QJsonValue& item : raw.json()["items"].toArray())
            QVERIFY(!item.toObject().contains("video_id"));
        const auto osmosis = std::find_if(cards.items.begin(), cards.items.end(),
                                          [](const ForYouFeedItem& item) { return item.title == "Osmosis"; });
        QVERIFY(osmosis != cards.items.end());
        QCOMPARE(osmosis->body,
                 "Osmosis is the movement of water across a membrane from a dilute solution to a "
                 "concentrated one. Plant roots take up water by osmosis.");

        // The same cards with the same ids on the next request, also for a document processed
        // before its concepts were kept for the feed.
        QCOMPARE(cardIds(feed(ana)), cardIds(cards));
        Database& db = server->server().context().db;
        QVERIFY(db.exec("DELETE FROM foryou_concepts"));
        QCOMPARE(cardIds(feed(ana)), cardIds(cards));
        QCOMPARE(db.row("SELECT COUNT(*) AS n FROM foryou_concepts")->value("n").toInt(), 1);
    }

    void cardBodiesReadAsWrittenText() {
        const User ana = signUp("ana");
        studies(ana, chemistry, "CHEM 101");
        const ForYouFeedResponse cards = feed(ana);
        QVERIFY(!cards.items.isEmpty());
        const QString notes = QString::fromUtf8(chemistry);
        for (const ForYouFeedItem& item : cards.items) {
            QVERIFY2(readsOnItsOwn(item.body, notes), qPrintable(item.body));
            // In the order of the notes: each sentence (but for a replaced pronoun) after the last.
            qsizetype at = -1;
            for (const QString& sentence : item.body.split(QRegularExpression("(?<=[.!?])\\s+"))) {
                const qsizetype found = notes.indexOf(sentence.section(' ', 1, -1));
                QVERIFY2(found > at, qPrintable(item.body));
                at = found;
            }
        }
        const auto catalyst =
            std::find_if(cards.items.begin(), cards.items.end(),
                         [](const ForYouFeedItem& item) { return item.title == "Catalyst"; });
        QVERIFY(catalyst != cards.items.end());
        QVERIFY2(catalyst->body.contains("lowers the activation energy"), qPrintable(catalyst->body));
    }

    void eachUserSeesTheirOwnConcepts() {
        const User ana = signUp("ana");
        const User ben = signUp("ben");
        const User cai = signUp("cai");
        studies(ana, biology, "BIOL 110");
        studies(ben, economics, "ECON 101");
        studies(cai, biology, "Biology");
        const ForYouFeedResponse anas = feed(ana), bens = feed(ben), cais = feed(cai);
        QVERIFY(!bens.items.isEmpty());
        QVERIFY(titles(bens).contains("Opportunity cost"));
        for (const QString& title : titles(bens))
            QVERIFY2(!titles(anas).contains(title), qPrintable(title));
        // The same notes give the same concepts, under other ids.
        QStringList anaTitles = titles(anas), caiTitles = titles(cais);
        anaTitles.sort();
        caiTitles.sort();
        QCOMPARE(caiTitles, anaTitles);
        for (const QString& id : cardIds(cais))
            QVERIFY(!cardIds(anas).contains(id));
        // Another user's card is not one of this user's.
        QCOMPARE(report(ben, anas.items.front(), "engaged").status, 404);
    }

    void skippedCardsSinkAndEngagedOnesRest() {
        User ana = signUp("ana");
        studies(ana, biology, "BIOL 110");
        const ForYouFeedResponse before = feed(ana);
        const ForYouFeedItem skipped = before.items.front();
        const TestServer::Reply reported = report(ana, skipped, "skipped");
        QCOMPARE(reported.status, 200);
        const auto event = decoded<ForYouEventResponse>(reported.json());
        QVERIFY(event.eventId && !event.eventId->isEmpty());
        QCOMPARE(event.eventType, "skipped");

        const ForYouFeedResponse afterSkip = feed(ana);
        QCOMPARE(afterSkip.items.size(), before.items.size());
        QCOMPARE(afterSkip.items.back().cardId, skipped.cardId);

        const ForYouFeedItem engaged = afterSkip.items.front();
        QCOMPARE(report(ana, engaged, "engaged").status, 200);
        const ForYouFeedResponse afterEngaging = feed(ana);
        QCOMPARE(afterEngaging.items.size(), before.items.size() - 1);
        QVERIFY(!cardIds(afterEngaging).contains(engaged.cardId));

        // Once rested it comes back, behind everything else, the skipped card included.
        server->advanceClock(qint64(FeedRanker::restDays + 1) * FeedRanker::dayMs);
        ana.token = server->sessionToken(ana.device);
        const ForYouFeedResponse later = feed(ana);
        QCOMPARE(later.items.size(), before.items.size());
        QCOMPARE(later.items.back().cardId, engaged.cardId);

        // Refused events.
        QCOMPARE(report(ana, skipped, "liked").status, 422);
        QCOMPARE(
            server->api("POST", "/api/courses/foryou/events", ana.token, {{"event_type", "engaged"}}).status,
            422);
        ForYouFeedItem unknown = skipped;
        unknown.cardId = "card_unknown";
        QCOMPARE(report(ana, unknown, "engaged").status, 404);
        unknown = skipped;
        unknown.conceptId = "concept_other";
        QCOMPARE(report(ana, unknown, "engaged").status, 404);
    }

    void likesCountAcrossUsers() {
        const User ana = signUp("ana");
        const User ben = signUp("ben");
        likes(ana, cookingOnly);
        likes(ben, cookingOnly);
        const ForYouFeedItem maillard = feed(ana, "?limit=1").items.front();
        QCOMPARE(maillard.title, "The Maillard reaction");
        QCOMPARE(maillard.cardSource, "community");

        const auto answered = [&](const TestServer::Reply& reply) {
            if (reply.status != 200)
                QTest::qFail(qPrintable("Liking answered " + QString::number(reply.status)), __FILE__,
                             __LINE__);
            return decoded<CardLikeResponse>(reply.json());
        };
        CardLikeResponse state = answered(like("POST", ana, maillard.cardId, maillard.conceptId));
        QCOMPARE(state.cardId, maillard.cardId);
        QVERIFY(state.liked);
        QCOMPARE(state.likesCount, 1);
        QCOMPARE(answered(like("POST", ana, maillard.cardId, maillard.conceptId)).likesCount, 1);
        QCOMPARE(answered(like("POST", ben, maillard.cardId, maillard.conceptId)).likesCount, 2);
        QCOMPARE(feed(ben, "?limit=1").items.front().likesCount, 2);

        state = answered(like("DELETE", ana, maillard.cardId, maillard.conceptId));
        QVERIFY(!state.liked);
        QCOMPARE(state.likesCount, 1);
        QCOMPARE(answered(like("DELETE", ana, maillard.cardId, maillard.conceptId)).likesCount, 1);

        QCOMPARE(like("POST", ana, "card_unknown", maillard.conceptId).status, 404);
        QCOMPARE(like("DELETE", ana, "card_unknown", maillard.conceptId).status, 404);
        QCOMPARE(like("POST", ana, maillard.cardId, "concept_other").status, 404);

        // A user's own cards are theirs alone; a deleted account takes its likes along.
        studies(ana, biology, "BIOL 110");
        const ForYouFeedResponse mixed = feed(ana);
        const ForYouFeedItem own =
            *std::find_if(mixed.items.begin(), mixed.items.end(),
                          [](const ForYouFeedItem& item) { return item.cardSource == "notes"; });
        QCOMPARE(answered(like("POST", ana, own.cardId, own.conceptId)).likesCount, 1);
        QCOMPARE(like("POST", ben, own.cardId, own.conceptId).status, 404);
        QCOMPARE(server->api("DELETE", "/api/user/account", ben.token).status, 200);
        QCOMPARE(answered(like("POST", ana, maillard.cardId, maillard.conceptId)).likesCount, 1);
    }

    void anEmptyLibraryGetsCommunityCardsForTheUsersInterests() {
        const User ana = signUp("ana");
        QVERIFY(feed(ana).items.isEmpty());

        likes(ana, cookingOnly);
        const ForYouFeedResponse cards = feed(ana);
        // The card written for cooking, then the rest of its category's.
        QCOMPARE(cards.items.size(), 12);
        QCOMPARE(feed(ana, "?limit=1").items.front().title, "The Maillard reaction");
        for (const ForYouFeedItem& item : cards.items) {
            QCOMPARE(item.cardSource, "community");
            QVERIFY(item.authorName && !item.authorName->isEmpty());
            QVERIFY(item.difficultyTier >= 1 && item.difficultyTier <= 4);
        }
    }

    void theLimitIsChecked() {
        const User ana = signUp("ana");
        QJsonArray everything;
        for (const char* category : {"TV Shows", "Movies", "Cartoons & Anime", "Fantasy & Sci-Fi",
                                     "Pop Culture", "Places", "Sports", "Hobbies"})
            everything.append(QJsonObject{{"category", category}, {"items", QJsonArray{"Cooking"}}});
        likes(ana, everything);
        QCOMPARE(feed(ana).items.size(), 20);
        QCOMPARE(feed(ana, "?limit=10").items.size(), 10);
        QCOMPARE(feed(ana, "?limit=51").items.size(), 50);
        for (const char* bad : {"0", "-3", "ten"})
            QCOMPARE(server->api("GET", QString("/api/courses/foryou/feed?limit=") + bad, ana.token).status,
                     422);
        QCOMPARE(server->send("GET", "/api/courses/foryou/feed").status, 401);
    }

    void storedMnemonicsBecomeCards() {
        const User ana = signUp("ana");
        const QString documentId = studies(ana, biology, "BIOL 110");
        QCOMPARE(server
                     ->api("POST", "/api/v1/learning-content/mnemonic", ana.token,
                           {{"mnemonic_type", "acronym"},
                            {"difficulty", "hard"},
                            {"store", true},
                            {"document_id", documentId}})
                     .status,
                 200);
        const ForYouFeedResponse cards = feed(ana);
        const auto mnemonic =
            std::find_if(cards.items.begin(), cards.items.end(),
                         [](const ForYouFeedItem& item) { return item.cardType == "mnemonic"; });
        QVERIFY(mnemonic != cards.items.end());
        QCOMPARE(mnemonic->title, "Acronym for BIOL 110");
        QCOMPARE(mnemonic->difficultyTier, 3);
        QVERIFY(mnemonic->mnemonicHtml && mnemonic->mnemonicHtml->contains("osmosis", Qt::CaseInsensitive));
        QVERIFY(!mnemonic->body.isEmpty());

        // Deleting the document takes its concepts and its mnemonic out of the feed.
        QCOMPARE(server->api("DELETE", "/api/documents/" + documentId, ana.token).status, 200);
        QVERIFY(feed(ana).items.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ForYouFeedTest)
#include "ForYouFeedTest.moc"
