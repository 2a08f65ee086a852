#pragma once

#include <QString>

class Database;

// The users' calendar feed tokens. A user has at most one; only its SHA-256 is stored, so that the
// database alone does not give away a working link.
class CalendarFeedStore {
public:
    explicit CalendarFeedStore(Database& db) : db_(db) {}

    // A fresh token (32 random bytes, Base64URL) that replaces the user's previous one at once;
    // empty when it could not be stored.
    QString issue(const QString& userId, qint64 nowMs);
    // True when the user had a token, which no longer works.
    bool revoke(const QString& userId);
    // The user the token belongs to, or an empty string.
    QString userFor(const QString& token);

    static QString hash(const QString& token);

private:
    Database& db_;
};
