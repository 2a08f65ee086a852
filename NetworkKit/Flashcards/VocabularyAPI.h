#pragma once

#include "APIClient.h"
#include "VocabularyGenerateResponse.h"
#include "VocabularyResponse.h"

// A course's vocabulary: reading it, having it generated, and enriching it with synonyms.
class VocabularyAPI {
public:
    explicit VocabularyAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<VocabularyResponse> vocabulary(const QString& courseId) const;
    async::Task<VocabularyGenerateResponse> generate(const QString& courseId) const;
    async::Task<VocabularyResponse> enrichSynonyms(const QString& courseId) const;

private:
    APIClient client_;
};
