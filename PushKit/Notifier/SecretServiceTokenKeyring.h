#pragma once

#include "TokenKeyring.h"

#include <QObject>

// The device token in the desktop's Secret Service through QtKeychain, as the item
// "push-device-token" of the service "com.orbelo.desktop.Notifier". Jobs run asynchronously on the
// event loop (a locked keyring waits for the user's password without blocking the agent).
class SecretServiceTokenKeyring final : public QObject, public TokenKeyring {
    Q_OBJECT
public:
    static inline const QString service = QStringLiteral("com.orbelo.desktop.Notifier");
    static inline const QString key = QStringLiteral("push-device-token");

    using QObject::QObject;

    void read(ReadDone done) override;
    void write(const QString& token, Done done) override;
    void remove(Done done) override;
};
