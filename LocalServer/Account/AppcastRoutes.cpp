#include "Account/AppcastRoutes.h"

#include "ServerContext.h"

#include <QJsonObject>

ServerResponse AppcastRoutes::appcast() const {
    const ServerOptions& options = context_.options;
    QJsonObject manifest{{"latestBuild", options.appcastBuild},
                         {"shortVersion", options.appcastVersion},
                         {"downloadURL", context_.baseUrl + "/download"}};
    if (!options.appcastNotes.isEmpty())
        manifest["releaseNotes"] = options.appcastNotes;
    return ServerResponse::json(manifest);
}

ServerResponse AppcastRoutes::downloadPage() const {
    const QString page =
        QStringLiteral(
            "<!doctype html><html><head><meta charset=\"utf-8\"><title>Download Orbelo</title></head>"
            "<body><h1>Orbelo %1 (build %2)</h1><p>This local server stands in for the download "
            "page. Build the app from source with scripts/run to get this version.</p></body></html>")
            .arg(context_.options.appcastVersion.toHtmlEscaped(),
                 QString::number(context_.options.appcastBuild));
    return ServerResponse::bytes(page.toUtf8(), "text/html; charset=utf-8");
}
