#include "Study/ProgressHeaderModel.h"

#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Gamification/GamificationAPI.h"
#include "Rewards/RewardEffectText.h"

#include <algorithm>

ProgressHeaderModel::ProgressHeaderModel(QObject* parent)
    : ProgressHeaderModel(AuthSession::makeAPIClient(), parent) {}

ProgressHeaderModel::ProgressHeaderModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

void ProgressHeaderModel::setContext(AppContext* context) {
    if (!AppContext::switchTo(context_, context, this))
        return;
    if (context)
        connect(context, &AppContext::rewardsChanged, this, &ProgressHeaderModel::load);
    Q_EMIT contextChanged();
}

QString ProgressHeaderModel::levelText() const {
    return summary_ ? QStringLiteral("Level ") + QString::number(summary_->level) : QString();
}

QString ProgressHeaderModel::xpText() const {
    return summary_ ? QStringLiteral("%1 of %2 XP").arg(summary_->currentLevelXp).arg(summary_->nextLevelXp)
                    : QString();
}

double ProgressHeaderModel::levelProgress() const {
    if (!summary_ || summary_->nextLevelXp <= 0)
        return 0;
    return std::clamp(double(summary_->currentLevelXp) / summary_->nextLevelXp, 0.0, 1.0);
}

QString ProgressHeaderModel::streakText() const {
    return summary_ ? QString::number(summary_->streak) + QStringLiteral(" day streak") : QString();
}

QString ProgressHeaderModel::creditsText() const {
    return summary_ ? QString::number(summary_->credits) + QStringLiteral(" credits") : QString();
}

QString ProgressHeaderModel::badgeText() const {
    return summary_ && summary_->scholarBadge.value_or(false) ? RewardEffectText::scholarBadgeText
                                                              : QString();
}

QString ProgressHeaderModel::accessibleLabel() const {
    if (!summary_)
        return {};
    const QString badge = badgeText().isEmpty() ? QString() : QStringLiteral(", Scholar Badge");
    return levelText() + QStringLiteral(", ") + xpText() + QStringLiteral(" to next level, ") + streakText() +
           QStringLiteral(", ") + creditsText() + badge;
}

void ProgressHeaderModel::load() {
    if (isLoading_)
        return;
    tasks_.spawn(reload(this));
}

async::Task<void> ProgressHeaderModel::reload(ProgressHeaderModel* self) {
    self->setLoading(true);
    try {
        const GamificationAPI api(self->client_);
        self->summary_ = co_await api.summary();
        Q_EMIT self->progressChanged();
    } catch (...) {
        // Nothing to say: the header stays as it was (hidden until a first answer).
    }
    self->setLoading(false);
}

void ProgressHeaderModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}
