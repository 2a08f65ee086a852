#include "Feed/ConceptDepth.h"
#include "Feed/FeedRanker.h"

#include <QTest>

namespace {

constexpr qint64 day = FeedRanker::dayMs;
// Noon of some day, so that hours either way stay on it.
constexpr qint64 noon = 20'000 * day + day / 2;

FeedCard card(const QString& id, const QString& source = "notes", const QString& interest = {}) {
    FeedCard made;
    made.cardId = "card_" + id;
    made.conceptId = "concept_" + id;
    made.cardSource = source;
    made.interest = interest;
    return made;
}

QList<FeedCard> cards(const QString& prefix, int count, const QString& source = "notes") {
    QList<FeedCard> list;
    for (int i = 0; i < count; ++i)
        list.append(card(prefix + QString::number(i), source));
    return list;
}

QStringList ids(const QList<FeedCard>& feed) {
    QStringList list;
    for (const FeedCard& entry : feed)
        list.append(entry.cardId);
    return list;
}

FeedRanker::Request request(const QList<FeedCard>& own, int limit = 20,
                            const QList<FeedCard>& community = {}) {
    return {"user_a", noon, limit, own, community, {}};
}

} // namespace

// How the feed is chosen and ordered, and how deep a concept card goes.
class FeedRankingTest : public QObject {
    Q_OBJECT

private slots:
    void theSameDayAndHistoryGiveTheSameFeedAndUsersDiffer() {
        const auto own = cards("c", 30);
        const QStringList first = ids(FeedRanker::rank(request(own), {}));
        QCOMPARE(first.size(), 20);
        FeedRanker::Request later = request(own);
        later.nowMs += 5 * 3'600'000;
        QCOMPARE(ids(FeedRanker::rank(later, {})), first);

        FeedRanker::Request other = request(own);
        other.userId = "user_b";
        QVERIFY(ids(FeedRanker::rank(other, {})) != first);
        FeedRanker::Request tomorrow = request(own);
        tomorrow.nowMs += day;
        QVERIFY(ids(FeedRanker::rank(tomorrow, {})) != first);

        // The day is the student's: in Los Angeles 06:00 and 09:00 UTC fall on two local days.
        FeedRanker::Request lateEvening = request(own);
        lateEvening.nowMs = noon - 6 * 3'600'000;
        FeedRanker::Request nextMorning = lateEvening;
        nextMorning.nowMs += 3 * 3'600'000;
        QCOMPARE(ids(FeedRanker::rank(nextMorning, {})), ids(FeedRanker::rank(lateEvening, {})));
        lateEvening.zone = nextMorning.zone = QTimeZone("America/Los_Angeles");
        QVERIFY(ids(FeedRanker::rank(nextMorning, {})) != ids(FeedRanker::rank(lateEvening, {})));
    }

    void aSkipSinksBelowUnseenCardsAndFades() {
        const auto own = cards("c", 10);
        const QString top = ids(FeedRanker::rank(request(own), {})).front();
        FeedHistory history;
        history.skippedAt[QString(top).replace("card_", "concept_")] = {noon - 3'600'000};
        QCOMPARE(ids(FeedRanker::rank(request(own), history)).back(), top);

        // A week on, the penalty has nearly gone: the card scores within a tenth of its fresh score.
        FeedRanker::Request weekLater = request(own);
        weekLater.nowMs += 7 * day;
        const FeedCard skipped = card(QString(top).remove("card_"));
        const double fresh = *FeedRanker::score(weekLater, {}, skipped);
        const double faded = *FeedRanker::score(weekLater, history, skipped);
        QVERIFY(faded < fresh);
        QVERIFY(fresh - faded < 0.2);
        // Two skips weigh more than one.
        history.skippedAt[skipped.conceptId].append(noon - 2 * 3'600'000);
        QVERIFY(*FeedRanker::score(weekLater, history, skipped) < faded);
    }

    void anEngagedConceptRestsThenComesBackRarely() {
        const auto own = cards("c", 5);
        FeedHistory history;
        history.lastEngagedAt.insert("concept_c2", noon - day);
        QVERIFY(!ids(FeedRanker::rank(request(own), history)).contains("card_c2"));

        FeedRanker::Request later = request(own);
        later.nowMs = noon - day + qint64(FeedRanker::restDays * day);
        const QStringList back = ids(FeedRanker::rank(later, history));
        QCOMPARE(back.size(), 5);
        QCOMPARE(back.back(), "card_c2");
        // Just before the rest is over it is still left out.
        later.nowMs -= 1;
        QCOMPARE(ids(FeedRanker::rank(later, history)).size(), 4);
    }

    void aLikeLiftsACard() {
        const FeedCard liked = card("c1");
        FeedHistory history;
        history.liked.insert(liked.cardId);
        QCOMPARE(*FeedRanker::score(request({}), history, liked),
                 *FeedRanker::score(request({}), {}, liked) + FeedRanker::likeBonus);
    }

    void communityCardsTakeAShareUnlessOwnCardsRunOut() {
        const auto community = cards("k", 10, "community");
        const auto sources = [](const QList<FeedCard>& feed) {
            return std::count_if(feed.begin(), feed.end(),
                                 [](const FeedCard& c) { return c.cardSource == "community"; });
        };
        QCOMPARE(sources(FeedRanker::rank(request(cards("c", 30), 20, community), {})), 4);
        QCOMPARE(sources(FeedRanker::rank(request(cards("c", 30), 3, community), {})), 1);
        const auto few = FeedRanker::rank(request(cards("c", 6), 20, community), {});
        QCOMPARE(few.size(), 16);
        QCOMPARE(sources(few), 10);
        QCOMPARE(FeedRanker::rank(request({}, 5, community), {}).size(), 5);
        QVERIFY(FeedRanker::rank(request({}), {}).isEmpty());

        // A card written for the user's own interest comes before one only of its category.
        FeedRanker::Request picked =
            request({}, 1, {card("k0", "community", "Tennis"), card("k1", "community", "Golf")});
        picked.interests = {"Golf"};
        QCOMPARE(ids(FeedRanker::rank(picked, {})), QStringList{"card_k1"});
    }

    void depthOrdersIntroductoryToExpertTerms() {
        QCOMPARE(ConceptDepth::tier({0.0, 6, 5, 0.0}), 1);
        QCOMPARE(ConceptDepth::tier({1.0, 1, 60, 1.0}), 4);
        QVERIFY(ConceptDepth::tier({0.5, 2, 15, 1.0}) > ConceptDepth::tier({0.05, 5, 15, 1.0}));

        const QString text =
            "A cell is the unit of life. The cell divides. Every cell has a membrane. A cell grows. "
            "Much later: mitochondrial heteroplasmy is the presence of more than one kind of "
            "mitochondrial genome within a single cell of an organism.";
        const auto early = ConceptDepth::measure("cell", "the unit of life", text);
        QCOMPARE(early.firstPosition, 2.0 / text.size());
        QCOMPARE(early.occurrences, 5);
        QCOMPARE(early.definitionWords, 4);
        const auto late = ConceptDepth::measure("mitochondrial heteroplasmy", "the presence of more", text);
        QCOMPARE(late.occurrences, 1);
        QCOMPARE(late.uncommonShare, 1.0);
        QVERIFY(ConceptDepth::tier(late) > ConceptDepth::tier(early));
    }
};

QTEST_GUILESS_MAIN(FeedRankingTest)
#include "FeedRankingTest.moc"
