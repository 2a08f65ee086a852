#include "BundleInfo.h"

#include "BundleInfoValues.h"

#include <optional>

namespace BundleInfo {

namespace {
std::optional<QVariantMap>& overridden() {
    static std::optional<QVariantMap> values;
    return values;
}

QVariantMap generated() {
    QVariantMap values;
    const auto put = [&](const char* key, const char* v) {
        // An empty cache variable means the key is absent from the build.
        if (*v)
            values.insert(QLatin1String(key), QString::fromUtf8(v));
    };
    put("API_BASE_URL", BundleInfoValues::apiBaseURL);
    put("CLERK_PUBLISHABLE_KEY", BundleInfoValues::clerkPublishableKey);
    put("CFBundleShortVersionString", BundleInfoValues::shortVersion);
    put("CFBundleVersion", BundleInfoValues::buildNumber);
    put("CFBundleIdentifier", BundleInfoValues::bundleIdentifier);
    put("OrbeloAppcastURL", BundleInfoValues::appcastURL);
    return values;
}
} // namespace

QString bundleIdentifier() {
    return QString::fromUtf8(BundleInfoValues::bundleIdentifier);
}

QVariant value(const QString& key) {
    static const QVariantMap built = generated();
    return (overridden() ? *overridden() : built).value(key);
}

void overrideForTesting(const QVariantMap& values) {
    overridden() = values;
}

} // namespace BundleInfo
