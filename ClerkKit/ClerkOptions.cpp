#include "ClerkOptions.h"

#include "BundleInfo.h"

ClerkOptions::ClerkOptions() {
    const QString bundleId = BundleInfo::bundleIdentifier();
    keychainConfig.service = bundleId;
    redirectConfig.redirectUrl = bundleId + QStringLiteral("://callback");
    redirectConfig.callbackUrlScheme = bundleId;
}
