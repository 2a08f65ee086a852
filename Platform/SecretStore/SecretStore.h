#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Secure storage of small secrets as generic-password items: one item per account name under the
// store's service. Calls block until the store has answered, so keep them off the main thread
// (implementations other than the in-memory one wait on a secret service). Failures throw
// SecretStoreError; an absent item is not a failure.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    virtual std::optional<QByteArray> data(const QString& account) = 0;
    virtual void setData(const QString& account, const QByteArray& data) = 0;
    // Removing an absent item succeeds.
    virtual void remove(const QString& account) = 0;
};
