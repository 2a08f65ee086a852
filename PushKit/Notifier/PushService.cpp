#include "PushService.h"

#include "NotifierLogging.h"

PushService::PushService(PushStore store, std::unique_ptr<TokenKeyring> keyring, ReconnectSchedule schedule,
                         QObject* parent)
    : QObject(parent), store_(std::move(store)), tokens_(std::move(keyring)),
      connection_(std::move(schedule)) {
    connect(&connection_, &PushConnection::received, this, &PushService::onReceived);
    connect(&connection_, &PushConnection::refused, this, &PushService::turnOff);
}

void PushService::resume() {
    const std::optional<PushSettings> saved = store_.load();
    if (!saved || !saved->active)
        return;
    settings_ = *saved;
    qCInfo(lcNotifier, "push was on; reopening the stream");
    Q_EMIT onChanged();
    connectWithToken();
}

void PushService::start(const QString& origin, const QString& certificatePem) {
    // The same server keeps its place in the stream, also across a refusal or a restart.
    const PushSettings previous =
        settings_.origin.isEmpty() ? store_.load().value_or(PushSettings{}) : settings_;
    const qint64 lastSeq = previous.origin == origin ? previous.lastSeq : 0;
    const bool wasOn = settings_.active;
    settings_ = PushSettings{origin, certificatePem, lastSeq, true};
    store_.save(settings_);
    if (!wasOn)
        Q_EMIT onChanged();
    connection_.close();
    connectWithToken();
}

void PushService::stop(TokenKeyring::Done done) {
    ++generation_;
    connection_.close();
    store_.clear();
    const bool wasOn = settings_.active;
    settings_ = PushSettings{};
    if (wasOn)
        Q_EMIT onChanged();
    tokens_.forget(std::move(done));
}

void PushService::connectWithToken() {
    const quint64 generation = ++generation_;
    tokens_.fetch([this, generation](const QString& token, const QString& error) {
        if (generation != generation_)
            return; // stopped or started again meanwhile
        if (!error.isEmpty()) {
            qCWarning(lcNotifier, "push is off: %s", qUtf8Printable(error));
            return turnOff();
        }
        connection_.open(PushEndpoint{settings_.origin, settings_.certificatePem, token}, settings_.lastSeq);
    });
}

void PushService::onReceived(const PushMessage& message) {
    settings_.lastSeq = message.seq;
    store_.save(settings_);
    Q_EMIT received(message);
}

void PushService::turnOff() {
    ++generation_;
    connection_.close();
    if (!settings_.active)
        return;
    settings_.active = false;
    store_.save(settings_);
    Q_EMIT onChanged();
}
