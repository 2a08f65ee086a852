#include "StudyReminderPreferences.h"

#include <QHashFunctions>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

const QString isEnabledKey = QStringLiteral("isEnabled");
const QString reminderTimesKey = QStringLiteral("reminderTimes");
const QString hourKey = QStringLiteral("hour");
const QString minuteKey = QStringLiteral("minute");

// A JSON number that is a whole number, as an int.
std::optional<int> wholeNumber(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::trunc(number) || std::abs(number) > 1e9)
        return std::nullopt;
    return int(number);
}

} // namespace

StudyReminderPreferences::Time::Time(int hour, int minute)
    : hour_(std::clamp(hour, 0, 23)), minute_(std::clamp(minute, 0, 59)) {}

QString StudyReminderPreferences::Time::identity() const {
    return QString::asprintf("%02d-%02d", hour_, minute_);
}

QString StudyReminderPreferences::Time::text() const {
    return QString::asprintf("%02d:%02d", hour_, minute_);
}

StudyReminderPreferences StudyReminderPreferences::defaults() {
    return {false, {Time(9, 0)}};
}

QByteArray StudyReminderPreferences::toJson() const {
    QJsonArray times;
    for (const Time& time : reminderTimes)
        times.append(QJsonObject{{hourKey, time.hour()}, {minuteKey, time.minute()}});
    return QJsonDocument(QJsonObject{{isEnabledKey, isEnabled}, {reminderTimesKey, times}})
        .toJson(QJsonDocument::Compact);
}

std::optional<StudyReminderPreferences> StudyReminderPreferences::fromJson(const QByteArray& data) {
    const QJsonDocument document = QJsonDocument::fromJson(data);
    const QJsonObject object = document.object();
    if (!document.isObject() || !object.value(isEnabledKey).isBool() ||
        !object.value(reminderTimesKey).isArray())
        return std::nullopt;
    StudyReminderPreferences preferences;
    preferences.isEnabled = object.value(isEnabledKey).toBool();
    for (const QJsonValue& entry : object.value(reminderTimesKey).toArray()) {
        const std::optional<int> hour = wholeNumber(entry.toObject().value(hourKey));
        const std::optional<int> minute = wholeNumber(entry.toObject().value(minuteKey));
        if (!hour || !minute)
            return std::nullopt;
        preferences.reminderTimes.append(Time(*hour, *minute));
    }
    return preferences;
}

size_t qHash(const StudyReminderPreferences::Time& time, size_t seed) noexcept {
    return qHashMulti(seed, time.hour(), time.minute());
}
