#include "Calendar/CalendarFeedStore.h"

#include "Storage/Database.h"
#include "Storage/RandomId.h"

#include <QCryptographicHash>

QString CalendarFeedStore::issue(const QString& userId, qint64 nowMs) {
    const QString token = QString::fromLatin1(
        RandomId::bytes(32).toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    const bool stored =
        db_.exec("INSERT INTO calendar_feeds (user_id, token_hash, issued_at) VALUES (?, ?, ?)"
                 " ON CONFLICT(user_id) DO UPDATE SET token_hash = excluded.token_hash,"
                 " issued_at = excluded.issued_at",
                 {userId, hash(token), nowMs});
    return stored ? token : QString();
}

bool CalendarFeedStore::revoke(const QString& userId) {
    return db_.changed("DELETE FROM calendar_feeds WHERE user_id = ?", {userId}) > 0;
}

QString CalendarFeedStore::userFor(const QString& token) {
    const auto row = db_.row("SELECT user_id FROM calendar_feeds WHERE token_hash = ?", {hash(token)});
    return row ? row->value("user_id").toString() : QString();
}

QString CalendarFeedStore::hash(const QString& token) {
    return QString::fromLatin1(QCryptographicHash::hash(token.toUtf8(), QCryptographicHash::Sha256).toHex());
}
