#pragma once

#include "Feed/FeedCard.h"

#include <QList>
#include <QSet>
#include <QString>

// The community cards shipped with the server (data/community_cards.json): short study cards,
// each written around one interest of the onboarding catalogue and signed by its author. The
// same card has the same ids for every user, so its likes add up across users. Loaded once,
// read-only after.
class CommunityCatalogue {
public:
    static constexpr auto resourcePath = ":/localserver/community_cards.json";

    static const CommunityCatalogue& instance();

    const QList<FeedCard>& cards() const { return cards_; }
    // The cards for a user's interests: those written for one of `interests`, then those of a
    // category in `categories` (the user picked something else there), in catalogue order.
    QList<FeedCard> matching(const QSet<QString>& interests, const QSet<QString>& categories) const;

private:
    CommunityCatalogue();

    QList<FeedCard> cards_;
};
