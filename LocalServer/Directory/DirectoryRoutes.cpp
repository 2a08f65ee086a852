#include "Directory/DirectoryRoutes.h"

#include "Auth/ProfileStore.h"
#include "ServerContext.h"


bool DirectoryRoutes::hasUniversity(const QString& userId) {
    return !ProfileStore(context_.db).profile(userId).value("university_id").toString().isEmpty();
}

bool DirectoryRoutes::isDiscoverable(const QString& userId) {
    return ProfileStore(context_.db).isDiscoverable(userId);
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
    ProfileStore(context_.db).setDiscoverable(userId, enabled.toBool());
    return ServerResponse::json(QJsonObject{{"is_school_discoverable", enabled.toBool()}});
}
