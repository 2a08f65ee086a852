#include "VocabularyAPI.h"

#include "PathEncoding.h"

#include "EmptyRequestBody.h"

namespace {
QString vocabularyPath(const QString& courseId) {
    return QStringLiteral("/api/courses/") + PathEncoding::pathComponent(courseId) +
           QStringLiteral("/vocabulary");
}
} // namespace

async::Task<VocabularyResponse> VocabularyAPI::vocabulary(const QString& courseId) const {
    return client_.get<VocabularyResponse>(vocabularyPath(courseId));
}

async::Task<VocabularyGenerateResponse> VocabularyAPI::generate(const QString& courseId) const {
    return client_.post<VocabularyGenerateResponse>(vocabularyPath(courseId) + QStringLiteral("/generate"),
                                                    EmptyRequestBody{});
}

async::Task<VocabularyResponse> VocabularyAPI::enrichSynonyms(const QString& courseId) const {
    return client_.post<VocabularyResponse>(vocabularyPath(courseId) + QStringLiteral("/enrich-synonyms"),
                                            EmptyRequestBody{});
}
