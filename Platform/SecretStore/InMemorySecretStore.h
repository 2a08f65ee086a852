#pragma once

#include "SecretStore.h"
#include "SecretStoreError.h"

#include <QHash>
#include <QMutex>
#include <QSet>

// Secure storage that lives as long as the object (tests). Any account can be made to fail.
class InMemorySecretStore final : public SecretStore {
public:
    std::optional<QByteArray> data(const QString& account) override {
        QMutexLocker lock(&mutex_);
        check(account);
        const auto it = items_.constFind(account);
        return it == items_.cend() ? std::nullopt : std::optional<QByteArray>(*it);
    }
    void setData(const QString& account, const QByteArray& data) override {
        QMutexLocker lock(&mutex_);
        check(account);
        items_.insert(account, data);
        ++writes_;
    }
    void remove(const QString& account) override {
        QMutexLocker lock(&mutex_);
        check(account);
        items_.remove(account);
    }

    void setFailing(const QString& account, bool failing) {
        QMutexLocker lock(&mutex_);
        if (failing)
            failing_.insert(account);
        else
            failing_.remove(account);
    }
    int writeCount() const {
        QMutexLocker lock(&mutex_);
        return writes_;
    }

private:
    void check(const QString& account) const {
        if (failing_.contains(account))
            throw SecretStoreError(QStringLiteral("The item \"%1\" cannot be accessed.").arg(account));
    }

    mutable QMutex mutex_;
    QHash<QString, QByteArray> items_;
    QSet<QString> failing_;
    int writes_ = 0;
};
