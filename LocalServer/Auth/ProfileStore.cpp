#include "Auth/ProfileStore.h"

#include "Storage/Database.h"

#include <QJsonDocument>

QJsonObject ProfileStore::profile(const QString& userId) {
    const auto row = db_.row("SELECT profile FROM profiles WHERE user_id = ?", {userId});
    return row ? QJsonDocument::fromJson(row->value("profile").toByteArray()).object() : QJsonObject();
}

void ProfileStore::saveProfile(const QString& userId, const QJsonObject& profile) {
    db_.exec("INSERT INTO profiles (user_id, profile) VALUES (?, ?)"
             " ON CONFLICT(user_id) DO UPDATE SET profile = excluded.profile",
             {userId, QString::fromUtf8(QJsonDocument(profile).toJson(QJsonDocument::Compact))});
}

QString ProfileStore::timeZone(const QString& userId) {
    const auto row = db_.row("SELECT timezone FROM profiles WHERE user_id = ?", {userId});
    return row ? row->value("timezone").toString() : QString();
}

void ProfileStore::setTimeZone(const QString& userId, const QString& zone) {
    db_.exec("INSERT INTO profiles (user_id, timezone) VALUES (?, ?)"
             " ON CONFLICT(user_id) DO UPDATE SET timezone = excluded.timezone",
             {userId, zone});
}

bool ProfileStore::isDiscoverable(const QString& userId) {
    const auto row =
        db_.row("SELECT school_discoverable FROM directory_visibility WHERE user_id = ?", {userId});
    return row && row->value("school_discoverable").toInt() != 0;
}

void ProfileStore::setDiscoverable(const QString& userId, bool discoverable) {
    db_.exec("INSERT INTO directory_visibility (user_id, school_discoverable) VALUES (?, ?)"
             " ON CONFLICT(user_id) DO UPDATE SET school_discoverable = excluded.school_discoverable",
             {userId, discoverable ? 1 : 0});
}
