#include "DeviceTokenStore.h"

#include "DeviceToken.h"

DeviceTokenStore::DeviceTokenStore(std::unique_ptr<TokenKeyring> keyring) : keyring_(std::move(keyring)) {}

void DeviceTokenStore::fetch(Answer answer) {
    if (!token_.isEmpty())
        return answer(token_, {});
    waiting_.append(std::move(answer));
    if (waiting_.size() > 1)
        return; // the first caller's fetch answers everyone
    const quint64 generation = generation_;
    keyring_->read([this, generation](const QString& stored, const QString& error) {
        if (!error.isEmpty() || DeviceToken::isWellFormed(stored)) {
            if (generation == generation_ && error.isEmpty())
                token_ = stored;
            return finish(stored, error);
        }
        const QString created = DeviceToken::generate();
        keyring_->write(created, [this, created, generation](const QString& writeError) {
            if (generation == generation_ && writeError.isEmpty())
                token_ = created;
            finish(writeError.isEmpty() ? created : QString(), writeError);
        });
    });
}

void DeviceTokenStore::forget(TokenKeyring::Done done) {
    token_.clear();
    ++generation_;
    keyring_->remove(std::move(done));
}

void DeviceTokenStore::finish(const QString& token, const QString& error) {
    const QList<Answer> waiting = std::exchange(waiting_, {});
    for (const Answer& answer : waiting)
        answer(token, error);
}
