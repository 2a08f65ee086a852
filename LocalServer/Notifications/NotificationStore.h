#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

struct ServerContext;

// Each user's in-app notifications and their AppNotification wire records. A notification may
// carry a key naming the event it reports (an attempt, a document, a day); a second one with the
// same key for the same user is not stored, so an event retried or seen twice is reported once.
class NotificationStore {
public:
    struct Draft {
        QString type; // a NotificationKind raw value
        QString title;
        QString message;
        QJsonObject metadata;
        QString relatedId; // empty: none
        QString eventKey;  // empty: every draft is a new notification
    };

    // A record with its place in the order of all notifications (seq grows with every one).
    struct Sequenced {
        qint64 seq = 0;
        QJsonObject record;
    };

    explicit NotificationStore(ServerContext& context) : context_(context) {}

    // Stores the draft at `nowMs` (inside the caller's transaction, if any) and answers its
    // record; nothing when its event key was already used or the write failed.
    std::optional<QJsonObject> insert(const QString& userId, const Draft& draft, qint64 nowMs);
    bool hasEvent(const QString& userId, const QString& eventKey);
    // NotificationsResponse: the newest `limit` notifications, newest first, with the counts of
    // all of them and of the unread.
    QJsonObject list(const QString& userId, int limit);
    int unreadCount(const QString& userId);
    // The newest `limit` of the user's notifications with a seq above `afterSeq` made at or after
    // `sinceMs`, oldest first.
    QList<Sequenced> newerThan(const QString& userId, qint64 afterSeq, qint64 sinceMs, int limit);
    // The highest seq of the user's notifications; 0 when there are none.
    qint64 latestSeq(const QString& userId);
    // False when the user has no such notification; one already read keeps its read time.
    bool markRead(const QString& userId, const QString& id, qint64 nowMs);
    // How many were unread; -1 when the write failed.
    int markAllRead(const QString& userId, qint64 nowMs);

private:
    ServerContext& context_;
};
