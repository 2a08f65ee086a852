#include "Rewards/TutorSessionRoutes.h"

#include "Library/LibraryStore.h"
#include "Rewards/UserRewardStore.h"
#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QDateTime>

namespace {

QString iso(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

} // namespace

ServerResponse TutorSessionRoutes::start(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.contains("user_id") && body.value("user_id").toString() != userId)
        return ServerResponse::apiError(403, "You can only use your own rewards.");
    const QString userRewardId = body.value("user_reward_id").toString();
    const QString courseId = body.value("course_id").toString();
    if (userRewardId.isEmpty() || courseId.isEmpty())
        return ServerResponse::apiError(400, "user_reward_id and course_id are required.");
    const auto course = LibraryStore(context_).course(courseId, userId);
    if (!course)
        return ServerResponse::apiError(404, "No such course.");

    // Read inside the write transaction: a second start racing this one waits (or runs again) and
    // then sees the use this one spent.
    UserRewardStore rewards(context_);
    std::optional<ServerResponse> refusal;
    QJsonObject session;
    QVariant limit;
    int used = 0;
    const bool started = context_.db.inTransaction([&] {
        refusal.reset();
        const auto reward = rewards.reward(userRewardId, userId);
        const auto refuse = [&refusal](int status, const QString& message) {
            refusal = ServerResponse::apiError(status, message);
            return false;
        };
        if (!reward)
            return refuse(404, "No such reward.");
        if (reward->value("reward_type").toString() != QLatin1String(rewardType))
            return refuse(422, "That reward is not a tutor session.");
        if (rewards.expired(*reward))
            return refuse(409, "This tutor session expired before it was started.");
        used = reward->value("usage_count").toInt();
        limit = reward->value("usage_limit");
        if (!limit.isNull() && used >= limit.toInt())
            return refuse(409, "This tutor session has already been started.");

        const qint64 now = context_.nowMs();
        const qint64 ends = now + qint64(sessionMinutes) * 60 * 1000;
        session = QJsonObject{{"type", "tutor_session"},
                              {"session_id", RandomId::make("tut")},
                              {"course_id", courseId},
                              {"course_name", course->value("name").toString()},
                              {"started_at", iso(now)},
                              {"ends_at", iso(ends)},
                              {"duration_minutes", sessionMinutes}};
        return rewards.spendUse(userRewardId, session);
    });
    if (refusal)
        return *refusal;
    if (!started)
        return ServerResponse::apiError(500, "The session could not be started.");
    QJsonObject answer = session;
    answer.remove("type");
    answer.insert("success", true);
    answer.insert("user_reward_id", userRewardId);
    answer.insert("remaining_uses", limit.isNull() ? QJsonValue() : QJsonValue(limit.toInt() - used - 1));
    return ServerResponse::json(answer);
}
