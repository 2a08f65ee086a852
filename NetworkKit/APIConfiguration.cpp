#include "APIConfiguration.h"

#include "AppInfo.h"

namespace APIConfiguration {

std::optional<QUrl> parseBaseURL(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

const QUrl& baseURL() {
    static const QUrl url = [] {
        const auto parsed = parseBaseURL(AppInfo::apiBaseUrl());
        if (!parsed)
            qFatal("%s", fatalMessage);
        return *parsed;
    }();
    return url;
}

} // namespace APIConfiguration
