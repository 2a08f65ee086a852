#include "Directory/UniversityRoutes.h"

#include "Directory/UniversityDirectory.h"

#include <QUrl>

ServerResponse UniversityRoutes::search(const ServerRequest& request) {
    bool ok = false;
    int limit = request.query.queryItemValue("limit").toInt(&ok);
    if (!ok || limit <= 0)
        limit = defaultLimit;
    QJsonArray list;
    const QString query = request.query.queryItemValue("q", QUrl::FullyDecoded);
    for (const auto& university : UniversityDirectory::bundled().search(query, qMin(limit, maxLimit)))
        list.append(university.toJson());
    return ServerResponse::json(list);
}

ServerResponse UniversityRoutes::find(const ServerRequest& request) {
    const auto university = UniversityDirectory::bundled().find(request.param(0));
    if (!university)
        return ServerResponse::apiError(404, "No such university.");
    return ServerResponse::json(university->toJson());
}
