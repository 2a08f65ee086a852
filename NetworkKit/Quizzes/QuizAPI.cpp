#include "QuizAPI.h"

#include "GenerationCall.h"

async::Task<QuizCacheStatusResponse> QuizAPI::cacheStatus(const QString& courseId,
                                                          QuizQuestionType questionType) const {
    return client_.get<QuizCacheStatusResponse>(QStringLiteral("/api/courses/") + courseId +
                                                QStringLiteral("/quiz/cache-status?question_type=") +
                                                json::rawValue(questionType));
}

async::Task<GenerateQuizResponse> QuizAPI::generate(const QString& courseId,
                                                    const GenerateQuizRequest& request,
                                                    JobsAPI::StatusObserver observer) const {
    return postGeneration<GenerateQuizResponse>(
        client_, QStringLiteral("/api/courses/") + courseId + QStringLiteral("/quiz/generate"), request,
        std::move(observer));
}

async::Task<SaveQuizScoreResponse> QuizAPI::saveScore(const SaveQuizScoreRequest& request) const {
    return client_.post<SaveQuizScoreResponse>(QStringLiteral("/api/quiz-scores"), request);
}

async::Task<QuizCompleteResponse> QuizAPI::complete(const QuizCompleteRequest& request) const {
    return client_.post<QuizCompleteResponse>(QStringLiteral("/api/gamification/quiz/complete"), request);
}
