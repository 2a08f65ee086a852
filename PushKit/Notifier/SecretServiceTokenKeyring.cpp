#include "SecretServiceTokenKeyring.h"

#include <qt6keychain/keychain.h>

namespace {

template <class Job> Job* makeJob(QObject* owner) {
    auto* job = new Job(SecretServiceTokenKeyring::service, owner);
    job->setKey(SecretServiceTokenKeyring::key);
    job->setInsecureFallback(false);
    job->setAutoDelete(true);
    return job;
}

QString failure(const char* what, const QKeychain::Job& job) {
    return QStringLiteral("%1 the device token in the Secret Service failed: %2")
        .arg(QLatin1String(what), job.errorString());
}

} // namespace

void SecretServiceTokenKeyring::read(ReadDone done) {
    auto* job = makeJob<QKeychain::ReadPasswordJob>(this);
    connect(job, &QKeychain::Job::finished, this, [done = std::move(done)](QKeychain::Job* finished) {
        const auto& read = static_cast<const QKeychain::ReadPasswordJob&>(*finished);
        if (read.error() == QKeychain::NoError)
            done(read.textData(), {});
        else if (read.error() == QKeychain::EntryNotFound)
            done({}, {});
        else
            done({}, failure("Reading", read));
    });
    job->start();
}

void SecretServiceTokenKeyring::write(const QString& token, Done done) {
    auto* job = makeJob<QKeychain::WritePasswordJob>(this);
    job->setTextData(token);
    connect(job, &QKeychain::Job::finished, this, [done = std::move(done)](QKeychain::Job* finished) {
        done(finished->error() == QKeychain::NoError ? QString() : failure("Writing", *finished));
    });
    job->start();
}

void SecretServiceTokenKeyring::remove(Done done) {
    auto* job = makeJob<QKeychain::DeletePasswordJob>(this);
    connect(job, &QKeychain::Job::finished, this, [done = std::move(done)](QKeychain::Job* finished) {
        const bool removed =
            finished->error() == QKeychain::NoError || finished->error() == QKeychain::EntryNotFound;
        done(removed ? QString() : failure("Removing", *finished));
    });
    job->start();
}
