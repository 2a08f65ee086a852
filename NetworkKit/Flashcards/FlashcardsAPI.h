#pragma once

#include "APIClient.h"
#include "DueFlashcardsResponse.h"
#include "FlashcardListResponse.h"
#include "FlashcardReviewRequest.h"
#include "FlashcardReviewResponse.h"

// The user's flashcards and their spaced-repetition reviews.
class FlashcardsAPI {
public:
    static constexpr int dueLimit = 100;

    explicit FlashcardsAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<FlashcardListResponse> flashcards() const;
    async::Task<DueFlashcardsResponse> dueFlashcards() const;
    async::Task<FlashcardReviewResponse> review(const QString& flashcardId,
                                                const FlashcardReviewRequest& request) const;

private:
    APIClient client_;
};
