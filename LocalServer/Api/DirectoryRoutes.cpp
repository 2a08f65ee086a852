#include "DirectoryRoutes.h"

#include "ServerContext.h"

#include <QJsonDocument>

void DirectoryRoutes::registerRoutes(Router& router) {
    auth_.add(router, "GET", "/api/network/discoverability",
              [this](const ServerRequest&, const QString& u) { return status(u); });
    auth_.add(router, "POST", "/api/network/discoverability",
              [this](const ServerRequest& r, const QString& u) { return setVisibility(r, u); });
}

bool DirectoryRoutes::hasUniversity(const QString& userId) {
    const auto row = context_.db.row("SELECT profile FROM profiles WHERE user_id = ?", {userId});
    if (!row)
        return false;
    const QJsonObject profile = QJsonDocument::fromJson(row->value("profile").toByteArray()).object();
    return !profile.value("university_id").toString().isEmpty();
}

bool DirectoryRoutes::isDiscoverable(const QString& userId) {
    const auto row =
        context_.db.row("SELECT school_discoverable FROM directory_visibility WHERE user_id = ?", {userId});
    return row && row->value("school_discoverable").toInt() != 0;
}

ServerResponse DirectoryRoutes::status(const QString& userId) {
    // Without a school there is no directory to be found in, whatever was stored before.
    const bool school = hasUniversity(userId);
    return ServerResponse::json(QJsonObject{{"is_school_discoverable", school && isDiscoverable(userId)},
                                            {"has_university", school}});
}

ServerResponse DirectoryRoutes::setVisibility(const ServerRequest& request, const QString& userId) {
    const QJsonValue enabled = request.jsonBody().value("enabled");
    if (!enabled.isBool())
        return ServerResponse::apiError(422, "enabled must be true or false.");
    if (enabled.toBool() && !hasUniversity(userId))
        return ServerResponse::apiError(409, "Choose your school before joining its directory.");
    context_.db.exec("INSERT INTO directory_visibility (user_id, school_discoverable) VALUES (?, ?)"
                     " ON CONFLICT(user_id) DO UPDATE SET school_discoverable = excluded.school_discoverable",
                     {userId, enabled.toBool() ? 1 : 0});
    return ServerResponse::json(QJsonObject{{"is_school_discoverable", enabled.toBool()}});
}
