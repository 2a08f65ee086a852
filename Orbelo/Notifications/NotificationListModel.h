#pragma once

#include "Notifications/AppNotification.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QTimeZone>
#include <QtQml/qqmlregistration.h>

// The inbox's rows: each notification's title, message, age and whether it is unread.
class NotificationListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ANONYMOUS
public:
    enum Role {
        TitleRole = Qt::UserRole + 1,
        MessageRole,
        IsUnreadRole,
        TimeTextRole,
        AccessibleNameRole,
    };

    using QAbstractListModel::QAbstractListModel;

    void setNotifications(const QList<AppNotification>& notifications);
    const QList<AppNotification>& notifications() const { return notifications_; }
    // Marks one row read in place, so the focused row keeps its focus.
    void markRead(const QString& notificationId);
    void markAllRead();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // How long ago a notification arrived: "Just now", "5 min ago", "3 h ago", "Yesterday", else
    // the day ("12 Mar"); empty when the time is missing or unreadable. Days are those of `zone`.
    static QString timeText(const std::optional<QString>& createdAt, const QDateTime& now,
                            const QTimeZone& zone);
    // What a screen reader says for a row; an unread one begins with "Unread. ".
    static QString accessibleName(const AppNotification& notification);

private:
    QList<AppNotification> notifications_;
};
