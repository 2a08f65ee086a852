#include "Directory/UniversityRoutes.h"

#include "Directory/UniversityDirectory.h"

#include <QUrl>

void UniversityRoutes::registerRoutes(Router& router) {
    auth_.add(router, "GET", "/api/universities", [](const ServerRequest& request, const QString&) {
        bool ok = false;
        int limit = request.query.queryItemValue("limit").toInt(&ok);
        if (!ok || limit <= 0)
            limit = defaultLimit;
        QJsonArray list;
        const QString query = request.query.queryItemValue("q", QUrl::FullyDecoded);
        for (const auto& university : UniversityDirectory::bundled().search(query, qMin(limit, maxLimit)))
            list.append(university.toJson());
        return ServerResponse::json(list);
    });
    auth_.add(router, "GET", "/api/universities/{id}", [](const ServerRequest& request, const QString&) {
        const auto university = UniversityDirectory::bundled().find(request.param(0));
        if (!university)
            return ServerResponse::apiError(404, "No such university.");
        return ServerResponse::json(university->toJson());
    });
}
