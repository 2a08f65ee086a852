#pragma once

#include "Feed/FeedCard.h"
#include "Feed/FeedHistory.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QTimeZone>
#include <optional>

// Chooses and orders a user's feed from the candidate cards. Each card scores:
// - unseen: 2 + a tie-break in [0, 1) drawn from the user, their local day and the card, so a feed is the
//   same all day for the same history, differs between users and is reshuffled each day;
// - engaged: left out for `restDays`, then 0.5 × the tie-break (it comes back rarely);
// - minus `skipPenalty` for each skip, halving every `skipHalfLifeDays` (a fresh skip sinks a
//   card below every unseen one; after a week it has nearly faded);
// - plus `likeBonus` when liked.
// Community cards take at most `communityShare` of the feed (at least one) while the user's own
// cards last, and fill it when they run out; among them, those written for one of the user's own
// interests (rather than only their category) are taken first (`interestBonus`). The chosen cards
// are ordered by score, best first.
class FeedRanker {
public:
    static constexpr qint64 dayMs = 86'400'000;
    static constexpr double skipPenalty = 1.5;
    static constexpr double skipHalfLifeDays = 2.0;
    static constexpr double restDays = 3.0;
    static constexpr double likeBonus = 0.3;
    static constexpr double interestBonus = 1.0;
    static constexpr int communityShare = 5; // one card in five

    struct Request {
        QString userId;
        qint64 nowMs = 0;
        int limit = 20;
        QList<FeedCard> own;               // made from the user's documents and mnemonics
        QList<FeedCard> community;         // for the user's interests
        QSet<QString> interests;           // the interests the user picked
        QTimeZone zone = QTimeZone::utc(); // the user's, whose midnight starts a new day's order
    };

    static QList<FeedCard> rank(const Request& request, const FeedHistory& history);
    // The card's score, or nothing while it rests after being engaged with.
    static std::optional<double> score(const Request& request, const FeedHistory& history,
                                       const FeedCard& card);
    // The tie-break in [0, 1) for the user, their local day and the card.
    static double tieBreak(const QString& userId, QDate day, const QString& cardId);
};
