#include "SecretServiceStore.h"

#include "KeyringWait.h"
#include "SecretStoreError.h"

#include <QEventLoop>

#include <memory>
#include <qt6keychain/keychain.h>

namespace {

// Runs the job to its end on the calling thread, unless the user chose to go on without the
// keyring: then it returns nothing at once, and a job still waiting is left to delete itself when
// the service answers (the service's callback holds on to it).
template <class Job> Job* runToCompletion(Job* job, const QString& account, KeyringWait& wait) {
    if (wait.isBypassed()) {
        delete job;
        return nullptr;
    }
    job->setAutoDelete(false);
    job->setInsecureFallback(false);
    job->setKey(account);
    bool finished = false;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QObject::connect(&wait, &KeyringWait::bypassRequested, &loop, &QEventLoop::quit);
    wait.begin();
    job->start();
    if (!wait.isBypassed())
        loop.exec();
    wait.end();
    if (finished)
        return job;
    QObject::disconnect(job, nullptr, &loop, nullptr);
    job->setAutoDelete(true);
    return nullptr;
}

[[noreturn]] void fail(const char* what, const QString& account, const QKeychain::Job& job) {
    throw SecretStoreError(
        QStringLiteral("%1 \"%2\" failed: %3").arg(QLatin1String(what), account, job.errorString()));
}

} // namespace

SecretServiceStore::SecretServiceStore(QString service, KeyringWait& wait)
    : service_(std::move(service)), wait_(wait) {}

std::optional<QByteArray> SecretServiceStore::data(const QString& account) {
    std::unique_ptr<QKeychain::ReadPasswordJob> job(
        runToCompletion(new QKeychain::ReadPasswordJob(service_), account, wait_));
    if (!job || job->error() == QKeychain::EntryNotFound)
        return std::nullopt;
    if (job->error() != QKeychain::NoError)
        fail("Reading", account, *job);
    return job->binaryData();
}

void SecretServiceStore::setData(const QString& account, const QByteArray& data) {
    auto* write = new QKeychain::WritePasswordJob(service_);
    write->setBinaryData(data);
    std::unique_ptr<QKeychain::WritePasswordJob> job(runToCompletion(write, account, wait_));
    if (job && job->error() != QKeychain::NoError)
        fail("Writing", account, *job);
}

void SecretServiceStore::remove(const QString& account) {
    std::unique_ptr<QKeychain::DeletePasswordJob> job(
        runToCompletion(new QKeychain::DeletePasswordJob(service_), account, wait_));
    if (job && job->error() != QKeychain::NoError && job->error() != QKeychain::EntryNotFound)
        fail("Removing", account, *job);
}
