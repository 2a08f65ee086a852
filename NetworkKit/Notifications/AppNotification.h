#pragma once

#include "JSONValue.h"
#include "JsonRecord.h"
#include "NotificationKind.h"

// One entry of the notifications inbox. `metadata` is free-form; a few of its entries refine what
// the notification points at.
struct AppNotification {
    QString id;
    QString type;
    QString title;
    QString message;
    std::optional<QString> relatedId;
    std::optional<QString> createdAt;
    std::optional<QString> readAt;
    bool isRead = false;
    QMap<QString, JSONValue> metadata;
    JSON_RECORD(AppNotification, id, type, title, message, relatedId, createdAt, readAt, isRead, metadata)

    NotificationKind kind() const;
    // The metadata's "course_id", else the related id; an adaptive quiz's related id is
    // "<course id>:<quiz id>".
    std::optional<QString> courseId() const;
    std::optional<QString> topic() const;
    bool isProficiencyNudge() const;

private:
    std::optional<QString> metadataText(const QString& key) const;
};
