#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Jobs/JobQueue.h"

#include <optional>

struct ServerContext;

// A course's vocabulary under /api/courses/{id}/vocabulary: reading it, generating it from the
// course's documents as a queued "vocabulary" job (which also makes its study cards), and adding
// WordNet's synonyms, antonyms and related terms.
class VocabularyRoutes {
public:
    static constexpr auto jobType = "vocabulary";

    explicit VocabularyRoutes(ServerContext& context) : context_(context) {}

    JobQueue::Runner runner();

private:
    friend class Routes; // calls the handlers

    ServerResponse read(const QString& courseId, const QString& userId);
    ServerResponse generate(const QString& courseId, const QString& userId);
    ServerResponse enrich(const QString& courseId, const QString& userId);
    JobQueue::Outcome extract(const JobQueue::Job& job);
    bool ownsCourse(const QString& courseId, const QString& userId);
    // The stored terms, or nothing when the course's vocabulary was never generated.
    std::optional<QJsonArray> storedTerms(const QString& courseId);
    void store(const QString& courseId, const QString& userId, const QJsonArray& terms);

    ServerContext& context_;
};
