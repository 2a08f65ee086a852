#include "Shell/LoadingViewModel.h"

#include "Clock.h"

LoadingViewModel::LoadingViewModel(QObject* parent) : LoadingViewModel(KeyringWait::shared(), parent) {}

LoadingViewModel::LoadingViewModel(KeyringWait& keyring, QObject* parent)
    : QObject(parent), keyring_(keyring) {
    // Reported from the keyring's thread; delivered here on the main thread.
    connect(&keyring_, &KeyringWait::waitingChanged, this, &LoadingViewModel::followKeyring,
            Qt::QueuedConnection);
    followKeyring();
}

void LoadingViewModel::start() {
    if (showSlowHint_ || tasks_.isRunning(waitTask_))
        return;
    waitTask_ = tasks_.spawn(waitThenHint(this));
}

void LoadingViewModel::stop() {
    if (!tasks_.isRunning(waitTask_))
        return;
    tasks_.cancel(waitTask_);
    setShowSlowHint();
}

async::Task<void> LoadingViewModel::waitThenHint(LoadingViewModel* self) {
    co_await async::Clock::current().sleep(slowHintDelay);
    self->setShowSlowHint();
}

void LoadingViewModel::continueWithoutKeyring() {
    keyring_.bypass();
    followKeyring();
}

void LoadingViewModel::followKeyring() {
    if (!keyring_.isWaiting() || keyring_.isBypassed()) {
        tasks_.cancel(keyringTask_);
        setShowKeyringPrompt(false);
    } else if (!showKeyringPrompt_ && !tasks_.isRunning(keyringTask_)) {
        keyringTask_ = tasks_.spawn(waitThenPromptForKeyring(this));
    }
}

async::Task<void> LoadingViewModel::waitThenPromptForKeyring(LoadingViewModel* self) {
    co_await async::Clock::current().sleep(keyringPromptDelay);
    self->setShowKeyringPrompt(true);
}

void LoadingViewModel::setShowKeyringPrompt(bool shown) {
    if (showKeyringPrompt_ == shown)
        return;
    showKeyringPrompt_ = shown;
    Q_EMIT showKeyringPromptChanged();
}

void LoadingViewModel::setShowSlowHint() {
    if (showSlowHint_)
        return;
    showSlowHint_ = true;
    Q_EMIT showSlowHintChanged();
}
