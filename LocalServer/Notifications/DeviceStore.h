#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct ServerContext;

// The push devices of each user, each kept as its token's hash (SecretHash): a device token
// belongs to the user and the session that last registered it, and is forgotten when that session ends
// (sign-out, revocation, or expiry once the session is next looked at). A device that is forgotten or changes
// hands loses its push streams.
class DeviceStore {
public:
    // A device that belongs to a signed-in user.
    struct Device {
        QString deviceToken;
        QString userId;
        qint64 registeredAtMs = 0; // when it was registered by this user
    };

    struct Registration {
        QString deviceToken;
        QString platform;
        QString appVersion; // empty: not given
    };

    explicit DeviceStore(ServerContext& context) : context_(context) {}

    // Stores or refreshes the device at `nowMs`; a token registered by another user moves to
    // this one. False when the write failed.
    bool registerDevice(const QString& userId, const QString& sessionId, const Registration& device,
                        qint64 nowMs);
    // The device of `deviceToken` while its session is active at `nowMs`.
    std::optional<Device> find(const QString& deviceToken, qint64 nowMs);
    // The token hashes of the user's devices whose session is still active at `nowMs`.
    QStringList tokenHashesOf(const QString& userId, qint64 nowMs);
    // Forgets every device whose session is no longer active.
    void forgetEndedSessions();
    // Inside the caller's transaction: replaces tokens stored in plain text by older versions
    // with their hashes.
    bool hashStoredTokens();

    // A token as the app writes it: 32 bytes in lower-case hexadecimal.
    static bool isToken(const QString& token);

private:
    ServerContext& context_;
};
