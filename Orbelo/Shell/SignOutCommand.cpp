#include "Shell/SignOutCommand.h"

#include "Auth/AuthSession.h"
#include "Shell/SignOutConfirmation.h"

SignOutCommand::SignOutCommand(QObject* parent)
    : SignOutCommand([] { return AuthSession::signOut(); }, parent) {}

SignOutCommand::SignOutCommand(SignOut signOut, QObject* parent)
    : SignOutCommand(std::move(signOut), SignOutConfirmation::shared(), parent) {}

SignOutCommand::SignOutCommand(SignOut signOut, SignOutConfirmation& confirmation, QObject* parent)
    : QObject(parent), signOut_(std::move(signOut)), confirmation_(confirmation) {}

void SignOutCommand::run() {
    if (!isRunning_)
        confirmation_.ask(this, [this] { start(); });
}

void SignOutCommand::start() {
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
