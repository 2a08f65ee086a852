#include "Session.h"

#include "Clerk.h"
#include "ClerkClientError.h"

namespace {
async::Task<TokenResource> failNotConfigured() {
    throw ClerkClientError(QStringLiteral("Clerk must be configured before getting a session token."));
    co_return TokenResource{};
}
} // namespace

async::Task<TokenResource> Session::getToken() const {
    return getToken(GetTokenOptions{}, Clerk::shared());
}

async::Task<TokenResource> Session::getToken(GetTokenOptions options) const {
    return getToken(std::move(options), Clerk::shared());
}

async::Task<TokenResource> Session::getToken(GetTokenOptions options, Clerk& clerk) const {
    if (!clerk.isConfigured())
        return failNotConfigured();
    return clerk.tokenFetcher().getToken(*this, options);
}
