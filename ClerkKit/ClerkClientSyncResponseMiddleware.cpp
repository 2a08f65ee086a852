#include "ClerkClientSyncResponseMiddleware.h"

#include "Clerk.h"
#include "HTTPDate.h"
#include "Json.h"

#include <QJsonDocument>

bool ClerkClientSyncResponseMiddleware::isClientFetch(const ClerkRequest& request) {
    return request.http.method == "GET" && request.http.url.path().section(QLatin1Char('/'), -1) == "client";
}

void ClerkClientSyncResponseMiddleware::validate(const HttpResponse& response, const ClerkRequest& request) {
    if (!clerk_)
        return;
    const QJsonObject body = QJsonDocument::fromJson(response.body).object();
    QJsonValue probe;
    if (isClientFetch(request) && body.contains(QStringLiteral("response")))
        probe = body.value(QStringLiteral("response"));
    else if (body.contains(QStringLiteral("client")))
        probe = body.value(QStringLiteral("client"));
    else
        probe = body.value(QStringLiteral("response")).toObject().value(QStringLiteral("client"));
    if (probe.isUndefined())
        return;

    const auto date = response.header("Date");
    const std::optional<QDateTime> serverDate = date ? HTTPDate::parse(*date) : std::nullopt;
    if (probe.isNull()) {
        logger_.debug(
            QStringLiteral("API response explicitly returned client: null. Clearing local client state."));
        clerk_->applyResponseClient(std::nullopt, request.sequence, serverDate);
        return;
    }
    try {
        clerk_->applyResponseClient(json::fromValue<Client>(probe), request.sequence, serverDate);
    } catch (const json::DecodingError& e) {
        logger_.error(
            QStringLiteral("Failed to decode the client in a response: %1").arg(e.debugDescription()));
    }
}
