#include "Rewards/RewardRoutes.h"

#include "Rewards/RewardCatalog.h"
#include "Rewards/UserRewardStore.h"

namespace {

ServerResponse notYours() {
    return ServerResponse::apiError(403, "You can only see and buy rewards for your own account.");
}

} // namespace

ServerResponse RewardRoutes::catalog() {
    return ServerResponse::json(RewardCatalog::json());
}

ServerResponse RewardRoutes::purchase(const ServerRequest& request, const QString& userId) {
    const QJsonObject body = request.jsonBody();
    if (body.value("user_id").toString() != userId)
        return notYours();
    const QString rewardId = body.value("reward_id").toString();
    if (rewardId.isEmpty())
        return ServerResponse::apiError(400, "reward_id is required.");
    using Outcome = UserRewardStore::Purchase::Outcome;
    const UserRewardStore::Purchase bought = UserRewardStore(context_).purchase(userId, rewardId);
    switch (bought.outcome) {
    case Outcome::bought:
        return ServerResponse::json(QJsonObject{{"success", true},
                                                {"user_reward_id", bought.userRewardId},
                                                {"credits_remaining", bought.creditsRemaining}});
    case Outcome::unknownReward:
        return ServerResponse::apiError(404, bought.detail);
    case Outcome::notEnoughCredits:
        return ServerResponse::apiError(402, bought.detail);
    case Outcome::comingSoon:
    case Outcome::levelTooLow:
        return ServerResponse::apiError(409, bought.detail);
    case Outcome::failed:
        break;
    }
    return ServerResponse::apiError(500, "The purchase could not be saved.");
}

ServerResponse RewardRoutes::purchased(const ServerRequest& request, const QString& userId) {
    if (request.param(0) != userId)
        return notYours();
    return ServerResponse::json(UserRewardStore(context_).owned(userId));
}
