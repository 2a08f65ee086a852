#include "Notifications/NotificationListModel.h"

#include "Clock.h"

void NotificationListModel::setNotifications(const QList<AppNotification>& notifications) {
    beginResetModel();
    notifications_ = notifications;
    endResetModel();
}

void NotificationListModel::markRead(const QString& notificationId) {
    for (qsizetype row = 0; row < notifications_.size(); ++row) {
        if (notifications_[row].id != notificationId || notifications_[row].isRead)
            continue;
        notifications_[row].isRead = true;
        const QModelIndex changed = index(int(row));
        Q_EMIT dataChanged(changed, changed, {IsUnreadRole, AccessibleNameRole});
    }
}

void NotificationListModel::markAllRead() {
    for (AppNotification& notification : notifications_)
        notification.isRead = true;
    if (!notifications_.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(notifications_.size()) - 1),
                           {IsUnreadRole, AccessibleNameRole});
}

int NotificationListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(notifications_.size());
}

QVariant NotificationListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const AppNotification& notification = notifications_.at(index.row());
    switch (role) {
    case TitleRole:
        return notification.title;
    case MessageRole:
        return notification.message;
    case IsUnreadRole:
        return !notification.isRead;
    case TimeTextRole:
        return timeText(notification.createdAt, async::Clock::current().now(), QTimeZone::systemTimeZone());
    case AccessibleNameRole:
        return accessibleName(notification);
    }
    return {};
}

QHash<int, QByteArray> NotificationListModel::roleNames() const {
    return {{TitleRole, "title"},
            {MessageRole, "message"},
            {IsUnreadRole, "isUnread"},
            {TimeTextRole, "timeText"},
            {AccessibleNameRole, "accessibleName"}};
}

QString NotificationListModel::timeText(const std::optional<QString>& createdAt, const QDateTime& now,
                                        const QTimeZone& zone) {
    if (!createdAt)
        return {};
    const QDateTime created = QDateTime::fromString(*createdAt, Qt::ISODateWithMs);
    if (!created.isValid())
        return {};
    const qint64 seconds = created.secsTo(now);
    if (seconds < 60)
        return QStringLiteral("Just now");
    if (seconds < 3600)
        return QStringLiteral("%1 min ago").arg(seconds / 60);
    if (seconds < 24 * 3600)
        return QStringLiteral("%1 h ago").arg(seconds / 3600);
    const QDate day = created.toTimeZone(zone).date();
    const QDate today = now.toTimeZone(zone).date();
    if (day.daysTo(today) == 1)
        return QStringLiteral("Yesterday");
    return QLocale::c().toString(day, day.year() == today.year() ? QStringLiteral("d MMM")
                                                                 : QStringLiteral("d MMM yyyy"));
}

QString NotificationListModel::accessibleName(const AppNotification& notification) {
    QString name = notification.isRead ? QString() : QStringLiteral("Unread. ");
    name += notification.title;
    if (!notification.message.isEmpty())
        name += QStringLiteral(". ") + notification.message;
    return name;
}
