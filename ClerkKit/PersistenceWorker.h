#pragma once

#include "ClerkLogger.h"
#include "SecretStore.h"
#include "WorkerThread.h"

#include <QHash>
#include <QMutex>

#include <memory>
#include <optional>

// Does the auth client's secure-storage work on a thread of its own, in the order it was asked
// for. Each item has at most one write waiting: a newer write replaces one not yet started.
// Write failures are logged on the main thread, never thrown.
class PersistenceWorker {
public:
    PersistenceWorker(std::shared_ptr<SecretStore> secrets, ClerkLogger logger);

    // Stores `data`, or removes the item when there is none.
    void write(const QString& account, std::optional<QByteArray> data, const QString& failureMessage);

    // co_await worker.read(account): the item's bytes; throws SecretStoreError.
    auto read(const QString& account) {
        return thread_.run([secrets = secrets_, account] { return secrets->data(account); });
    }
    // co_await worker.run(fn): fn(secrets) on the worker, in turn with the other jobs.
    template <class F> auto run(F fn) {
        return thread_.run([secrets = secrets_, fn = std::move(fn)] { return fn(*secrets); });
    }
    // co_await worker.drain(): every job asked for before has ended.
    auto drain() {
        return thread_.run([] {});
    }

    const std::shared_ptr<SecretStore>& secrets() const { return secrets_; }

private:
    struct Pending {
        std::optional<QByteArray> data;
        QString failureMessage;
    };
    void perform(const QString& account);

    std::shared_ptr<SecretStore> secrets_;
    ClerkLogger logger_;
    QMutex mutex_;
    QHash<QString, Pending> pending_;
    async::WorkerThread thread_; // last: its destructor finishes the queued jobs, which use the above
};
