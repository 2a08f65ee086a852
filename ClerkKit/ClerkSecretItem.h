#pragma once

#include <QString>
#include <QStringList>

// The accounts of the auth client's items in secure storage.
namespace ClerkSecretItem {

inline const QString cachedClient = QStringLiteral("cachedClient");
inline const QString cachedClientServerDate = QStringLiteral("cachedClientServerDate");
inline const QString cachedEnvironment = QStringLiteral("cachedEnvironment");
inline const QString deviceToken = QStringLiteral("clerkDeviceToken");
inline const QString deviceTokenSynced = QStringLiteral("clerkDeviceTokenSynced");
inline const QString pendingMagicLinkFlow = QStringLiteral("pendingMagicLinkFlow");
// Which instance the other items belong to: a hash of its publishable key. Not one of all().
inline const QString instance = QStringLiteral("clerkInstance");

inline QStringList all() {
    return {cachedClient, cachedClientServerDate, cachedEnvironment,
            deviceToken,  deviceTokenSynced,      pendingMagicLinkFlow};
}

} // namespace ClerkSecretItem
