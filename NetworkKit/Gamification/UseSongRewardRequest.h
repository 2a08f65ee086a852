#pragma once

#include "JsonRecord.h"

struct UseSongRewardRequest {
    QString userId;
    QString userRewardId;
    std::optional<QString> documentId; // absent: the backend picks the document
    std::optional<QString> genre;
    std::optional<QString> style;
    std::optional<QString> subject;
    std::optional<QString> courseId;
    JSON_RECORD(UseSongRewardRequest, userId, userRewardId, documentId, genre, style, subject, courseId)
};
