#pragma once

#include "LocalNotificationRequest.h"
#include "Task.h"

#include <QList>

// The notification agent (orbelo-notifier) as the app uses it. Every operation throws
// NotificationError when the agent refuses it or cannot be reached.
class NotifierClient {
public:
    virtual ~NotifierClient() = default;

    // Replaces a pending request with the same identifier.
    virtual async::Task<void> add(LocalNotificationRequest request) = 0;
    // How many pending requests had an identifier beginning with `prefix`.
    virtual async::Task<uint> removeByPrefix(QString prefix) = 0;
    // Ordered by identifier.
    virtual async::Task<QList<LocalNotificationRequest>> listPending() = 0;

    // This device's push token as text (64 lower-case hexadecimal digits), made on first demand.
    virtual async::Task<QString> deviceToken() = 0;
    // Holds the push stream of `origin` open until stopPush, trusting `certificatePem` (PEM text;
    // empty for none) besides the system's certificates.
    virtual async::Task<void> startPush(QString origin, QString certificatePem) = 0;
    // Closes the stream and forgets the device token.
    virtual async::Task<void> stopPush() = 0;
};
