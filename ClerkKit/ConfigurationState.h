#pragma once

#include "ClerkOptions.h"
#include "ProxyConfiguration.h"

// What configure() settled on.
struct ConfigurationState {
    QString publishableKey;
    QUrl frontendApiUrl;
    std::optional<QUrl> proxyUrl;
    std::optional<ProxyConfiguration> proxyConfiguration;
    ClerkOptions options;
    bool isConfigured = false;
};
