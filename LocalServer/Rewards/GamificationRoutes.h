#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"
#include "Quiz/QuizStore.h"
#include "Rewards/RewardsRules.h"

#include <optional>

struct ServerContext;

// The rewards economy under /api/gamification: quiz completions and what they earn, timed study
// sessions, the credit balance, the level and the summary of them. Paths and bodies that name a
// user answer only that user. A completion earns only for a quiz the server generated for the
// user, once, graded here from its answers, no faster than ServerOptions::quizMsPerQuestion a
// question, and at most RewardsRules::maxCompletionsPerHour times an hour.
class GamificationRoutes {
public:
    explicit GamificationRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse completeQuiz(const ServerRequest& request, const QString& userId);
    // The refusal of counts in the body that disagree with the quiz and its `correct` answers.
    static std::optional<ServerResponse> checkClaims(const QJsonObject& body, const QuizStore::Issued& quiz,
                                                     int correct);
    void postNotice(const QString& userId, const QuizStore::Issued& quiz, const RewardsRules::Quiz& graded,
                    const QString& attemptId);
    ServerResponse startStudySession(const ServerRequest& request, const QString& userId);
    ServerResponse endStudySession(const ServerRequest& request, const QString& userId);
    ServerResponse summary(const QString& userId);
    ServerResponse creditsBalance(const ServerRequest& request, const QString& userId);
    ServerResponse level(const ServerRequest& request, const QString& userId);

    ServerContext& context_;
};
