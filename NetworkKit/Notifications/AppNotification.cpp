#include "AppNotification.h"

#include "Json.h"

NotificationKind AppNotification::kind() const {
    return json::enumFromRawValue<NotificationKind>(type).value_or(NotificationKind::unknown);
}

std::optional<QString> AppNotification::courseId() const {
    if (auto id = metadataText(QStringLiteral("course_id")); id && !id->isEmpty())
        return id;
    if (!relatedId || relatedId->isEmpty())
        return std::nullopt;
    if (type == QLatin1String("adaptive_quiz"))
        return relatedId->section(QLatin1Char(':'), 0, 0);
    return relatedId;
}

std::optional<QString> AppNotification::topic() const {
    if (auto text = metadataText(QStringLiteral("topic")); text && !text->isEmpty())
        return text;
    return std::nullopt;
}

bool AppNotification::isProficiencyNudge() const {
    return metadataText(QStringLiteral("reason")) == QStringLiteral("proficiency_nudge");
}

std::optional<QString> AppNotification::metadataText(const QString& key) const {
    const auto it = metadata.constFind(key);
    if (it == metadata.constEnd())
        return std::nullopt;
    if (const QString* text = it->get<QString>())
        return *text;
    return std::nullopt;
}
