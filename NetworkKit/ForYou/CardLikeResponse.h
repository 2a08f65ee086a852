#pragma once

#include "JsonRecord.h"

struct CardLikeResponse {
    QString cardId;
    bool liked = false;
    int likesCount = 0;
    JSON_RECORD(CardLikeResponse, cardId, liked, likesCount)
};
