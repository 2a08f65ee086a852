#pragma once

#include <QString>
#include <QUrl>

// A publishable key: "pk_test_" (development instance) or "pk_live_" (production instance) and the
// Base64URL text of the instance's Frontend API host followed by "$".
namespace PublishableKey {

// "https://" + the host the key names; throws ClerkInitializationError for an invalid key.
QUrl frontendApiUrl(const QString& key);
bool isDevelopment(const QString& key);

} // namespace PublishableKey
