#include "FlashcardsAPI.h"

#include "PathEncoding.h"

async::Task<FlashcardListResponse> FlashcardsAPI::flashcards() const {
    return client_.get<FlashcardListResponse>(QStringLiteral("/api/study-content/flashcards"));
}

async::Task<DueFlashcardsResponse> FlashcardsAPI::dueFlashcards() const {
    return client_.get<DueFlashcardsResponse>(QStringLiteral("/api/study-content/flashcards/due?limit=") +
                                              QString::number(dueLimit));
}

async::Task<FlashcardReviewResponse> FlashcardsAPI::review(const QString& flashcardId,
                                                           const FlashcardReviewRequest& request) const {
    return client_.post<FlashcardReviewResponse>(
        // Vocabulary cards are named after their term, spaces and all.
        QStringLiteral("/api/study-content/flashcards/") + PathEncoding::pathComponent(flashcardId) +
            QStringLiteral("/review"),
        request);
}
