#include "PersistenceWorker.h"

#include "SecretStoreError.h"

#include <QCoreApplication>

PersistenceWorker::PersistenceWorker(std::shared_ptr<SecretStore> secrets, ClerkLogger logger)
    : secrets_(std::move(secrets)), logger_(std::move(logger)), thread_(QStringLiteral("Clerk persistence")) {
}

void PersistenceWorker::write(const QString& account, std::optional<QByteArray> data,
                              const QString& failureMessage) {
    QMutexLocker lock(&mutex_);
    const bool queued = pending_.contains(account);
    pending_.insert(account, Pending{std::move(data), failureMessage});
    if (!queued)
        thread_.post([this, account] { perform(account); });
}

void PersistenceWorker::perform(const QString& account) {
    Pending pending;
    {
        QMutexLocker lock(&mutex_);
        pending = pending_.take(account);
    }
    try {
        if (pending.data)
            secrets_->setData(account, *pending.data);
        else
            secrets_->remove(account);
    } catch (const SecretStoreError&) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [logger = logger_, message = pending.failureMessage] { logger.error(message); },
            Qt::QueuedConnection);
    }
}
