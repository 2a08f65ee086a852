#pragma once

#include "JsonRecord.h"

// quality is the user's self-rated recall grade.
struct FlashcardReviewRequest {
    int quality = 0;
    std::optional<QString> front;
    std::optional<QString> back;
    std::optional<QString> hint;
    std::optional<QString> hintSource;
    JSON_RECORD(FlashcardReviewRequest, quality, front, back, hint, hintSource)
};
