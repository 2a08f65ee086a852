#include "AppInfo.h"

#include "AppInfoValues.h"

namespace AppInfo {

namespace {
QVariantMap generated() {
    QVariantMap values;
    const auto put = [&](const char* key, const char* v) {
        // An empty cache variable means the key is absent from the build.
        if (*v)
            values.insert(QLatin1String(key), QString::fromUtf8(v));
    };
    put("API_BASE_URL", AppInfoValues::apiBaseURL);
    put("CLERK_PUBLISHABLE_KEY", AppInfoValues::clerkPublishableKey);
    put("CFBundleShortVersionString", AppInfoValues::shortVersion);
    put("CFBundleVersion", AppInfoValues::buildNumber);
    put("CFBundleIdentifier", AppInfoValues::appId);
    put("OrbeloAppcastURL", AppInfoValues::appcastURL);
    return values;
}

QVariantMap& current() {
    static QVariantMap values = generated();
    return values;
}
} // namespace

QString appId() {
    return QString::fromUtf8(AppInfoValues::appId);
}

QVariant value(const QString& key) {
    return current().value(key);
}

void setValues(const QVariantMap& values) {
    current().insert(values);
}

void overrideForTesting(const QVariantMap& values) {
    current() = values;
}

} // namespace AppInfo
