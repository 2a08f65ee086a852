#pragma once

#include "JsonRecord.h"
#include "SynonymItem.h"

// The spaced-repetition state (easeFactor to lastReviewedAt) is the backend's; the client shows it.
struct Flashcard {
    QString id;
    QString front;
    QString back;
    std::optional<QString> hint;
    std::optional<QString> hintSource;
    std::optional<QList<SynonymItem>> synonyms;
    std::optional<QList<QString>> antonyms;
    std::optional<QList<QString>> relatedTerms;
    std::optional<QString> usageNote;
    std::optional<QString> documentId;
    std::optional<QString> courseId;
    std::optional<QList<QString>> tags;
    std::optional<double> easeFactor;
    std::optional<int> intervalDays;
    std::optional<int> repetitions;
    std::optional<QString> nextReviewAt;
    std::optional<QString> lastReviewedAt;
    std::optional<QString> createdAt;
    JSON_RECORD(Flashcard, id, front, back, hint, hintSource, synonyms, antonyms, relatedTerms, usageNote,
                documentId, courseId, tags, easeFactor, intervalDays, repetitions, nextReviewAt,
                lastReviewedAt, createdAt)
};
