#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Common/NotificationDestination.h"
#include "TaskScope.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

class AppContext;
class NotificationsBadge;

// Opens a clicked pushed notification inside the shell. Its deep link ("notification:" + id) may be
// waiting when the shell appears (the click started the app) or arrive while it shows. The
// notification is looked up in the newest ones, marked read when unread and routed like a tap in
// the inbox; one that can't be found (deleted, or the list can't be loaded) leads to Study.
class PushedNotificationOpener : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // Where clicked links come from and routed notifications go.
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    // How many of the newest notifications are searched for the clicked one.
    static constexpr int searchDepth = 100;

    explicit PushedNotificationOpener(QObject* parent = nullptr);
    // `badge` is refreshed after a notification is marked read; it may be null.
    PushedNotificationOpener(APIClient client, NotificationsBadge* badge, QObject* parent = nullptr);
    ~PushedNotificationOpener() override;

    // Opens the notification a deep link names; other links are left alone. The link is taken
    // from the notification manager when it is the pending one.
    void openLink(const QVariant& link);
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();

private:
    static async::Task<void> open(PushedNotificationOpener* self, QString notificationId);
    void route(const NotificationDestination& destination);

    APIClient client_;
    QPointer<NotificationsBadge> badge_;
    QPointer<AppContext> context_;
    async::TaskScope::TaskId opening_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
