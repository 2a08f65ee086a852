#pragma once

#include "Focus/FocusNotificationScheduler.h"
#include "TaskScope.h"

class NotificationManager;

// The focus timer's notifications through the app's notification manager, and so through the
// notifier agent: they fire when Orbelo has been closed. Each change replaces the pending request;
// when changes overlap, only the latest schedules, so at most one stays pending.
class ManagerFocusNotifications final : public FocusNotificationScheduler {
public:
    explicit ManagerFocusNotifications(NotificationManager& manager, QObject* parent = nullptr);

    void schedule(const QString& title, const QString& body, const QDateTime& fireDate) override;
    void cancelAll() override;
    bool notificationsDenied() const override;

private:
    async::Task<void> replace(quint64 change, QString title, QString body, QDateTime fireDate);
    void run(async::Task<void> task);

    NotificationManager& manager_;
    quint64 change_ = 0;
    async::TaskScope tasks_;
};
