#include "PersistenceWorker.h"

#include "KeychainError.h"

#include <QCoreApplication>

PersistenceWorker::PersistenceWorker(std::shared_ptr<Keychain> keychain, ClerkLogger logger)
    : keychain_(std::move(keychain)), logger_(std::move(logger)),
      thread_(QStringLiteral("Clerk persistence")) {}

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
            keychain_->setData(account, *pending.data);
        else
            keychain_->remove(account);
    } catch (const KeychainError&) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [logger = logger_, message = pending.failureMessage] { logger.error(message); },
            Qt::QueuedConnection);
    }
}
