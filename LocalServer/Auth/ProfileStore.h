#pragma once

#include <QJsonObject>
#include <QString>

class Database;

// What an account tells about itself: its profile answers, its time zone and whether it may be
// found in its school's directory.
class ProfileStore {
public:
    explicit ProfileStore(Database& db) : db_(db) {}

    // The stored answers; empty when the user has given none.
    QJsonObject profile(const QString& userId);
    void saveProfile(const QString& userId, const QJsonObject& profile);
    // The IANA id the app last reported; empty when none.
    QString timeZone(const QString& userId);
    void setTimeZone(const QString& userId, const QString& zone);
    bool isDiscoverable(const QString& userId);
    void setDiscoverable(const QString& userId, bool discoverable);

private:
    Database& db_;
};
