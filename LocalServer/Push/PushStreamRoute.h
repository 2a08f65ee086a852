#pragma once

#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

struct ServerContext;
class PushStreams;

// GET /api/mobile/push/stream: the WebSocket a registered device holds open for its user's
// notifications, authenticated by `Authorization: Device <token>`; `after=<seq>` asks for what
// the device missed. Refusals are plain HTTP: 401 for a token that names no signed-in device,
// 426 without an upgrade, 429 when the user holds PushStreams::maxStreamsPerUser streams from
// other devices.
class PushStreamRoute {
public:
    static constexpr auto path = "/api/mobile/push/stream";

    PushStreamRoute(ServerContext& context, PushStreams& streams) : context_(context), streams_(streams) {}

private:
    friend class Routes; // calls the handlers

    ServerResponse open(const ServerRequest& request);

    ServerContext& context_;
    PushStreams& streams_;
};
