#pragma once

#include "Flashcard.h"
#include "JsonRecord.h"

struct FlashcardReviewResponse {
    std::optional<QString> status;
    std::optional<Flashcard> flashcard;
    JSON_RECORD(FlashcardReviewResponse, status, flashcard)
};
