#pragma once

#include "ForYouFeedItem.h"
#include "JsonRecord.h"

struct ForYouFeedResponse {
    std::optional<QString> userId;
    QList<ForYouFeedItem> items;
    JSON_RECORD(ForYouFeedResponse, userId, items)
};
