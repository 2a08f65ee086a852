#pragma once

#include "ClerkLogger.h"
#include "ClerkRateLimitRetryMiddleware.h"
#include "ClerkRequestMiddleware.h"
#include "ClerkResponseMiddleware.h"

#include <QMutex>

#include <memory>
#include <vector>

// The path of every Frontend API request: request middlewares in order, the transport (with the
// rate-limit retry), then response middlewares in order. Lists may change while requests run; a
// request uses the lists as they were when it started.
class ClerkNetworkingPipeline {
public:
    using Transport = ClerkRateLimitRetryMiddleware::Transport;

    explicit ClerkNetworkingPipeline(ClerkLogger logger, Transport transport = {});

    void addRequestMiddleware(std::shared_ptr<ClerkRequestMiddleware> middleware);
    void addResponseMiddleware(std::shared_ptr<ClerkResponseMiddleware> middleware);

    // Process-wide, strictly increasing: the order in which requests were started.
    static quint64 nextSequence();

    // The response once every middleware has accepted it; throws what a middleware or the
    // transport threw.
    static async::Task<HttpResponse> perform(std::shared_ptr<ClerkNetworkingPipeline> pipeline,
                                             HttpRequest request);

private:
    ClerkLogger logger_;
    Transport transport_;
    QMutex mutex_;
    std::vector<std::shared_ptr<ClerkRequestMiddleware>> requestMiddlewares_;
    std::vector<std::shared_ptr<ClerkResponseMiddleware>> responseMiddlewares_;
};
