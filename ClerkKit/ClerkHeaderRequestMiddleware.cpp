#include "ClerkHeaderRequestMiddleware.h"

#include "ClerkSecretItem.h"
#include "SecretStoreError.h"

async::Task<void> ClerkHeaderRequestMiddleware::prepare(ClerkRequest& request) {
    HttpHeaders& headers = request.http.headers;
    std::optional<QByteArray> deviceToken;
    try {
        deviceToken = co_await persistence_->read(ClerkSecretItem::deviceToken);
    } catch (const SecretStoreError&) {
        // Without a readable token the request goes out as a new device would send it.
    }
    if (deviceToken && !deviceToken->isEmpty())
        setHeader(headers, "Authorization", *deviceToken);
    if (const auto clientId = clientId_ ? clientId_() : std::nullopt)
        setHeader(headers, "x-clerk-client-id", clientId->toUtf8());
    if (device_.deviceId)
        setHeader(headers, "x-native-device-id", device_.deviceId->toUtf8());
    setHeader(headers, "x-device-type", device_.deviceType.toUtf8());
    setHeader(headers, "x-device-model", device_.deviceModel.toUtf8());
    setHeader(headers, "x-os-version", device_.osVersion.toUtf8());
    setHeader(headers, "x-app-version", device_.appVersion.toUtf8());
    setHeader(headers, "x-bundle-id", device_.appId.toUtf8());
    setHeader(headers, "x-is-sandbox", device_.isSandboxed ? "true" : "false");
}
