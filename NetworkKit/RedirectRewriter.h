#pragma once

#include <QUrl>

// Keeps every redirect on the configured backend origin: the proposed URL keeps its path and
// query but takes the scheme, host and port of the base URL.
class RedirectRewriter {
public:
    explicit RedirectRewriter(QUrl baseURL) : baseURL_(std::move(baseURL)) {}

    QUrl operator()(const QUrl& proposed) const;

private:
    QUrl baseURL_;
};
