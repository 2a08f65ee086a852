#include "GamificationAPI.h"

#include "GenerationCall.h"

async::Task<GamificationSummaryResponse> GamificationAPI::summary() const {
    return client_.get<GamificationSummaryResponse>(QStringLiteral("/api/gamification/credits"));
}

async::Task<CreditsBalanceResponse> GamificationAPI::creditsBalance(const QString& userId) const {
    return client_.get<CreditsBalanceResponse>(QStringLiteral("/api/gamification/credits/") + userId);
}

async::Task<UserLevelResponse> GamificationAPI::level(const QString& userId) const {
    return client_.get<UserLevelResponse>(QStringLiteral("/api/gamification/level/") + userId);
}

async::Task<QList<RewardCatalogItem>> GamificationAPI::catalog() const {
    return client_.get<QList<RewardCatalogItem>>(QStringLiteral("/api/gamification/rewards/catalog"));
}

async::Task<QList<UserRewardItem>> GamificationAPI::purchasedRewards(const QString& userId) const {
    return client_.get<QList<UserRewardItem>>(QStringLiteral("/api/gamification/rewards/") + userId +
                                              QStringLiteral("/purchased"));
}

async::Task<PurchaseRewardResponse> GamificationAPI::purchase(const PurchaseRewardRequest& request) const {
    return client_.post<PurchaseRewardResponse>(QStringLiteral("/api/gamification/rewards/purchase"),
                                                request);
}

async::Task<SongGenerationResult> GamificationAPI::makeSong(const UseSongRewardRequest& request) const {
    return postGeneration<SongGenerationResult>(
        client_, QStringLiteral("/api/gamification/rewards/use/song-from-notes"), request);
}

async::Task<LyricsRewardResult> GamificationAPI::writeLyrics(const UseLyricsRewardRequest& request) const {
    return client_.post<LyricsRewardResult>(QStringLiteral("/api/gamification/rewards/use/lyrics-from-notes"),
                                            request);
}
