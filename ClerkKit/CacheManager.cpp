#include "CacheManager.h"

#include "ClerkKeychainItem.h"
#include "Json.h"
#include "KeychainError.h"

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
    } catch (const KeychainError&) {
    } catch (const json::DecodingError&) {
    }
    logger.error(failure);
    co_return std::nullopt;
}

async::Task<std::optional<QDateTime>> loadDate(std::shared_ptr<PersistenceWorker> persistence) {
    try {
        const auto bytes = co_await persistence->read(ClerkKeychainItem::cachedClientServerDate);
        bool ok = false;
        const qint64 ms = bytes ? bytes->toLongLong(&ok) : 0;
        if (ok)
            co_return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    } catch (const KeychainError&) {
    }
    co_return std::nullopt;
}

const QString clientFailure = QStringLiteral(
    "Failed to save client to keychain. This is non-critical but may affect offline functionality.");
const QString dateFailure =
    QStringLiteral("Failed to save server fetch date to keychain. This is non-critical.");
const QString environmentFailure = QStringLiteral(
    "Failed to save environment to keychain. This is non-critical but may affect offline functionality.");

async::Task<bool> claim(std::shared_ptr<PersistenceWorker> persistence, ClerkLogger logger,
                        QByteArray instance) {
    const auto claimItems = [instance](Keychain& keychain) {
        const auto stored = keychain.data(ClerkKeychainItem::instance);
        if (stored == instance)
            return;
        if (stored) {
            try {
                CacheManager::clearAllKeychainItemsStrictly(keychain);
            } catch (const KeychainError&) {
                CacheManager::clearAllKeychainItems(keychain); // as much as can go
                throw;
            }
        }
        keychain.setData(ClerkKeychainItem::instance, instance);
    };
    try {
        co_await persistence->run(claimItems);
        co_return true;
    } catch (const KeychainError&) {
    }
    logger.error(QStringLiteral("Unable to clear Clerk keychain items during reconfiguration."));
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
    return load<Client>(persistence_, logger_, ClerkKeychainItem::cachedClient,
                        QStringLiteral("Failed to load cached client from keychain. This is non-critical and "
                                       "initialization will continue."));
}

async::Task<std::optional<QDateTime>> CacheManager::loadCachedServerDate() const {
    return loadDate(persistence_);
}

async::Task<std::optional<ClerkEnvironment>> CacheManager::loadCachedEnvironment() const {
    return load<ClerkEnvironment>(persistence_, logger_, ClerkKeychainItem::cachedEnvironment,
                                  QStringLiteral("Failed to load cached environment from keychain. This is "
                                                 "non-critical and initialization will continue."));
}

void CacheManager::saveClient(const std::optional<Client>& client,
                              const std::optional<QDateTime>& serverFetchDate) {
    persistence_->write(ClerkKeychainItem::cachedClient,
                        client ? std::optional<QByteArray>(json::encode(*client)) : std::nullopt,
                        clientFailure);
    saveServerFetchDate(serverFetchDate);
}

void CacheManager::saveServerFetchDate(const std::optional<QDateTime>& serverFetchDate) {
    persistence_->write(
        ClerkKeychainItem::cachedClientServerDate,
        serverFetchDate ? std::optional<QByteArray>(QByteArray::number(serverFetchDate->toMSecsSinceEpoch()))
                        : std::nullopt,
        dateFailure);
}

void CacheManager::saveEnvironment(const ClerkEnvironment& environment) {
    persistence_->write(ClerkKeychainItem::cachedEnvironment, json::encode(environment), environmentFailure);
}

void CacheManager::clearAllKeychainItems(Keychain& keychain) {
    for (const QString& account : ClerkKeychainItem::all()) {
        try {
            keychain.remove(account);
        } catch (const KeychainError&) {
        }
    }
}

void CacheManager::clearAllKeychainItemsStrictly(Keychain& keychain) {
    for (const QString& account : ClerkKeychainItem::all())
        keychain.remove(account);
}
