#include "Notifications/NotificationStore.h"

#include "ServerContext.h"
#include "Storage/RandomId.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// The class of the advisory locks that order each user's notifications (the key is the user's).
constexpr int userSeqLock = 0x6e746679;

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
    const QVariantList values{id,
                              userId,
                              draft.type,
                              draft.title,
                              draft.message,
                              draft.relatedId.isEmpty() ? QVariant() : QVariant(draft.relatedId),
                              QString::fromUtf8(QJsonDocument(draft.metadata).toJson(QJsonDocument::Compact)),
                              draft.eventKey.isEmpty() ? QVariant() : QVariant(draft.eventKey),
                              nowMs};
    static const QString columns = "INSERT INTO notifications (id, user_id, type, title, message, "
                                   "related_id, metadata, event_key, created_at)";
    static const QString unlessReported = " ON CONFLICT (user_id, event_key) DO NOTHING";
    // SQLite writes one transaction at a time, so a user's seqs are committed in order. On
    // PostgreSQL a later seq could commit first, and a stream sent it would never be sent the
    // earlier one: the user's lock, held to the end of the transaction and taken before the seq
    // is drawn, keeps each user's notifications committing in seq order.
    const int added =
        context_.db.engine() == Database::Engine::SQLite
            ? context_.db.changed(columns + " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)" + unlessReported, values)
            : context_.db.changed(columns +
                                      " SELECT ?, ?, ?, ?, ?, ?, ?, ?, CAST(? AS BIGINT) FROM"
                                      " (SELECT pg_advisory_xact_lock(" +
                                      QString::number(userSeqLock) + ", hashtext(?))) AS turn" +
                                      unlessReported,
                                  values + QVariantList{userId});
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
             " ORDER BY seq DESC LIMIT ?) AS newest ORDER BY seq",
             {userId, afterSeq, sinceMs, limit}))
        found.append({row.value("seq").toLongLong(), recordOf(row)});
    return found;
}

qint64 NotificationStore::latestSeq(const QString& userId) {
    const auto row =
        context_.db.row("SELECT COALESCE(MAX(seq), 0) AS seq FROM notifications WHERE user_id = ?", {userId});
    return row ? row->value("seq").toLongLong() : 0;
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
