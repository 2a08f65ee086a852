#pragma once

#include "ClerkRequestMiddleware.h"
#include "ProxyConfiguration.h"

#include <optional>

// Sends requests to the configured proxy: its origin, its path, then the request's own path.
class ClerkProxyRequestMiddleware final : public ClerkRequestMiddleware {
public:
    explicit ClerkProxyRequestMiddleware(std::optional<ProxyConfiguration> proxy)
        : proxy_(std::move(proxy)) {}

    async::Task<void> prepare(ClerkRequest& request) override {
        if (proxy_)
            rewrite(request.http.url, *proxy_);
        co_return;
    }

    static void rewrite(QUrl& url, const ProxyConfiguration& proxy) {
        QString path;
        for (const QString& segment : proxy.pathSegments)
            path += QLatin1Char('/') + segment;
        path += url.path();
        QUrl target = proxy.baseURL;
        target.setPath(path);
        target.setQuery(url.query(QUrl::FullyEncoded), QUrl::StrictMode);
        url = target;
    }

private:
    std::optional<ProxyConfiguration> proxy_;
};
