#pragma once

#include "Flashcard.h"
#include "JsonRecord.h"

struct DueFlashcardsResponse {
    QList<Flashcard> flashcards;
    int count = 0;
    int total = 0;
    JSON_RECORD(DueFlashcardsResponse, flashcards, count, total)
};
