#include "Notifications/NotificationsModel.h"

#include "Auth/AuthSession.h"
#include "Common/AppContext.h"
#include "Common/FailureMessage.h"
#include "Notifications/NotificationOpening.h"
#include "Notifications/NotificationsBadge.h"
#include "Shell/NotificationRouting.h"

#include <QTimer>

NotificationsModel::NotificationsModel(QObject* parent)
    : NotificationsModel(AuthSession::makeAPIClient(), &NotificationsBadge::shared(), parent) {}

NotificationsModel::NotificationsModel(APIClient client, NotificationsBadge* badge, QObject* parent)
    : QObject(parent), api_(std::move(client)), badge_(badge) {}

bool NotificationsModel::hasUnread() const {
    return std::any_of(rows_.notifications().cbegin(), rows_.notifications().cend(),
                       [](const AppNotification& notification) { return !notification.isRead; });
}

void NotificationsModel::load() {
    if (tasks_.isRunning(loading_))
        return;
    isLoading_ = true;
    errorMessage_.clear();
    Q_EMIT stateChanged();
    loading_ = tasks_.spawn(fetch(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                                isLoading_ = false;
                                fail(QStringLiteral("Couldn't load notifications"), error);
                            }));
}

async::Task<void> NotificationsModel::fetch(NotificationsModel* self) {
    const NotificationsResponse response = co_await self->api_.notifications(pageSize);
    self->rows_.setNotifications(response.notifications);
    self->isLoading_ = false;
    self->loaded_ = true;
    Q_EMIT self->stateChanged();
}

void NotificationsModel::markAllRead() {
    tasks_.spawn(markEveryRead(this), async::TaskScope::ErrorHandler([this](std::exception_ptr error) {
                     fail(QStringLiteral("Couldn't mark your notifications read"), error);
                 }));
}

async::Task<void> NotificationsModel::markEveryRead(NotificationsModel* self) {
    co_await self->api_.markAllRead();
    self->rows_.markAllRead();
    Q_EMIT self->stateChanged();
    self->refreshBadge();
}

void NotificationsModel::open(int row) {
    if (row < 0 || row >= rows_.rowCount() || tasks_.isRunning(opening_))
        return;
    opening_ = tasks_.spawn(openNotification(this, rows_.notifications().at(row)));
}

async::Task<void> NotificationsModel::openNotification(NotificationsModel* self,
                                                       AppNotification notification) {
    if (co_await NotificationOpening::markReadIfUnread(self->api_, notification)) {
        self->rows_.markRead(notification.id);
        Q_EMIT self->stateChanged();
        self->refreshBadge();
    }
    const NotificationDestination destination = NotificationRouting::destination(notification);
    // Routing changes the shell's tab, which may remove this list (and this task) at once: it
    // runs after the task has ended, and only while the list is still there.
    QTimer::singleShot(0, self, [self, destination] {
        Q_EMIT self->opened();
        if (self->context_)
            NotificationRouting::post(*self->context_, destination);
    });
}

void NotificationsModel::fail(const QString& leadIn, std::exception_ptr error) {
    errorMessage_ = FailureMessage::compose(leadIn, error);
    Q_EMIT stateChanged();
}

void NotificationsModel::refreshBadge() {
    if (badge_)
        badge_->refresh(true);
}

void NotificationsModel::setContext(AppContext* context) {
    if (context == context_)
        return;
    context_ = context;
    Q_EMIT contextChanged();
}
