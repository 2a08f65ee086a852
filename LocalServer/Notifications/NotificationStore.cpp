#include "Notifications/NotificationStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString isoTime(const QVariant& ms) {
    return QDateTime::fromMSecsSinceEpoch(ms.toLongLong(), Qt::UTC).toString(Qt::ISODateWithMs);
}

QJsonObject recordOf(const QVariantMap& row) {
    QJsonObject record{
        {"id", row.value("id").toString()},
        {"type", row.value("type").toString()},
        {"title", row.value("title").toString()},
        {"message", row.value("message").toString()},
        {"created_at", isoTime(row.value("created_at"))},
        {"is_read", !row.value("read_at").isNull()},
        {"metadata", QJsonDocument::fromJson(row.value("metadata").toByteArray()).object()},
    };
    record.insert("related_id", row.value("related_id").isNull()
                                    ? QJsonValue(QJsonValue::Null)
                                    : QJsonValue(row.value("related_id").toString()));
    record.insert("read_at", row.value("read_at").isNull() ? QJsonValue(QJsonValue::Null)
                                                           : QJsonValue(isoTime(row.value("read_at"))));
    return record;
}

} // namespace

std::optional<QJsonObject> NotificationStore::insert(const QString& userId, const Draft& draft,
                                                     qint64 nowMs) {
    const QString id = RandomId::make("ntf");
    const int added = context_.db.changed(
        "INSERT INTO notifications (id, user_id, type, title, message, related_id, metadata, event_key,"
        " created_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (user_id, event_key) DO NOTHING",
        {id, userId, draft.type, draft.title, draft.message,
         draft.relatedId.isEmpty() ? QVariant() : QVariant(draft.relatedId),
         QString::fromUtf8(QJsonDocument(draft.metadata).toJson(QJsonDocument::Compact)),
         draft.eventKey.isEmpty() ? QVariant() : QVariant(draft.eventKey), nowMs});
    if (added != 1)
        return std::nullopt;
    const auto row = context_.db.row("SELECT * FROM notifications WHERE id = ?", {id});
    if (!row)
        return std::nullopt;
    return recordOf(*row);
}

bool NotificationStore::hasEvent(const QString& userId, const QString& eventKey) {
    return context_.db
        .row("SELECT 1 FROM notifications WHERE user_id = ? AND event_key = ?", {userId, eventKey})
        .has_value();
}

QJsonObject NotificationStore::list(const QString& userId, int limit) {
    QJsonArray notifications;
    for (const QVariantMap& row : context_.db.rows("SELECT * FROM notifications WHERE user_id = ?"
                                                   " ORDER BY created_at DESC, seq DESC LIMIT ?",
                                                   {userId, limit}))
        notifications.append(recordOf(row));
    const auto counts = context_.db.row(
        "SELECT COUNT(*) AS total, COUNT(*) - COUNT(read_at) AS unread FROM notifications WHERE user_id = ?",
        {userId});
    return QJsonObject{{"notifications", notifications},
                       {"total", counts ? counts->value("total").toInt() : 0},
                       {"unread", counts ? counts->value("unread").toInt() : 0}};
}

int NotificationStore::unreadCount(const QString& userId) {
    const auto count = context_.db.row(
        "SELECT COUNT(*) AS n FROM notifications WHERE user_id = ? AND read_at IS NULL", {userId});
    return count ? count->value("n").toInt() : 0;
}

QList<NotificationStore::Sequenced> NotificationStore::newerThan(const QString& userId, qint64 afterSeq,
                                                                 qint64 sinceMs, int limit) {
    QList<Sequenced> found;
    for (const QVariantMap& row : context_.db.rows(
             "SELECT * FROM (SELECT * FROM notifications WHERE user_id = ? AND seq > ? AND created_at >= ?"
             " ORDER BY seq DESC LIMIT ?) ORDER BY seq",
             {userId, afterSeq, sinceMs, limit}))
        found.append({row.value("seq").toLongLong(), recordOf(row)});
    return found;
}

std::optional<qint64> NotificationStore::seqOf(const QString& id) {
    const auto row = context_.db.row("SELECT seq FROM notifications WHERE id = ?", {id});
    if (!row)
        return std::nullopt;
    return row->value("seq").toLongLong();
}

bool NotificationStore::markRead(const QString& userId, const QString& id, qint64 nowMs) {
    // SQLite counts a matched row as changed even when its read time stays, so 1 means "exists".
    return context_.db.changed(
               "UPDATE notifications SET read_at = COALESCE(read_at, ?) WHERE id = ? AND user_id = ?",
               {nowMs, id, userId}) == 1;
}

int NotificationStore::markAllRead(const QString& userId, qint64 nowMs) {
    return context_.db.changed("UPDATE notifications SET read_at = ? WHERE user_id = ? AND read_at IS NULL",
                               {nowMs, userId});
}
