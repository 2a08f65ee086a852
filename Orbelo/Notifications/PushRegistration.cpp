#include "Notifications/PushRegistration.h"

#include "AppInfo.h"
#include "NotificationManager.h"
#include "Notifications/NotificationsAPI.h"

PushRegistration::PushRegistration(NotificationManager& manager, MakeClient makeClient, QString origin,
                                   QString certificatePem, QObject* parent)
    : QObject(parent), manager_(manager), makeClient_(std::move(makeClient)), origin_(std::move(origin)),
      certificatePem_(std::move(certificatePem)) {
    connect(&manager, &NotificationManager::pushTokenRegistered, this, [this](const QString& token) {
        if (!userId_)
            return;
        tasks_.cancel(registering_);
        registering_ = tasks_.spawn(registerDevice(this, token));
    });
}

PushRegistration::~PushRegistration() = default;

void PushRegistration::update(const std::optional<QString>& userId) {
    if (userId == userId_)
        return;
    const bool signedOut = userId_ && !userId;
    userId_ = userId;
    tasks_.cancel(registering_);
    if (signedOut)
        manager_.stopRemotePush();
    else if (userId)
        manager_.runRegistrationCheck();
}

async::Task<void> PushRegistration::registerDevice(PushRegistration* self, QString token) {
    DeviceRegistrationRequest request;
    request.deviceToken = token;
    request.platform = platform;
    if (const QString version = AppInfo::version(); !version.isEmpty())
        request.appVersion = version;
    try {
        co_await NotificationsAPI(self->makeClient_()).registerDevice(request);
    } catch (...) {
        // Dropped: the next registration check tries again. The agent still starts its stream,
        // which the server refuses until the device is registered.
    }
    self->manager_.startRemotePush(self->origin_, self->certificatePem_);
}
