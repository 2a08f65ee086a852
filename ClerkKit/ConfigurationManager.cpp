#include "ConfigurationManager.h"

#include "ClerkInitializationError.h"
#include "PublishableKey.h"

void ConfigurationManager::configure(const QString& publishableKey, const ClerkOptions& options) {
    if (state_.isConfigured)
        throw ClerkInitializationError::alreadyConfigured();
    const QString key = publishableKey.trimmed();
    ConfigurationState state;
    state.frontendApiUrl = PublishableKey::frontendApiUrl(key);
    state.publishableKey = key;
    state.options = options;
    if (options.proxyUrl && options.proxyUrl->isValid()) {
        state.proxyUrl = options.proxyUrl;
        state.proxyConfiguration = ProxyConfiguration::fromProxyUrl(*options.proxyUrl);
    }
    state.isConfigured = true;
    state_ = std::move(state);
}
