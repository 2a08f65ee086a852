#pragma once

#include "Http/ServerResponse.h"

#include <QString>
#include <optional>

// What the server decides from a request's head, before it reads any of the body.
struct HeadVerdict {
    // Set: the answer, sent at once; the body is never read and the connection closes.
    std::optional<ServerResponse> refusal;
    // The largest body the request may carry (413 past it).
    qint64 bodyLimit = 0;
    // The signed-in account the request counts against; empty: the budget of anonymous requests.
    QString account;
    // Health checks: outside every request budget, so that a busy server still answers them.
    bool unmetered = false;
    // Set: the body goes to a new file in this directory as it arrives (ServerRequest::bodyFile).
    QString spoolDirectory;
};
