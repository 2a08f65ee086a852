#include "ClerkOptions.h"

#include "AppInfo.h"

ClerkOptions::ClerkOptions() {
    const QString appId = AppInfo::appId();
    secretStoreConfig.service = appId;
    redirectConfig.redirectUrl = appId + QStringLiteral("://callback");
    redirectConfig.callbackUrlScheme = appId;
}
