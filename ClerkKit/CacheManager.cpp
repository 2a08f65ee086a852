#include "CacheManager.h"

#include "ClerkSecretItem.h"
#include "Json.h"
#include "SecretStoreError.h"

#include <QCryptographicHash>

namespace {

// The decoded item, or nothing when it is absent or unreadable (logged with `failure`).
template <class T>
async::Task<std::optional<T>> load(std::shared_ptr<PersistenceWorker> persistence, ClerkLogger logger,
                                   QString account, QString failure) {
    try {
        const auto bytes = co_await persistence->read(account);
        if (!bytes)
            co_return std::nullopt;
        co_return json::decode<T>(*bytes);
    } catch (const SecretStoreError&) {
    } catch (const json::DecodingError&) {
    }
    logger.error(failure);
    co_return std::nullopt;
}

async::Task<std::optional<QDateTime>> loadDate(std::shared_ptr<PersistenceWorker> persistence) {
    try {
        const auto bytes = co_await persistence->read(ClerkSecretItem::cachedClientServerDate);
        bool ok = false;
        const qint64 ms = bytes ? bytes->toLongLong(&ok) : 0;
        if (ok)
            co_return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    } catch (const SecretStoreError&) {
    }
    co_return std::nullopt;
}

const QString clientFailure = QStringLiteral(
    "Failed to save client to the secret store. This is non-critical but may affect offline functionality.");
const QString dateFailure =
    QStringLiteral("Failed to save server fetch date to the secret store. This is non-critical.");
const QString environmentFailure = QStringLiteral("Failed to save environment to the secret store. This is "
                                                  "non-critical but may affect offline functionality.");

async::Task<bool> claim(std::shared_ptr<PersistenceWorker> persistence, ClerkLogger logger,
                        QByteArray instance) {
    const auto claimItems = [instance](SecretStore& secrets) {
        const auto stored = secrets.data(ClerkSecretItem::instance);
        if (stored == instance)
            return;
        if (stored) {
            try {
                CacheManager::clearAllSecretItemsStrictly(secrets);
            } catch (const SecretStoreError&) {
                CacheManager::clearAllSecretItems(secrets); // as much as can go
                throw;
            }
        }
        secrets.setData(ClerkSecretItem::instance, instance);
    };
    try {
        co_await persistence->run(claimItems);
        co_return true;
    } catch (const SecretStoreError&) {
    }
    logger.error(QStringLiteral("Unable to clear Clerk's stored secrets during reconfiguration."));
    co_return false;
}

} // namespace

QByteArray CacheManager::instanceId(const QString& publishableKey) {
    return QCryptographicHash::hash(publishableKey.toUtf8(), QCryptographicHash::Sha256).toHex();
}

async::Task<bool> CacheManager::claimForInstance(const QString& publishableKey) const {
    return claim(persistence_, logger_, instanceId(publishableKey));
}

async::Task<std::optional<Client>> CacheManager::loadCachedClient() const {
    return load<Client>(
        persistence_, logger_, ClerkSecretItem::cachedClient,
        QStringLiteral("Failed to load cached client from the secret store. This is non-critical and "
                       "initialization will continue."));
}

async::Task<std::optional<QDateTime>> CacheManager::loadCachedServerDate() const {
    return loadDate(persistence_);
}

async::Task<std::optional<ClerkEnvironment>> CacheManager::loadCachedEnvironment() const {
    return load<ClerkEnvironment>(
        persistence_, logger_, ClerkSecretItem::cachedEnvironment,
        QStringLiteral("Failed to load cached environment from the secret store. This is "
                       "non-critical and initialization will continue."));
}

void CacheManager::saveClient(const std::optional<Client>& client,
                              const std::optional<QDateTime>& serverFetchDate) {
    persistence_->write(ClerkSecretItem::cachedClient,
                        client ? std::optional<QByteArray>(json::encode(*client)) : std::nullopt,
                        clientFailure);
    saveServerFetchDate(serverFetchDate);
}

void CacheManager::saveServerFetchDate(const std::optional<QDateTime>& serverFetchDate) {
    persistence_->write(
        ClerkSecretItem::cachedClientServerDate,
        serverFetchDate ? std::optional<QByteArray>(QByteArray::number(serverFetchDate->toMSecsSinceEpoch()))
                        : std::nullopt,
        dateFailure);
}

void CacheManager::saveEnvironment(const ClerkEnvironment& environment) {
    persistence_->write(ClerkSecretItem::cachedEnvironment, json::encode(environment), environmentFailure);
}

void CacheManager::clearAllSecretItems(SecretStore& secrets) {
    for (const QString& account : ClerkSecretItem::all()) {
        try {
            secrets.remove(account);
        } catch (const SecretStoreError&) {
        }
    }
}

void CacheManager::clearAllSecretItemsStrictly(SecretStore& secrets) {
    for (const QString& account : ClerkSecretItem::all())
        secrets.remove(account);
}
