#pragma once

#include "DeviceTokenStore.h"
#include "PushConnection.h"
#include "PushSettings.h"
#include "PushStore.h"

#include <QObject>

// Push in the agent: the device token, the settings in push.json and the stream. Started by the
// app (start), on again after a restart or login while its settings say so (resume), off after
// stop() or when the server refuses the device. Every new message's seq is saved before it is
// handed on, so a restarted agent asks only for what it has not seen.
class PushService : public QObject {
    Q_OBJECT
public:
    PushService(PushStore store, std::unique_ptr<TokenKeyring> keyring,
                ReconnectSchedule schedule = ReconnectSchedule(), QObject* parent = nullptr);

    DeviceTokenStore& tokens() { return tokens_; }
    PushConnection& connection() { return connection_; }
    bool isOn() const { return settings_.active; }

    // Opens the stream again when push was on when the agent last ran.
    void resume();
    // Turns push on for `origin`, trusting `certificatePem` besides the system's CAs. Both must
    // have passed PushEndpoint::problemWith.
    void start(const QString& origin, const QString& certificatePem);
    // Closes the stream, forgets the settings and deletes the token; `done` has the keyring's error.
    void stop(TokenKeyring::Done done);

Q_SIGNALS:
    void received(const PushMessage& message);
    void onChanged();

private:
    void connectWithToken();
    void onReceived(const PushMessage& message);
    void turnOff();

    PushStore store_;
    DeviceTokenStore tokens_;
    PushConnection connection_;
    PushSettings settings_;
    // Counts starts and stops: a token that arrives after a later one is not used.
    quint64 generation_ = 0;
};
