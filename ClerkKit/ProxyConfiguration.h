#pragma once

#include <QStringList>
#include <QUrl>

// Where requests go instead of the Frontend API when a proxy is configured: the proxy's origin and
// the path segments of its URL, which come before each request's own path.
struct ProxyConfiguration {
    QUrl baseURL;
    QStringList pathSegments;

    static ProxyConfiguration fromProxyUrl(const QUrl& proxyUrl) {
        QUrl base;
        base.setScheme(proxyUrl.scheme());
        base.setHost(proxyUrl.host());
        base.setPort(proxyUrl.port());
        return {base, proxyUrl.path().split(QLatin1Char('/'), Qt::SkipEmptyParts)};
    }
};
