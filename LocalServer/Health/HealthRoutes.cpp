#include "Health/HealthRoutes.h"

#include "ServerContext.h"

#include <QJsonObject>

namespace {

ServerResponse unready(const QString& reason) {
    ServerResponse response =
        ServerResponse::json(QJsonObject{{"status", "unready"}, {"reason", reason}}, 503);
    response.setHeader("Retry-After", "1");
    return response;
}

} // namespace

ServerResponse HealthRoutes::live() const {
    return ServerResponse::json(QJsonObject{{"status", "ok"}});
}

ServerResponse HealthRoutes::ready() const {
    if (!context_.db.row("SELECT 1 AS one"))
        return unready(QStringLiteral("the database does not answer"));
    const int version = context_.db.schemaVersion();
    if (version != Database::latestVersion())
        return unready(QStringLiteral("the database is at schema version %1; this server knows up to %2")
                           .arg(version)
                           .arg(Database::latestVersion()));
    return ServerResponse::json(QJsonObject{{"status", "ok"}});
}
