#include "Auth/BrowserSignIn.h"

void BrowserSignIn::setProvider(std::optional<OAuthProvider> provider) {
    if (provider == provider_)
        return;
    provider_ = std::move(provider);
    Q_EMIT changed();
}
