#include "LoadingViewModel.h"

#include "Clock.h"

LoadingViewModel::LoadingViewModel(QObject* parent) : QObject(parent) {}

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

void LoadingViewModel::setShowSlowHint() {
    if (showSlowHint_)
        return;
    showSlowHint_ = true;
    Q_EMIT showSlowHintChanged();
}
