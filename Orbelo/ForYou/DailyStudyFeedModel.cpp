#include "ForYou/DailyStudyFeedModel.h"

#include "Auth/AuthSession.h"
#include "Common/FailureMessage.h"
#include "ForYou/ForYouAPI.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDailyFeed, "com.orbelo.desktop.DailyStudyFeed")

DailyStudyFeedModel::DailyStudyFeedModel(QObject* parent)
    : DailyStudyFeedModel(AuthSession::makeAPIClient(), parent) {}

DailyStudyFeedModel::DailyStudyFeedModel(APIClient client, QObject* parent)
    : QObject(parent), client_(client), cards_(std::move(client)) {
    // The heart of the card shown changes in the list; the card the screen reads follows it.
    connect(&cards_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (first.row() <= index_ && index_ <= last.row())
                    Q_EMIT currentCardChanged();
            });
}

QString DailyStudyFeedModel::positionText() const {
    if (index_ >= cards_.size())
        return {};
    return QStringLiteral("Card %1 of %2").arg(index_ + 1).arg(cards_.size());
}

QString DailyStudyFeedModel::advanceText() const {
    return isLastCard() ? QStringLiteral("Finish session") : QStringLiteral("Got it, next card");
}

void DailyStudyFeedModel::load() {
    if (isLoading_)
        return;
    tasks_.spawn(reload(this));
}

async::Task<void> DailyStudyFeedModel::reload(DailyStudyFeedModel* self) {
    self->setLoading(true);
    self->setErrorMessage({});
    QList<ForYouFeedItem> items;
    try {
        const ForYouAPI api(self->client_);
        const ForYouFeedResponse feed = co_await api.feed(ForYouAPI::homeLimit);
        items = feed.items;
        self->loaded_ = true;
    } catch (...) {
        self->loaded_ = false;
        self->setErrorMessage(
            FailureMessage::compose(QStringLiteral("Couldn't load today's cards"), std::current_exception()));
    }
    self->cards_.reset(items);
    self->index_ = 0;
    Q_EMIT self->positionChanged();
    Q_EMIT self->currentCardChanged();
    self->setLoading(false);
}

void DailyStudyFeedModel::gotIt() {
    leave(engagedEvent);
}

void DailyStudyFeedModel::skip() {
    leave(skippedEvent);
}

void DailyStudyFeedModel::toggleLike() {
    cards_.toggleLike(index_);
}

void DailyStudyFeedModel::leave(const QString& eventType) {
    if (index_ >= cards_.size())
        return;
    const ForYouFeedItem& item = cards_.item(index_);
    events_.enqueue(ForYouEventCreate{item.cardId, item.conceptId, eventType});
    ++index_;
    Q_EMIT positionChanged();
    Q_EMIT currentCardChanged();
    if (!sendingEvents_) {
        sendingEvents_ = true;
        tasks_.spawn(sendEvents(this));
    }
}

async::Task<void> DailyStudyFeedModel::sendEvents(DailyStudyFeedModel* self) {
    const ForYouAPI api(self->client_);
    while (!self->events_.isEmpty()) {
        const ForYouEventCreate event = self->events_.dequeue();
        try {
            co_await api.reportEvent(event);
        } catch (...) {
            qCWarning(lcDailyFeed, "a feed card's %s event was not recorded",
                      qUtf8Printable(event.eventType));
        }
    }
    self->sendingEvents_ = false;
}

void DailyStudyFeedModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}

void DailyStudyFeedModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
