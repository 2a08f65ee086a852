#pragma once

#include "JsonRecord.h"

struct ForYouFeedItem {
    QString cardId;
    QString conceptId;
    QString cardType;
    QString cardSource;
    QString title;
    QString body;
    std::optional<QString> topic;
    std::optional<int> difficultyTier;
    std::optional<QString> authorName;
    std::optional<QString> mnemonicHtml;
    std::optional<QString> trendReference;
    std::optional<QString> videoId;
    std::optional<QString> videoTitle;
    std::optional<int> likesCount;
    JSON_RECORD(ForYouFeedItem, cardId, conceptId, cardType, cardSource, title, body, topic, difficultyTier,
                authorName, mnemonicHtml, trendReference, videoId, videoTitle, likesCount)
};
