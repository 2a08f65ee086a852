#include "Feed/FeedRanker.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {

struct Scored {
    FeedCard card;
    double score = 0;
    double pick = 0; // the order in which cards of one source are taken
};

QList<Scored> scored(const FeedRanker::Request& request, const FeedHistory& history,
                     const QList<FeedCard>& cards) {
    QList<Scored> list;
    for (const FeedCard& card : cards) {
        if (const auto score = FeedRanker::score(request, history, card)) {
            const bool ownInterest =
                card.cardSource == "community" && request.interests.contains(card.interest);
            list.append({card, *score, *score + (ownInterest ? FeedRanker::interestBonus : 0.0)});
        }
    }
    return list;
}

bool picksFirst(const Scored& a, const Scored& b) {
    return a.pick != b.pick ? a.pick > b.pick : a.card.cardId < b.card.cardId;
}

bool better(const Scored& a, const Scored& b) {
    return a.score != b.score ? a.score > b.score : a.card.cardId < b.card.cardId;
}

} // namespace

double FeedRanker::tieBreak(const QString& userId, QDate day, const QString& cardId) {
    const QByteArray seed = (userId + '/' + QString::number(day.toJulianDay()) + '/' + cardId).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(seed, QCryptographicHash::Sha256);
    // 53 bits: every value is exact in a double, and the largest stays below 1.
    return double(qFromBigEndian<quint64>(digest.constData()) >> 11) / double(quint64(1) << 53);
}

std::optional<double> FeedRanker::score(const Request& request, const FeedHistory& history,
                                        const FeedCard& card) {
    const QDate day = QDateTime::fromMSecsSinceEpoch(request.nowMs, request.zone).date();
    const double draw = tieBreak(request.userId, day, card.cardId);
    const auto days = [&](qint64 at) { return double(request.nowMs - at) / double(dayMs); };
    double score = 2 + draw;
    if (const auto engaged = history.lastEngagedAt.constFind(card.conceptId);
        engaged != history.lastEngagedAt.constEnd()) {
        if (days(*engaged) < restDays)
            return std::nullopt;
        score = 0.5 * draw;
    }
    for (const qint64 at : history.skippedAt.value(card.conceptId))
        score -= skipPenalty * std::pow(0.5, std::max(0.0, days(at)) / skipHalfLifeDays);
    if (history.liked.contains(card.cardId))
        score += likeBonus;
    return score;
}

QList<FeedCard> FeedRanker::rank(const Request& request, const FeedHistory& history) {
    QList<Scored> own = scored(request, history, request.own);
    QList<Scored> community = scored(request, history, request.community);
    std::sort(own.begin(), own.end(), better);
    std::sort(community.begin(), community.end(), picksFirst);

    const qsizetype limit = std::max(0, request.limit);
    const qsizetype share = std::min(community.size(), std::max<qsizetype>(1, limit / communityShare));
    const qsizetype ownTaken = std::min(own.size(), limit - std::min(share, limit));
    const qsizetype communityTaken = std::min(community.size(), limit - ownTaken);
    QList<Scored> chosen = own.mid(0, ownTaken) + community.mid(0, communityTaken);
    std::sort(chosen.begin(), chosen.end(), better);

    QList<FeedCard> feed;
    for (const Scored& entry : chosen)
        feed.append(entry.card);
    return feed;
}
