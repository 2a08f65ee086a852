#pragma once

#include "APIClient.h"
#include "CreditsBalanceResponse.h"
#include "GamificationSummaryResponse.h"
#include "LyricsRewardResult.h"
#include "PurchaseRewardRequest.h"
#include "PurchaseRewardResponse.h"
#include "RewardCatalogItem.h"
#include "SongGenerationResult.h"
#include "UseLyricsRewardRequest.h"
#include "UseSongRewardRequest.h"
#include "UserLevelResponse.h"
#include "UserRewardItem.h"

// Credits, levels and the rewards they buy, including study songs made from the user's notes.
class GamificationAPI {
public:
    explicit GamificationAPI(APIClient client) : client_(std::move(client)) {}

    async::Task<GamificationSummaryResponse> summary() const;
    async::Task<CreditsBalanceResponse> creditsBalance(const QString& userId) const;
    async::Task<UserLevelResponse> level(const QString& userId) const;
    async::Task<QList<RewardCatalogItem>> catalog() const;
    async::Task<QList<UserRewardItem>> purchasedRewards(const QString& userId) const;
    async::Task<PurchaseRewardResponse> purchase(const PurchaseRewardRequest& request) const;
    async::Task<SongGenerationResult> makeSong(const UseSongRewardRequest& request) const;
    async::Task<LyricsRewardResult> writeLyrics(const UseLyricsRewardRequest& request) const;

private:
    APIClient client_;
};
