#include "ForYou/ForYouFeedModel.h"

#include "Auth/AuthSession.h"
#include "Common/FailureMessage.h"
#include "ForYou/ForYouAPI.h"

ForYouFeedModel::ForYouFeedModel(QObject* parent) : ForYouFeedModel(AuthSession::makeAPIClient(), parent) {}

ForYouFeedModel::ForYouFeedModel(APIClient client, QObject* parent)
    : QObject(parent), client_(client), cards_(std::move(client)) {}

void ForYouFeedModel::load() {
    if (isLoading_)
        return;
    tasks_.spawn(reload(this));
}

async::Task<void> ForYouFeedModel::reload(ForYouFeedModel* self) {
    self->setLoading(true);
    self->setErrorMessage({});
    QList<ForYouFeedItem> items;
    try {
        const ForYouAPI api(self->client_);
        const ForYouFeedResponse feed = co_await api.feed(ForYouAPI::feedScreenLimit);
        items = feed.items;
        self->loaded_ = true;
    } catch (...) {
        self->loaded_ = false;
        self->setErrorMessage(
            FailureMessage::compose(QStringLiteral("Couldn't load your feed"), std::current_exception()));
    }
    self->cards_.reset(items);
    Q_EMIT self->cardsChanged();
    self->setLoading(false);
}

void ForYouFeedModel::setLoading(bool loading) {
    if (loading == isLoading_)
        return;
    isLoading_ = loading;
    Q_EMIT isLoadingChanged();
}

void ForYouFeedModel::setErrorMessage(const QString& message) {
    if (message == errorMessage_)
        return;
    errorMessage_ = message;
    Q_EMIT errorMessageChanged();
}
