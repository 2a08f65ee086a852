#include "Shell/RootSplashModel.h"

#include "Clock.h"

RootSplashModel::RootSplashModel(QObject* parent) : QObject(parent) {}

void RootSplashModel::setMinimumDisplay(int milliseconds) {
    if (milliseconds == minimumDisplay_)
        return;
    minimumDisplay_ = milliseconds;
    Q_EMIT minimumDisplayChanged();
}

void RootSplashModel::start() {
    if (!splashVisible_ || tasks_.isRunning(hideTask_))
        return;
    hideTask_ = tasks_.spawn(hideWhenDue(this, std::chrono::milliseconds(minimumDisplay_)));
}

async::Task<void> RootSplashModel::hideWhenDue(RootSplashModel* self, std::chrono::milliseconds wait) {
    co_await async::Clock::current().sleep(wait);
    self->splashVisible_ = false;
    Q_EMIT self->splashVisibleChanged();
}
