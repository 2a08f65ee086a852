#include "Rewards/RewardsModel.h"

#include "Appearance.h"
#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Common/CurrentUser.h"
#include "Common/FailureMessage.h"
#include "Rewards/LyricsDisplay.h"
#include "Rewards/RewardButtonState.h"
#include "Rewards/RewardCardText.h"
#include "Rewards/RewardEffectText.h"
#include "Settings/AppearanceModel.h"
#include "User/UserAPI.h"

namespace {

QString kindName(RewardKind kind) {
    switch (kind) {
    case RewardKind::song:
        return QStringLiteral("song");
    case RewardKind::lyrics:
        return QStringLiteral("lyrics");
    case RewardKind::mnemonic:
        return QStringLiteral("mnemonic");
    case RewardKind::other:
        break;
    }
    return QStringLiteral("other");
}

constexpr std::array categoryOrder{RewardCategoryFilter::all, RewardCategoryFilter::studyTools,
                                   RewardCategoryFilter::powerUps, RewardCategoryFilter::personalization,
                                   RewardCategoryFilter::premiumExperiences};

} // namespace

RewardsModel::RewardsModel(QObject* parent)
    : RewardsModel(AuthSession::makeAPIClient(), CurrentUser::id, parent) {}

RewardsModel::RewardsModel(APIClient client, UserIdSource userId, QObject* parent)
    : QObject(parent), client_(client), gamification_(std::move(client)), userId_(std::move(userId)) {}

QObject* RewardsModel::appearance() const {
    return appearance_;
}

void RewardsModel::setAppearance(QObject* appearance) {
    appearance_ = qobject_cast<Appearance*>(appearance);
}

void RewardsModel::tellAppearance() {
    if (appearance_)
        appearance_->setNightOwlOwned(AppearanceModel::ownsTheme(owned_));
}

RewardsModel::~RewardsModel() {
    if (toastTimer_)
        async::Clock::current().cancel(toastTimer_);
}

void RewardsModel::setSegment(int segment) {
    if (segment == segment_ || segment < marketplace || segment > myRewards)
        return;
    segment_ = segment;
    Q_EMIT segmentChanged();
}

void RewardsModel::setCategoryIndex(int index) {
    if (index == categoryIndex_ || index < 0 || index >= int(categoryOrder.size()))
        return;
    categoryIndex_ = index;
    Q_EMIT categoryChanged();
    Q_EMIT catalogChanged();
}

QStringList RewardsModel::categories() {
    QStringList labels;
    for (RewardCategoryFilter filter : categoryOrder)
        labels << displayName(filter);
    return labels;
}

bool RewardsModel::isSignedIn() const {
    const std::optional<QString> user = userId_();
    return user && !user->isEmpty();
}

QString RewardsModel::levelText() const {
    return level_ ? RewardCardText::level(level_->currentLevel) : QString();
}

QString RewardsModel::creditsText() const {
    return loaded_ ? RewardCardText::credits(balance_) : QString();
}

QVariantList RewardsModel::catalog() const {
    const RewardCategoryFilter filter = categoryOrder.at(categoryIndex_);
    const int level = level_ ? level_->currentLevel : 0;
    QVariantList cards;
    for (const RewardCatalogItem& item : catalog_) {
        if (!matches(filter, item.category))
            continue;
        const RewardButtonState button =
            RewardButtonState::forItem(item, balance_, level, item.rewardId == purchasingId_);
        cards << QVariantMap{{QStringLiteral("rewardId"), item.rewardId},
                             {QStringLiteral("name"), item.name},
                             {QStringLiteral("description"), item.description.value_or(QString())},
                             {QStringLiteral("lines"), RewardCardText::catalogLines(item)},
                             {QStringLiteral("buttonLabel"), button.label},
                             {QStringLiteral("buttonEnabled"), button.enabled},
                             {QStringLiteral("buttonHint"), button.hint}};
    }
    return cards;
}

QVariantList RewardsModel::owned() const {
    QVariantList cards;
    for (const UserRewardItem& reward : owned_) {
        const RewardFulfillmentData data = reward.fulfillmentData.value_or(RewardFulfillmentData{});
        const RewardKind kind = reward.kind();
        const QString audioUrl = data.audioUrl.value_or(QString());
        const QString lyrics = data.lyrics.value_or(QString());
        const QString mnemonic = data.mnemonic.value_or(QString());
        const bool available = reward.fulfillmentStatus == QLatin1String("available");
        // A song whose job was started but has no audio yet is still being made.
        const bool composing = kind == RewardKind::song && audioUrl.isEmpty() && data.songId.has_value();
        QString note;
        if (kind == RewardKind::song && composing)
            note = QStringLiteral("Generating audio… check back in a minute.");
        else if (kind == RewardKind::lyrics && lyrics.isEmpty())
            note = QStringLiteral("Pick a document and choose Write Lyrics.");
        else if (kind == RewardKind::other)
            note = RewardEffectText::cardNote(reward, async::Clock::current().now());
        const QString name = reward.rewardName.value_or(RewardCardText::kindLabel(kind));
        cards << QVariantMap{
            {QStringLiteral("userRewardId"), reward.userRewardId},
            {QStringLiteral("name"), name},
            {QStringLiteral("kind"), kindName(kind)},
            {QStringLiteral("kindLabel"), RewardCardText::kindLabel(kind)},
            {QStringLiteral("rewardType"), reward.rewardType.value_or(QString())},
            {QStringLiteral("status"), RewardCardText::status(reward.fulfillmentStatus)},
            {QStringLiteral("usesLeft"), RewardCardText::usesLeft(reward)},
            {QStringLiteral("note"), note},
            {QStringLiteral("canGenerate"),
             available && !composing && (kind == RewardKind::song || kind == RewardKind::mnemonic)},
            {QStringLiteral("canWriteLyrics"), available && kind == RewardKind::lyrics && lyrics.isEmpty()},
            {QStringLiteral("audioUrl"), audioUrl},
            {QStringLiteral("title"), data.title.value_or(name)},
            {QStringLiteral("lyrics"), lyrics},
            {QStringLiteral("lyricsLines"), LyricsDisplay::lines(lyrics)},
            {QStringLiteral("lyricsSpoken"), LyricsDisplay::spokenText(lyrics)},
            {QStringLiteral("mnemonic"), mnemonic},
            {QStringLiteral("explanation"), data.explanation.value_or(QString())},
            {QStringLiteral("documentId"), data.documentId.value_or(QString())}};
    }
    return cards;
}

void RewardsModel::load() {
    const std::optional<QString> user = userId_();
    if (!user || user->isEmpty()) {
        setError(signedOutText);
        return;
    }
    if (loading_)
        return;
    loading_ = tasks_.spawn(
        fetch(client_, *user),
        [this](Snapshot snapshot) {
            loading_ = 0;
            loaded_ = true;
            balance_ = snapshot.balance;
            level_ = snapshot.level;
            catalog_ = std::move(snapshot.catalog);
            owned_ = std::move(snapshot.owned);
            documents_ = std::move(snapshot.documents);
            tellAppearance();
            errorMessage_.clear();
            Q_EMIT stateChanged();
            Q_EMIT catalogChanged();
        },
        [this](std::exception_ptr) {
            loading_ = 0;
            setError(loadFailedText);
        });
    Q_EMIT stateChanged();
}

async::Task<RewardsModel::Snapshot> RewardsModel::fetch(APIClient client, QString userId) {
    const GamificationAPI gamification(client);
    Snapshot snapshot;
    snapshot.balance = (co_await gamification.creditsBalance(userId)).totalPoints;
    snapshot.level = co_await gamification.level(userId);
    snapshot.catalog = co_await gamification.catalog();
    snapshot.owned = co_await gamification.purchasedRewards(userId);
    // The documents are needed only to write lyrics with.
    const bool writesLyrics =
        std::any_of(snapshot.owned.cbegin(), snapshot.owned.cend(), [](const auto& reward) {
            return reward.kind() == RewardKind::lyrics &&
                   reward.fulfillmentStatus == QLatin1String("available");
        });
    // Without them the rest of the screen still shows; the picker then offers none.
    if (writesLyrics) {
        try {
            snapshot.documents = (co_await UserAPI(client).bootstrap()).documents;
        } catch (...) {
        }
    }
    co_return snapshot;
}

void RewardsModel::purchase(const QString& rewardId) {
    const std::optional<QString> user = userId_();
    if (!user || user->isEmpty()) {
        setError(signedOutText);
        return;
    }
    if (!purchasingId_.isEmpty())
        return;
    const auto item = std::find_if(catalog_.cbegin(), catalog_.cend(),
                                   [&](const RewardCatalogItem& i) { return i.rewardId == rewardId; });
    if (item == catalog_.cend())
        return;
    const QString name = item->name;
    purchasingId_ = rewardId;
    Q_EMIT catalogChanged();
    tasks_.spawn(
        buy(gamification_, PurchaseRewardRequest{*user, rewardId}),
        [this, name, user = *user](PurchaseRewardResponse response) {
            purchasingId_.clear();
            if (response.creditsRemaining)
                balance_ = *response.creditsRemaining;
            errorMessage_.clear();
            Q_EMIT stateChanged();
            Q_EMIT catalogChanged();
            setToast(QStringLiteral("Purchased ") + name);
            Q_EMIT celebrate();
            if (context_)
                Q_EMIT context_->rewardsChanged();
            refreshOwned(user);
        },
        [this](std::exception_ptr error) {
            purchasingId_.clear();
            Q_EMIT catalogChanged();
            setError(QStringLiteral("Purchase failed: ") + FailureMessage::description(error));
        });
}

async::Task<PurchaseRewardResponse> RewardsModel::buy(GamificationAPI gamification,
                                                      PurchaseRewardRequest request) {
    co_return co_await gamification.purchase(request);
}

void RewardsModel::refreshOwned(const QString& userId) {
    // The purchase went through whatever this answers; a failure leaves the old list.
    tasks_.spawn(
        ownedRewards(gamification_, userId),
        [this](QList<UserRewardItem> owned) {
            owned_ = std::move(owned);
            tellAppearance();
            Q_EMIT stateChanged();
        },
        [](std::exception_ptr) {});
}

async::Task<QList<UserRewardItem>> RewardsModel::ownedRewards(GamificationAPI gamification, QString userId) {
    co_return co_await gamification.purchasedRewards(userId);
}

QString RewardsModel::boostText() const {
    return RewardEffectText::doubleXpHeader(owned_, async::Clock::current().now());
}

QString RewardsModel::premiumText() const {
    return RewardEffectText::premiumHeader(owned_, async::Clock::current().now());
}

QVariantList RewardsModel::documents() const {
    QVariantList list;
    for (const DocumentItem& document : documents_) {
        if (document.processingState() != DocumentItem::ProcessingState::ready)
            continue;
        list << QVariantMap{
            {QStringLiteral("id"), document.id},
            {QStringLiteral("title"), document.title.value_or(document.filename.value_or(document.id))}};
    }
    return list;
}

void RewardsModel::writeLyrics(const QString& userRewardId, const QString& documentId) {
    const std::optional<QString> user = userId_();
    if (!user || user->isEmpty()) {
        setError(signedOutText);
        return;
    }
    if (!writingLyricsId_.isEmpty())
        return;
    writingLyricsId_ = userRewardId;
    errorMessage_.clear();
    Q_EMIT stateChanged();
    UseLyricsRewardRequest request{*user, userRewardId,
                                   documentId.isEmpty() ? std::nullopt : std::optional<QString>(documentId)};
    tasks_.spawn(
        lyricsFor(gamification_, request),
        [this, user = *user](LyricsRewardResult) {
            writingLyricsId_.clear();
            Q_EMIT stateChanged();
            refreshOwned(user);
        },
        [this](std::exception_ptr error) {
            writingLyricsId_.clear();
            setError(QStringLiteral("Couldn't write lyrics: ") + FailureMessage::description(error));
        });
}

async::Task<LyricsRewardResult> RewardsModel::lyricsFor(GamificationAPI gamification,
                                                        UseLyricsRewardRequest request) {
    co_return co_await gamification.writeLyrics(request);
}

void RewardsModel::dismissToast() {
    setToast({});
}

void RewardsModel::setError(const QString& message) {
    errorMessage_ = message;
    Q_EMIT stateChanged();
}

void RewardsModel::setToast(const QString& text) {
    if (toastTimer_)
        async::Clock::current().cancel(toastTimer_);
    toastTimer_ = 0;
    if (!text.isEmpty())
        toastTimer_ = async::Clock::current().schedule(toastDuration, [this] {
            toastTimer_ = 0;
            setToast({});
        });
    if (text == toast_)
        return;
    toast_ = text;
    Q_EMIT toastChanged();
}

void RewardsModel::setContext(AppContext* context) {
    if (context == context_)
        return;
    context_ = context;
    Q_EMIT contextChanged();
}
