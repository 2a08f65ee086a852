#include "ForYou/ForYouCardList.h"

#include "Common/FailureMessage.h"
#include "ForYou/ForYouAPI.h"
#include "ForYou/ForYouCardText.h"

ForYouCardList::ForYouCardList(APIClient client, QObject* parent)
    : QAbstractListModel(parent), client_(std::move(client)) {}

void ForYouCardList::reset(const QList<ForYouFeedItem>& items) {
    beginResetModel();
    items_ = items;
    likes_.clear();
    for (const ForYouFeedItem& item : items_)
        likes_ << CardLikeState{false, item.likesCount.value_or(0), false};
    endResetModel();
}

CardLikeState ForYouCardList::likeState(int row) const {
    CardLikeState state = likes_.at(row);
    state.inFlight = likesInFlight_.contains(items_.at(row).cardId);
    return state;
}

void ForYouCardList::toggleLike(int row) {
    if (row < 0 || row >= size() || likesInFlight_.contains(items_.at(row).cardId))
        return;
    const ForYouFeedItem& item = items_.at(row);
    const CardLikeState before = likeState(row);
    setLikeErrorMessage({});
    likesInFlight_.insert(item.cardId);
    const CardLikeState shown = before.tapped();
    setLike(item.cardId, shown.liked, shown.likesCount);
    tasks_.spawn(sendLike(this, item.cardId, item.conceptId, before));
}

async::Task<void> ForYouCardList::sendLike(ForYouCardList* self, QString cardId, QString conceptId,
                                           CardLikeState before) {
    const ForYouAPI api(self->client_);
    try {
        CardLikeResponse reply;
        if (before.liked)
            reply = co_await api.unlike(cardId, conceptId);
        else
            reply = co_await api.like(cardId, conceptId);
        self->likesInFlight_.remove(cardId);
        self->setLike(cardId, reply.liked, reply.likesCount);
    } catch (...) {
        self->likesInFlight_.remove(cardId);
        self->setLike(cardId, before.liked, before.likesCount);
        self->setLikeErrorMessage(FailureMessage::compose(before.liked
                                                              ? QStringLiteral("Couldn't unlike this card")
                                                              : QStringLiteral("Couldn't like this card"),
                                                          std::current_exception()));
    }
}

void ForYouCardList::setLike(const QString& cardId, bool liked, int likesCount) {
    for (int row = 0; row < size(); ++row) {
        if (items_.at(row).cardId != cardId)
            continue;
        likes_[row].liked = liked;
        likes_[row].likesCount = likesCount;
        const QModelIndex changed = index(row);
        Q_EMIT dataChanged(changed, changed,
                           {LikedRole, LikesTextRole, LikeInFlightRole, LikeAccessibleNameRole});
    }
}

void ForYouCardList::setLikeErrorMessage(const QString& message) {
    if (message == likeErrorMessage_)
        return;
    likeErrorMessage_ = message;
    Q_EMIT likeErrorMessageChanged();
}

int ForYouCardList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : size();
}

QVariant ForYouCardList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= size())
        return {};
    const ForYouFeedItem& item = items_.at(index.row());
    switch (Role(role)) {
    case CardIdRole:
        return item.cardId;
    case TitleRole:
        return item.title;
    case BodyRole:
        return item.body;
    case TopicRole:
        return item.topic.value_or(QString());
    case DifficultyTextRole:
        return QStringLiteral("Difficulty: ") + ForYouCardText::difficultyLabel(item.difficultyTier);
    case IsCommunityRole:
        return ForYouCardText::isCommunity(item);
    case AuthorTextRole:
        return ForYouCardText::isCommunity(item) && item.authorName && !item.authorName->isEmpty()
                   ? QStringLiteral("Authored by ") + *item.authorName
                   : QString();
    case LikedRole:
        return likes_.at(index.row()).liked;
    case LikesTextRole:
        return ForYouCardText::likesText(likes_.at(index.row()).likesCount);
    case LikeInFlightRole:
        return likesInFlight_.contains(item.cardId);
    case LikeAccessibleNameRole:
        return ForYouCardText::likeAccessibleName(likes_.at(index.row()));
    case MnemonicRole:
        return item.mnemonicHtml.value_or(QString());
    case VideoUrlRole:
        return ForYouCardText::videoUrl(item).toString();
    case ReadAloudTextRole:
        return ForYouCardText::readAloudText(item);
    }
    return {};
}

QHash<int, QByteArray> ForYouCardList::roleNames() const {
    return {{CardIdRole, "cardId"},
            {TitleRole, "title"},
            {BodyRole, "body"},
            {TopicRole, "topic"},
            {DifficultyTextRole, "difficultyText"},
            {IsCommunityRole, "isCommunity"},
            {AuthorTextRole, "authorText"},
            {LikedRole, "liked"},
            {LikesTextRole, "likesText"},
            {LikeInFlightRole, "likeInFlight"},
            {LikeAccessibleNameRole, "likeAccessibleName"},
            {MnemonicRole, "mnemonic"},
            {VideoUrlRole, "videoUrl"},
            {ReadAloudTextRole, "readAloudText"}};
}

QVariantMap ForYouCardList::card(int row) const {
    QVariantMap map;
    if (row < 0 || row >= size())
        return map;
    const QHash<int, QByteArray> names = roleNames();
    for (auto it = names.begin(); it != names.end(); ++it)
        map.insert(QString::fromLatin1(it.value()), data(index(row), it.key()));
    return map;
}
