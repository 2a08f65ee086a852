#pragma once

#include "ClerkAPIClient.h"
#include "Session.h"
#include "SessionTokensCache.h"
#include "SharedTask.h"

#include <QHash>

#include <memory>

// Issues session tokens: a cached one while it is further than the expiration buffer from its
// expiry, else one fetch per cache key, shared by every caller that asks while it runs.
class SessionTokenFetcher {
public:
    SessionTokenFetcher(ClerkAPIClient api, std::shared_ptr<SessionTokensCache> cache, ClerkLogger logger);

    async::Task<TokenResource> getToken(const Session& session, const Session::GetTokenOptions& options);

    // Ends every fetch in flight; their callers fail with URLError(cancelled).
    void cancelAll();
    int inFlightCount() const { return int(tokenTasks_.size()); }

    // The session id, or the id + "-" + the template's name.
    static QString cacheKey(const QString& sessionId, const std::optional<QString>& templateName);
    // Whether the token stays valid for more than `buffer` seconds after `now`; a token whose
    // claims cannot be read is logged and counts as expired.
    static bool isFresh(const TokenResource& token, double buffer, const QDateTime& now,
                        const ClerkLogger& logger);

private:
    ClerkAPIClient api_;
    std::shared_ptr<SessionTokensCache> cache_;
    ClerkLogger logger_;
    QHash<QString, async::SharedTask<TokenResource>> tokenTasks_;
    async::TaskScope scope_; // last: the fetches end before what they use
};
