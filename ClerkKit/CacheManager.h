#pragma once

#include "ClerkEnvironment.h"
#include "ClerkLogger.h"
#include "Client.h"
#include "PersistenceWorker.h"

#include <memory>

// The auth client's state kept in secure storage across launches: the last applied client with
// its server date, and the last environment. Loads and saves never fail: failures are logged.
class CacheManager {
public:
    CacheManager(std::shared_ptr<PersistenceWorker> persistence, ClerkLogger logger)
        : persistence_(std::move(persistence)), logger_(std::move(logger)) {}

    // Makes the stored items those of the instance with this publishable key: items stored for
    // another instance are all removed first. Items stored before instances were recorded are
    // kept. False when the removal failed (logged): the stored items must not be used then.
    async::Task<bool> claimForInstance(const QString& publishableKey) const;
    // What the items record of the instance with this key; never the key itself.
    static QByteArray instanceId(const QString& publishableKey);

    async::Task<std::optional<Client>> loadCachedClient() const;
    async::Task<std::optional<QDateTime>> loadCachedServerDate() const;
    async::Task<std::optional<ClerkEnvironment>> loadCachedEnvironment() const;

    // No client removes the cached one.
    void saveClient(const std::optional<Client>& client, const std::optional<QDateTime>& serverFetchDate);
    void saveServerFetchDate(const std::optional<QDateTime>& serverFetchDate);
    void saveEnvironment(const ClerkEnvironment& environment);

    // Remove every item of the auth client; they block, so call them off the main thread. The
    // first goes on past failures, the strict one throws SecretStoreError at the first.
    static void clearAllSecretItems(SecretStore& secrets);
    static void clearAllSecretItemsStrictly(SecretStore& secrets);

private:
    std::shared_ptr<PersistenceWorker> persistence_;
    ClerkLogger logger_;
};
