#pragma once

#include "Flashcard.h"
#include "JsonRecord.h"

struct FlashcardListResponse {
    QList<Flashcard> flashcards;
    int count = 0;
    JSON_RECORD(FlashcardListResponse, flashcards, count)
};
