#pragma once

#include "APIClient.h"
#include "ScriptedHttpServer.h"

// The backend client of a model under test, pointed at a scripted server (or any address) and
// signed in with the fixed token "tok".
inline APIClient scriptedClient(const QUrl& baseUrl) {
    return APIClient(baseUrl,
                     []() -> async::Task<std::optional<QString>> { co_return QStringLiteral("tok"); });
}

inline APIClient scriptedClient(const ScriptedHttpServer& server) {
    return scriptedClient(server.baseUrl());
}
