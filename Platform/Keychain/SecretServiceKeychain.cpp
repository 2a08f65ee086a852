#include "SecretServiceKeychain.h"

#include "KeychainError.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

// Runs the job to its end on the calling thread.
void runToCompletion(QKeychain::Job& job, const QString& account) {
    job.setAutoDelete(false);
    job.setInsecureFallback(false);
    job.setKey(account);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
}

[[noreturn]] void fail(const char* what, const QString& account, const QKeychain::Job& job) {
    throw KeychainError(
        QStringLiteral("%1 \"%2\" failed: %3").arg(QLatin1String(what), account, job.errorString()));
}

} // namespace

SecretServiceKeychain::SecretServiceKeychain(QString service) : service_(std::move(service)) {}

std::optional<QByteArray> SecretServiceKeychain::data(const QString& account) {
    QKeychain::ReadPasswordJob job(service_);
    runToCompletion(job, account);
    if (job.error() == QKeychain::EntryNotFound)
        return std::nullopt;
    if (job.error() != QKeychain::NoError)
        fail("Reading", account, job);
    return job.binaryData();
}

void SecretServiceKeychain::setData(const QString& account, const QByteArray& data) {
    QKeychain::WritePasswordJob job(service_);
    job.setBinaryData(data);
    runToCompletion(job, account);
    if (job.error() != QKeychain::NoError)
        fail("Writing", account, job);
}

void SecretServiceKeychain::remove(const QString& account) {
    QKeychain::DeletePasswordJob job(service_);
    runToCompletion(job, account);
    if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound)
        fail("Removing", account, job);
}
