#pragma once

#include "Courses/StudyEvent.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;

// The study schedule: its preview for the app, and the private calendar feed that calendar apps
// subscribe to under /calendar/<token>.ics (no bearer token: the link's token is the secret).
class CalendarRoutes {
public:
    // The preview lists at most this many of the coming events; the feed has them all.
    static constexpr int maxPreviewEvents = 200;

    explicit CalendarRoutes(ServerContext& context) : context_(context) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse preview(const QString& userId);
    ServerResponse issue(const ServerRequest& request, const QString& userId);
    ServerResponse revoke(const QString& userId);
    ServerResponse feed(const ServerRequest& request);
    // "host:port" as the client reached this server, else the server's own address.
    QString authority(const ServerRequest& request) const;
    static QJsonObject eventJson(const StudyEvent& event);

    ServerContext& context_;
};
