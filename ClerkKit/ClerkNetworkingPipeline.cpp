#include "ClerkNetworkingPipeline.h"

#include "HttpTransfer.h"

#include <atomic>

namespace {
async::Task<HttpResponse> transfer(HttpRequest request) {
    return HttpTransfer::send(std::move(request));
}
} // namespace

ClerkNetworkingPipeline::ClerkNetworkingPipeline(ClerkLogger logger, Transport transport)
    : logger_(std::move(logger)), transport_(transport ? std::move(transport) : Transport(transfer)) {}

void ClerkNetworkingPipeline::addRequestMiddleware(std::shared_ptr<ClerkRequestMiddleware> middleware) {
    QMutexLocker lock(&mutex_);
    requestMiddlewares_.push_back(std::move(middleware));
}

void ClerkNetworkingPipeline::addResponseMiddleware(std::shared_ptr<ClerkResponseMiddleware> middleware) {
    QMutexLocker lock(&mutex_);
    responseMiddlewares_.push_back(std::move(middleware));
}

quint64 ClerkNetworkingPipeline::nextSequence() {
    static std::atomic<quint64> counter{0};
    return ++counter;
}

async::Task<HttpResponse> ClerkNetworkingPipeline::perform(std::shared_ptr<ClerkNetworkingPipeline> pipeline,
                                                           HttpRequest request) {
    std::vector<std::shared_ptr<ClerkRequestMiddleware>> before;
    std::vector<std::shared_ptr<ClerkResponseMiddleware>> after;
    {
        QMutexLocker lock(&pipeline->mutex_);
        before = pipeline->requestMiddlewares_;
        after = pipeline->responseMiddlewares_;
    }
    ClerkRequest clerkRequest{std::move(request), nextSequence()};
    for (const auto& middleware : before)
        co_await middleware->prepare(clerkRequest);
    const HttpResponse response = co_await ClerkRateLimitRetryMiddleware::send(
        clerkRequest.http, pipeline->transport_, pipeline->logger_);
    for (const auto& middleware : after)
        middleware->validate(response, clerkRequest);
    co_return response;
}
