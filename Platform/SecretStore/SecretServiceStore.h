#pragma once

#include "KeyringWait.h"
#include "SecretStore.h"

// Items in the desktop's Secret Service (GNOME Keyring, KWallet, KeePassXC) through QtKeychain,
// stored under `service` with the account as key. Each call waits for the service with an event
// loop of its own: call it from a worker thread, never from the main thread. `wait` hears of each
// call while it waits, and can let the calls go on without the keyring.
class SecretServiceStore final : public SecretStore {
public:
    explicit SecretServiceStore(QString service, KeyringWait& wait = KeyringWait::shared());

    std::optional<QByteArray> data(const QString& account) override;
    void setData(const QString& account, const QByteArray& data) override;
    void remove(const QString& account) override;

private:
    QString service_;
    KeyringWait& wait_;
};
