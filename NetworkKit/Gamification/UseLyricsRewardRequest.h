#pragma once

#include "JsonRecord.h"

// Spends a lyrics reward on lyrics written from one of the user's documents.
struct UseLyricsRewardRequest {
    QString userId;
    QString userRewardId;
    std::optional<QString> documentId; // absent: the backend picks the document
    JSON_RECORD(UseLyricsRewardRequest, userId, userRewardId, documentId)
};
