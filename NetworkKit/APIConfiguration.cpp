#include "APIConfiguration.h"

#include "AppInfo.h"

namespace APIConfiguration {

std::optional<QUrl> parseBaseURL(const QVariant& value) {
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString text = value.toString();
    if (text.isEmpty())
        return std::nullopt;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

const QUrl& baseURL() {
    static const QUrl url = [] {
        const auto parsed = parseBaseURL(AppInfo::value(QStringLiteral("API_BASE_URL")));
        if (!parsed)
            qFatal("%s", fatalMessage);
        return *parsed;
    }();
    return url;
}

} // namespace APIConfiguration
