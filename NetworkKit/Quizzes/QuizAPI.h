#pragma once

#include "APIClient.h"
#include "GenerateQuizRequest.h"
#include "GenerateQuizResponse.h"
#include "JobsAPI.h"
#include "QuizCacheStatusResponse.h"
#include "QuizCompleteRequest.h"
#include "QuizCompleteResponse.h"
#include "SaveQuizScoreRequest.h"
#include "SaveQuizScoreResponse.h"

// Practice tests: generation quotas, generation, and reporting a finished quiz.
class QuizAPI {
public:
    explicit QuizAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<QuizCacheStatusResponse> cacheStatus(const QString& courseId,
                                                     QuizQuestionType questionType) const;
    // A queued generation's statuses go to `observer` while it is followed.
    async::Task<GenerateQuizResponse> generate(const QString& courseId, const GenerateQuizRequest& request,
                                               JobsAPI::StatusObserver observer = {}) const;
    // A finished quiz is reported twice: its score, and its completion, which earns the rewards.
    async::Task<SaveQuizScoreResponse> saveScore(const SaveQuizScoreRequest& request) const;
    async::Task<QuizCompleteResponse> complete(const QuizCompleteRequest& request) const;

private:
    APIClient client_;
};
