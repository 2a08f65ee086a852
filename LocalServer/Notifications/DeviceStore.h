#pragma once

#include <QString>
#include <QStringList>

struct ServerContext;

// The push devices of each user: a device token belongs to the user and the session that last
// registered it, and is forgotten when that session ends (sign-out, revocation, or expiry once
// the session is next looked at).
class DeviceStore {
public:
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
    // The tokens of the user's devices whose session is still active at `nowMs`.
    QStringList tokensOf(const QString& userId, qint64 nowMs);
    // Forgets every device whose session is no longer active.
    void forgetEndedSessions();

private:
    ServerContext& context_;
};
