#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>
#include <QPointer>

#include "Clock.h"
#include "Documents/DocumentItem.h"
#include "Gamification/GamificationAPI.h"
#include "Gamification/RewardCategoryFilter.h"
#include "TaskScope.h"

#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>
#include <optional>

class AppContext;
class Appearance;

// The Rewards screen: the level and credit balance, the marketplace (filtered by category) with
// purchasing, and the rewards the user owns with what each kind offers. Failures are shown as one
// line and leave the last good data on screen.
class RewardsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int segment READ segment WRITE setSegment NOTIFY segmentChanged)
    Q_PROPERTY(QStringList segments READ segments CONSTANT)
    Q_PROPERTY(int categoryIndex READ categoryIndex WRITE setCategoryIndex NOTIFY categoryChanged)
    Q_PROPERTY(QStringList categories READ categories CONSTANT)
    Q_PROPERTY(bool isSignedIn READ isSignedIn NOTIFY stateChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY stateChanged)
    Q_PROPERTY(bool hasLoaded READ hasLoaded NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
    Q_PROPERTY(QString levelText READ levelText NOTIFY stateChanged)
    Q_PROPERTY(QString creditsText READ creditsText NOTIFY stateChanged)
    Q_PROPERTY(QVariantList catalog READ catalog NOTIFY catalogChanged)
    Q_PROPERTY(QVariantList owned READ owned NOTIFY stateChanged)
    Q_PROPERTY(QString purchasingId READ purchasingId NOTIFY catalogChanged)
    Q_PROPERTY(QString toast READ toast NOTIFY toastChanged)
    // "Double XP until 14:05" and "Premium Week until Tue 09:30" while they are on.
    Q_PROPERTY(QString boostText READ boostText NOTIFY stateChanged)
    Q_PROPERTY(QString premiumText READ premiumText NOTIFY stateChanged)
    // The processed documents lyrics can be written from: {id, title}.
    Q_PROPERTY(QVariantList documents READ documents NOTIFY stateChanged)
    Q_PROPERTY(QString writingLyricsId READ writingLyricsId NOTIFY stateChanged)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
    // The Appearance told whether Night Owl is owned each time the owned rewards arrive (QML: the
    // singleton). Anything but an Appearance counts as none, and then no one is told.
    Q_PROPERTY(QObject* appearance READ appearance WRITE setAppearance)
public:
    enum Segment { marketplace, myRewards };
    Q_ENUM(Segment)
    using UserIdSource = std::function<std::optional<QString>()>;

    static inline const QString signedOutText = QStringLiteral("Sign in to view your rewards.");
    static inline const QString loadFailedText =
        QStringLiteral("Couldn't reach the rewards service. Choose Refresh (Ctrl+R) to try again.");
    // How long "Purchased …" stays up.
    static constexpr std::chrono::seconds toastDuration{3};

    // The app's backend client and the signed-in user.
    explicit RewardsModel(QObject* parent = nullptr);
    RewardsModel(APIClient client, UserIdSource userId, QObject* parent = nullptr);
    ~RewardsModel() override;

    QObject* appearance() const;
    void setAppearance(QObject* appearance);
    int segment() const { return segment_; }
    void setSegment(int segment);
    static QStringList segments() { return {QStringLiteral("Marketplace"), QStringLiteral("My Rewards")}; }
    int categoryIndex() const { return categoryIndex_; }
    void setCategoryIndex(int index);
    static QStringList categories();
    bool isSignedIn() const;
    bool isLoading() const { return loading_ != 0; }
    bool hasLoaded() const { return loaded_; }
    const QString& errorMessage() const { return errorMessage_; }
    QString levelText() const;
    QString creditsText() const;
    qint64 balance() const { return balance_; }
    // The marketplace cards of the chosen category: id, name, description, lines and the button.
    QVariantList catalog() const;
    // The owned cards: id, name, kind, labels, uses left, and what the kind shows and offers.
    QVariantList owned() const;
    const QString& purchasingId() const { return purchasingId_; }
    const QString& toast() const { return toast_; }
    QString boostText() const;
    QString premiumText() const;
    QVariantList documents() const;
    const QString& writingLyricsId() const { return writingLyricsId_; }

    Q_INVOKABLE void load();
    // Spends the lyrics reward on lyrics from `documentId` (empty: the backend's choice).
    Q_INVOKABLE void writeLyrics(const QString& userRewardId, const QString& documentId);
    // Buys the item unless a purchase of it is already under way.
    Q_INVOKABLE void purchase(const QString& rewardId);
    Q_INVOKABLE void dismissToast();
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();
    void segmentChanged();
    void categoryChanged();
    void stateChanged();
    void catalogChanged();
    void toastChanged();
    // A purchase went through: the screen bursts confetti.
    void celebrate();

private:
    struct Snapshot {
        qint64 balance = 0;
        UserLevelResponse level;
        QList<RewardCatalogItem> catalog;
        QList<UserRewardItem> owned;
        QList<DocumentItem> documents;
    };
    static async::Task<Snapshot> fetch(APIClient client, QString userId);
    static async::Task<PurchaseRewardResponse> buy(GamificationAPI gamification,
                                                   PurchaseRewardRequest request);
    static async::Task<LyricsRewardResult> lyricsFor(GamificationAPI gamification,
                                                     UseLyricsRewardRequest request);
    static async::Task<QList<UserRewardItem>> ownedRewards(GamificationAPI gamification, QString userId);
    void refreshOwned(const QString& userId);
    void tellAppearance();
    void setError(const QString& message);
    void setToast(const QString& text);

    APIClient client_;
    GamificationAPI gamification_;
    UserIdSource userId_;
    int segment_ = marketplace;
    int categoryIndex_ = 0;
    bool loaded_ = false;
    QString errorMessage_;
    qint64 balance_ = 0;
    std::optional<UserLevelResponse> level_;
    QList<RewardCatalogItem> catalog_;
    QList<UserRewardItem> owned_;
    QList<DocumentItem> documents_;
    QString purchasingId_;
    QString writingLyricsId_;
    QString toast_;
    QPointer<Appearance> appearance_;
    async::Clock::TimerId toastTimer_ = 0;
    async::TaskScope::TaskId loading_ = 0;
    QPointer<AppContext> context_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
