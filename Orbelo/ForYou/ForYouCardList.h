#pragma once

// moc needs a Qt header before <coroutine>.
#include <QAbstractListModel>

#include "APIClient.h"
#include "ForYou/CardLikeState.h"
#include "ForYou/ForYouFeedItem.h"
#include "TaskScope.h"

#include <QSet>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

// The cards a feed shows, as a list the screens bind to, with each card's like state. The heart
// turns at once; the card then takes what the backend answers, or goes back to how it was before
// the tap when the request fails. A card whose like is on its way ignores further taps.
class ForYouCardList : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Each feed model owns its cards.")
    // The last like that failed, as one line; cleared by the next tap.
    Q_PROPERTY(QString likeErrorMessage READ likeErrorMessage NOTIFY likeErrorMessageChanged)
public:
    enum Role {
        CardIdRole = Qt::UserRole + 1,
        TitleRole,
        BodyRole,
        TopicRole,
        DifficultyTextRole,
        IsCommunityRole,
        AuthorTextRole,
        LikedRole,
        LikesTextRole,
        LikeInFlightRole,
        LikeAccessibleNameRole,
        MnemonicRole,
        VideoUrlRole,
        ReadAloudTextRole,
    };
    Q_ENUM(Role)

    explicit ForYouCardList(APIClient client, QObject* parent = nullptr);

    // New cards, each with the backend's like count and not liked by the user (the feed does not
    // say). Likes still on their way keep their cards' hearts from being tapped again.
    void reset(const QList<ForYouFeedItem>& items);
    int size() const { return int(items_.size()); }
    const ForYouFeedItem& item(int row) const { return items_.at(row); }
    CardLikeState likeState(int row) const;
    // Every role of a row by its name, for a screen that shows one card at a time.
    QVariantMap card(int row) const;
    QString likeErrorMessage() const { return likeErrorMessage_; }

    // Likes the card, or unlikes it when the user already likes it.
    Q_INVOKABLE void toggleLike(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void likeErrorMessageChanged();

private:
    static async::Task<void> sendLike(ForYouCardList* self, QString cardId, QString conceptId,
                                      CardLikeState before);
    // Sets the like state of every row showing the card.
    void setLike(const QString& cardId, bool liked, int likesCount);
    void setLikeErrorMessage(const QString& message);

    APIClient client_;
    QList<ForYouFeedItem> items_;
    QList<CardLikeState> likes_;  // by row; inFlight comes from likesInFlight_
    QSet<QString> likesInFlight_; // card ids
    QString likeErrorMessage_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
