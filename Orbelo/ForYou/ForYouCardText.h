#pragma once

#include "ForYou/CardLikeState.h"
#include "ForYou/ForYouFeedItem.h"

#include <QUrl>

// The words and links a feed card shows, the same on the For You tab and in the daily feed.
namespace ForYouCardText {

// "Intro", "Core", "Advanced" or "Expert" for the backend's difficulty tier (1 to 4; lower tiers
// read as Intro, higher as Expert). A card without a tier is pitched at the core of its topic.
QString difficultyLabel(std::optional<int> tier);
// The card's YouTube watch page; empty when the card has no video.
QUrl videoUrl(const ForYouFeedItem& item);
// Written by another student rather than picked by the backend.
bool isCommunity(const ForYouFeedItem& item);
// N + " likes".
QString likesText(int count);
// What the heart says to a screen reader: "Like. 3 likes" or "Unlike. 4 likes".
QString likeAccessibleName(const CardLikeState& state);
// The title and the body, read as one text.
QString readAloudText(const ForYouFeedItem& item);

} // namespace ForYouCardText
