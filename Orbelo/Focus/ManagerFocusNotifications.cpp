#include "Focus/ManagerFocusNotifications.h"

#include "Logging.h"
#include "NotificationManager.h"

ManagerFocusNotifications::ManagerFocusNotifications(NotificationManager& manager, QObject* parent)
    : FocusNotificationScheduler(parent), manager_(manager) {
    connect(&manager_, &NotificationManager::authorizationStatusChanged, this,
            &FocusNotificationScheduler::notificationsDeniedChanged);
}

void ManagerFocusNotifications::schedule(const QString& title, const QString& body,
                                         const QDateTime& fireDate) {
    run(replace(++change_, title, body, fireDate));
}

void ManagerFocusNotifications::cancelAll() {
    ++change_;
    run(manager_.cancelFocusTimerNotifications());
}

bool ManagerFocusNotifications::notificationsDenied() const {
    return manager_.authorizationStatus() == NotificationManager::AuthorizationStatus::denied;
}

async::Task<void> ManagerFocusNotifications::replace(quint64 change, QString title, QString body,
                                                     QDateTime fireDate) {
    co_await manager_.cancelFocusTimerNotifications();
    // The agent takes calls in the order they were sent, so a later change's removal always
    // follows this request; only a change that is still the latest need add its own.
    if (change == change_)
        co_await manager_.scheduleFocusTimerNotification(std::move(title), std::move(body),
                                                         std::move(fireDate));
}

void ManagerFocusNotifications::run(async::Task<void> task) {
    // The timer never depends on its notification: a failure is only logged.
    tasks_.spawn(std::move(task), async::TaskScope::ErrorHandler([](std::exception_ptr error) {
                     try {
                         std::rethrow_exception(error);
                     } catch (const std::exception& e) {
                         qCWarning(lcFocus) << "focus timer notification not updated:" << e.what();
                     }
                 }));
}
