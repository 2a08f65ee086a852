#include "SignOutCommand.h"

#include "AuthKit.h"

SignOutCommand::SignOutCommand(QObject* parent) : SignOutCommand([] { return AuthKit::signOut(); }, parent) {}

SignOutCommand::SignOutCommand(SignOut signOut, QObject* parent)
    : QObject(parent), signOut_(std::move(signOut)) {}

void SignOutCommand::run() {
    if (isRunning_)
        return;
    setRunning(true);
    tasks_.spawn(runToEnd(this),
                 async::TaskScope::ErrorHandler([this](std::exception_ptr) { setRunning(false); }));
}

async::Task<void> SignOutCommand::runToEnd(SignOutCommand* self) {
    co_await self->signOut_();
    self->setRunning(false);
}

void SignOutCommand::setRunning(bool running) {
    if (running == isRunning_)
        return;
    isRunning_ = running;
    Q_EMIT isRunningChanged();
}
