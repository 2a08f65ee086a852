#include "ControlApi.h"

#include "Auth/AuthStore.h"
#include "Auth/TokenSigner.h"
#include "Http/JsonNumbers.h"
#include "Quiz/QuizGenerator.h"
#include "Quiz/QuizStore.h"
#include "Rewards/RewardsStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdlib>

ServerResponse ControlApi::faultList() const {
    return ServerResponse::json(faults_.toJson());
}

ServerResponse ControlApi::addFault(const ServerRequest& request) {
    const auto fault = FaultInjector::fromJson(request.jsonBody());
    if (!fault)
        return ServerResponse::apiError(400, "A fault needs a \"path\".");
    faults_.add(*fault);
    return ServerResponse::json(faults_.toJson(), 201);
}

ServerResponse ControlApi::clearFaults() {
    faults_.clear();
    return ServerResponse::json(QJsonArray());
}

ServerResponse ControlApi::enableSecondFactor(const ServerRequest& request) {
    const QJsonObject body = request.jsonBody();
    AuthStore store(context_);
    const auto user = store.userByEmail(body.value("email").toString());
    const QString phone = body.value("phone_number").toString();
    if (!user || phone.isEmpty())
        return ServerResponse::apiError(400, "Needs the \"email\" of an account and a \"phone_number\".");
    QStringList codes;
    for (int i = 0; i < 8; ++i)
        codes.append(RandomId::digits(8));
    // Shown once, here; only their hashes are kept.
    const QString userId = user->value("id").toString();
    store.setSecondFactor(userId, phone, codes);
    return ServerResponse::json(QJsonObject{{"backup_codes", QJsonArray::fromStringList(codes)}});
}

std::optional<ControlApi::Grant> ControlApi::grantOf(const ServerRequest& request) {
    const QJsonObject body = request.jsonBody();
    const auto user = AuthStore(context_).userByEmail(body.value("email").toString());
    const auto amount = JsonNumbers::wholeNumber(body.value("amount"));
    if (!user || !amount || *amount == 0 || std::abs(*amount) > maxGrant)
        return std::nullopt;
    return Grant{user->value("id").toString(), *amount};
}

ServerResponse ControlApi::grantRefused() {
    return ServerResponse::apiError(
        400, QStringLiteral("Needs the \"email\" of an account and a whole \"amount\" from -%1 to %1, not 0.")
                 .arg(maxGrant));
}

ServerResponse ControlApi::grantCredits(const ServerRequest& request) {
    const auto grant = grantOf(request);
    if (!grant)
        return grantRefused();
    const auto balance =
        RewardsStore(context_).grantCredits(grant->userId, grant->amount, QStringLiteral("control"));
    if (!balance)
        return ServerResponse::apiError(
            409, QStringLiteral("The balance must stay from 0 to %1.").arg(RewardsStore::maxTotal));
    return ServerResponse::json(QJsonObject{{"balance", *balance}});
}

ServerResponse ControlApi::grantXp(const ServerRequest& request) {
    const auto grant = grantOf(request);
    if (!grant)
        return grantRefused();
    const QString userId = grant->userId;
    RewardsStore rewards(context_);
    if (!rewards.grantXp(userId, grant->amount))
        return ServerResponse::apiError(
            409, QStringLiteral("XP must stay from 0 to %1.").arg(RewardsStore::maxTotal));
    return ServerResponse::json(rewards.level(userId));
}

ServerResponse ControlApi::issueQuiz(const ServerRequest& request) {
    const QJsonObject body = request.jsonBody();
    const auto user = AuthStore(context_).userByEmail(body.value("email").toString());
    const auto count =
        JsonNumbers::integerWithin(body.value("num_questions"), 1, QuizGenerator::maxQuestions);
    const QString difficulty = body.value("difficulty").toString();
    if (!user || !count || !QuizGenerator::isDifficulty(difficulty))
        return ServerResponse::apiError(
            400, QStringLiteral("Needs the \"email\" of an account, \"num_questions\" from 1 to %1 and a"
                                " \"difficulty\".")
                     .arg(QuizGenerator::maxQuestions));
    QJsonArray questions;
    QJsonArray answers;
    for (qint64 i = 0; i < *count; ++i) {
        questions.append(QJsonObject{{"question", QStringLiteral("Statement %1 holds.").arg(i + 1)},
                                     {"options", QJsonArray{"True", "False"}},
                                     {"correct_answer", 0}});
        answers.append("0");
    }
    const QString quizId = RandomId::make("quiz");
    const QuizStore::Key key{user->value("id").toString(),
                             body.value("course_id").toString(),
                             "true_false",
                             difficulty,
                             {},
                             int(*count)};
    // Handed out long enough ago to be finished at once.
    if (!QuizStore(context_).issue(key, quizId, questions,
                                   context_.nowMs() - *count * context_.options.quizMsPerQuestion))
        return ServerResponse::apiError(500, "The quiz could not be stored.");
    return ServerResponse::json(QJsonObject{{"quiz_id", quizId}, {"answers", answers}});
}

ServerResponse ControlApi::progress(const ServerRequest& request) {
    const auto user =
        AuthStore(context_).userByEmail(request.query.queryItemValue("email", QUrl::FullyDecoded));
    if (!user)
        return ServerResponse::apiError(404, "No account has that \"email\".");
    RewardsStore rewards(context_);
    const QString userId = user->value("id").toString();
    QJsonObject answer = rewards.level(userId);
    answer.insert("credits", rewards.balance(userId));
    return ServerResponse::json(answer);
}

ServerResponse ControlApi::sessionToken(const ServerRequest& request) {
    const auto user = AuthStore(context_).userByEmail(request.jsonBody().value("email").toString());
    if (!user)
        return ServerResponse::apiError(400, "Needs the \"email\" of an account.");
    const QString userId = user->value("id").toString();
    const auto session = AuthStore(context_).latestActiveSession(userId);
    if (!session)
        return ServerResponse::apiError(409, "That account is not signed in anywhere.");
    const QString token =
        context_.signer->issue(*session, userId, context_.nowMs() / 1000, sessionTokenSeconds);
    return ServerResponse::json(QJsonObject{{"token", token}, {"user_id", userId}});
}
