#pragma once

#include "TokenKeyring.h"

#include <QList>

#include <memory>

// The device token, created on first demand and kept in the keyring. Callers asking while the
// keyring works share one answer, so two early callers never make two tokens.
class DeviceTokenStore {
public:
    using Answer = TokenKeyring::ReadDone;

    explicit DeviceTokenStore(std::unique_ptr<TokenKeyring> keyring);

    // The stored token, or a new one once it is stored.
    void fetch(Answer answer);
    // Deletes the token; the next fetch makes a new one.
    void forget(TokenKeyring::Done done);

private:
    void finish(const QString& token, const QString& error);

    std::unique_ptr<TokenKeyring> keyring_;
    QList<Answer> waiting_;
    QString token_;
    // Bumped by forget(): a fetch that was under way when the token was deleted is not kept.
    quint64 generation_ = 0;
};
