#include "Shell/LoadingViewModel.h"

#include "Clock.h"

LoadingViewModel::LoadingViewModel(QObject* parent) : LoadingViewModel(KeychainWait::shared(), parent) {}

LoadingViewModel::LoadingViewModel(KeychainWait& keychain, QObject* parent)
    : QObject(parent), keychain_(keychain) {
    // Reported from the keychain's thread; delivered here on the main thread.
    connect(&keychain_, &KeychainWait::waitingChanged, this, &LoadingViewModel::followKeychain,
            Qt::QueuedConnection);
    followKeychain();
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
    keychain_.bypass();
    followKeychain();
}

void LoadingViewModel::followKeychain() {
    if (!keychain_.isWaiting() || keychain_.isBypassed()) {
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
