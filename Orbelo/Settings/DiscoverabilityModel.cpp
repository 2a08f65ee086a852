#include "Settings/DiscoverabilityModel.h"

#include "Auth/AuthSession.h"
#include "Common/FailureMessage.h"
#include "NetworkDirectory/NetworkDirectoryAPI.h"

DiscoverabilityModel::DiscoverabilityModel(QObject* parent)
    : DiscoverabilityModel(AuthSession::makeAPIClient(), parent) {}

DiscoverabilityModel::DiscoverabilityModel(APIClient client, QObject* parent)
    : QObject(parent), client_(std::move(client)) {}

void DiscoverabilityModel::load() {
    if (isUpdating_)
        return;
    tasks_.cancel(loadTask_);
    loadTask_ = tasks_.spawn(read(this), async::TaskScope::ErrorHandler([this](std::exception_ptr) {
                                 errorMessage_ = QStringLiteral("Couldn't load your directory setting.");
                                 Q_EMIT changed();
                             }));
}

async::Task<void> DiscoverabilityModel::read(DiscoverabilityModel* self) {
    const NetworkDirectoryAPI api(self->client_);
    const DiscoverabilityStatusResponse status = co_await api.discoverability();
    self->discoverable_ = status.isSchoolDiscoverable;
    self->hasUniversity_ = status.hasUniversity;
    self->isLoaded_ = true;
    self->errorMessage_.clear();
    Q_EMIT self->changed();
}

void DiscoverabilityModel::setDiscoverable(bool enabled) {
    if (isUpdating_ || enabled == discoverable_)
        return;
    // A read still on its way would overwrite the new state with the old one.
    tasks_.cancel(loadTask_);
    const bool previous = discoverable_;
    discoverable_ = enabled;
    isUpdating_ = true;
    errorMessage_.clear();
    Q_EMIT changed();
    tasks_.spawn(write(this, enabled), async::TaskScope::ErrorHandler([this, previous](std::exception_ptr e) {
                     discoverable_ = previous;
                     isUpdating_ = false;
                     errorMessage_ =
                         FailureMessage::compose(QStringLiteral("Couldn't change your directory setting"), e);
                     Q_EMIT changed();
                 }));
}

async::Task<void> DiscoverabilityModel::write(DiscoverabilityModel* self, bool enabled) {
    const NetworkDirectoryAPI api(self->client_);
    const SetDiscoverabilityResponse answer = co_await api.setDiscoverability(enabled);
    self->discoverable_ = answer.isSchoolDiscoverable;
    self->isUpdating_ = false;
    Q_EMIT self->changed();
}
