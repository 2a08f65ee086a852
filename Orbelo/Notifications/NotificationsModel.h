#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "Notifications/NotificationListModel.h"
#include "Notifications/NotificationsAPI.h"
#include "TaskScope.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

class NotificationsBadge;

class AppContext;

// The notifications inbox: loading the list, marking all read, and opening a notification, which
// marks it read when it is unread and routes to what it concerns (NotificationRouting).
class NotificationsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY stateChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY stateChanged)
    Q_PROPERTY(bool showsFailure READ showsFailure NOTIFY stateChanged)
    Q_PROPERTY(bool showsEmpty READ showsEmpty NOTIFY stateChanged)
    Q_PROPERTY(bool hasUnread READ hasUnread NOTIFY stateChanged)
    Q_PROPERTY(NotificationListModel* rows READ rows CONSTANT)
    Q_PROPERTY(AppContext* context READ context WRITE setContext NOTIFY contextChanged)
    Q_MOC_INCLUDE("Common/AppContext.h")
public:
    // How many of the newest notifications the list shows.
    static constexpr int pageSize = 50;

    // The app's backend client and the process's badge.
    explicit NotificationsModel(QObject* parent = nullptr);
    // `badge` is refreshed after every change of the read state; it may be null.
    NotificationsModel(APIClient client, NotificationsBadge* badge, QObject* parent = nullptr);

    bool isLoading() const { return isLoading_; }
    QString errorMessage() const { return errorMessage_; }
    // The list could not be loaded and there is nothing to show instead.
    bool showsFailure() const { return !errorMessage_.isEmpty() && rows_.rowCount() == 0 && !isLoading_; }
    // Loaded, and nothing there.
    bool showsEmpty() const {
        return loaded_ && rows_.rowCount() == 0 && !isLoading_ && errorMessage_.isEmpty();
    }
    bool hasUnread() const;
    NotificationListModel* rows() { return &rows_; }

    Q_INVOKABLE void load();
    Q_INVOKABLE void markAllRead();
    // Marks the row read when it is unread, then routes to it; `opened` follows. One at a time.
    Q_INVOKABLE void open(int row);
    AppContext* context() const { return context_; }
    void setContext(AppContext* context);

Q_SIGNALS:
    void contextChanged();
    void stateChanged();
    // A notification was routed: a sheet showing the list closes.
    void opened();

private:
    static async::Task<void> fetch(NotificationsModel* self);
    static async::Task<void> markEveryRead(NotificationsModel* self);
    static async::Task<void> openNotification(NotificationsModel* self, AppNotification notification);
    void fail(const QString& leadIn, std::exception_ptr error);
    void refreshBadge();

    NotificationsAPI api_;
    QPointer<NotificationsBadge> badge_;
    NotificationListModel rows_;
    bool isLoading_ = false;
    bool loaded_ = false;
    QString errorMessage_;
    async::TaskScope::TaskId loading_ = 0;
    async::TaskScope::TaskId opening_ = 0;
    QPointer<AppContext> context_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
