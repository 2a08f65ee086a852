#include "Account/AccountRoutes.h"

#include "Auth/AuthStore.h"
#include "Auth/ProfileStore.h"
#include "Library/LibraryStore.h"
#include "ServerContext.h"

#include <QDir>
#include <QJsonDocument>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace {

// Keys of the profile update, with the JSON type each must have.
const QList<QPair<QString, QJsonValue::Type>>& profileKeys() {
    static const QList<QPair<QString, QJsonValue::Type>> keys = {
        {"interests", QJsonValue::Array},       {"background", QJsonValue::String},
        {"school_level", QJsonValue::String},   {"university_id", QJsonValue::String},
        {"academic_goals", QJsonValue::Array},  {"study_time_per_week", QJsonValue::Double},
        {"learning_style", QJsonValue::String}, {"has_completed_onboarding", QJsonValue::Bool}};
    return keys;
}

bool allStrings(const QJsonArray& values) {
    return std::all_of(values.begin(), values.end(), [](const QJsonValue& v) { return v.isString(); });
}

// A whole number of hours that fits in a week.
bool isWeeklyHours(double hours) {
    return hours >= 0 && hours <= 168 && hours == std::floor(hours);
}

bool validInterests(const QJsonArray& interests) {
    for (const QJsonValue& entry : interests) {
        const QJsonObject interest = entry.toObject();
        if (!interest.value("category").isString() || !interest.value("items").isArray())
            return false;
        for (const QJsonValue& item : interest.value("items").toArray()) {
            if (!item.isString())
                return false;
        }
    }
    return true;
}

} // namespace

ServerResponse AccountRoutes::bootstrap(const QString& userId) {
    LibraryStore library(context_);
    const QJsonArray documents = library.documents(userId);
    return ServerResponse::json(QJsonObject{{"courses", library.courses(userId)},
                                            {"documents", documents},
                                            {"documents_count", documents.size()}});
}

ServerResponse AccountRoutes::profile(const QString& userId) {
    const auto user = AuthStore(context_).user(userId);
    const QJsonObject stored = ProfileStore(context_.db).profile(userId);
    const QString name =
        QStringList{user->value("first_name").toString(), user->value("last_name").toString()}
            .join(' ')
            .trimmed();
    auto orNull = [&](const char* key) { return stored.contains(key) ? stored.value(key) : QJsonValue(); };
    return ServerResponse::json(
        QJsonObject{{"user_id", userId},
                    {"name", name.isEmpty() ? QJsonValue() : QJsonValue(name)},
                    {"email", user->value("email").toString()},
                    {"interests", stored.value("interests").toArray()},
                    {"background", orNull("background")},
                    {"university_id", orNull("university_id")},
                    {"school_level", orNull("school_level")},
                    {"academic_goals", stored.value("academic_goals").toArray()},
                    {"study_time_per_week", orNull("study_time_per_week")},
                    {"learning_style", orNull("learning_style")},
                    {"has_completed_onboarding", stored.value("has_completed_onboarding").toBool()}});
}

ServerResponse AccountRoutes::updateProfile(const ServerRequest& request, const QString& userId) {
    const QJsonDocument body = QJsonDocument::fromJson(request.body);
    if (!body.isObject())
        return ServerResponse::apiError(422, "The body must be a JSON object.");
    ProfileStore profiles(context_.db);
    QJsonObject stored = profiles.profile(userId);
    for (const auto& [key, type] : profileKeys()) {
        const QJsonValue value = body.object().value(key);
        if (value.isUndefined() || value.isNull())
            continue;
        if (value.type() != type || (key == "interests" && !validInterests(value.toArray())) ||
            (key == "academic_goals" && !allStrings(value.toArray())) ||
            (key == "study_time_per_week" && !isWeeklyHours(value.toDouble())))
            return ServerResponse::apiError(422, "Invalid value for " + key + ".");
        stored.insert(key, value);
    }
    profiles.saveProfile(userId, stored);
    return profile(userId);
}

ServerResponse AccountRoutes::reportTimeZone(const ServerRequest& request, const QString& userId) {
    const QString zone = request.jsonBody().value("timezone").toString();
    if (zone.isEmpty() || !QTimeZone(zone.toUtf8()).isValid())
        return ServerResponse::apiError(422, "Unknown time zone.");
    ProfileStore(context_.db).setTimeZone(userId, zone);
    return ServerResponse::json(QJsonObject{{"status", "ok"}});
}

ServerResponse AccountRoutes::deleteAccount(const QString& userId) {
    if (!AuthStore(context_).deleteUser(userId))
        return ServerResponse::apiError(500, "Your account could not be deleted. Please try again.");
    QDir(QDir(context_.storageDir()).filePath(userId)).removeRecursively();
    QDir(QDir(context_.mediaDir()).filePath(userId)).removeRecursively();
    return ServerResponse::json(QJsonObject{
        {"status", "deleted"}, {"message", "Your account and all of its data have been deleted."}});
}
