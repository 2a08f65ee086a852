#pragma once

#include "JsonRecord.h"

// The lyrics a lyrics reward wrote, answered at once.
struct LyricsRewardResult {
    std::optional<bool> success;
    QString userRewardId;
    std::optional<QString> documentId;
    std::optional<QString> title;
    QString lyrics;
    JSON_RECORD(LyricsRewardResult, success, userRewardId, documentId, title, lyrics)
};
