#include "BundleInfo.h"

#include "BundleInfoValues.h"

namespace BundleInfo {

namespace {
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

QVariantMap& current() {
    static QVariantMap values = generated();
    return values;
}
} // namespace

QString bundleIdentifier() {
    return QString::fromUtf8(BundleInfoValues::bundleIdentifier);
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

} // namespace BundleInfo
