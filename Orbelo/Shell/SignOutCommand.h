#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <functional>

class SignOutConfirmation;

// Signing out from a button or a menu: one sign-out at a time, and whether one is under way. When
// some screen holds unsaved work the user is asked first (SignOutConfirmation).
class SignOutCommand : public QObject {
    Q_OBJECT
public:
    using SignOut = std::function<async::Task<void>()>;

    // AuthSession's sign-out.
    explicit SignOutCommand(QObject* parent = nullptr);
    // `signOut` replaces AuthSession::signOut (tests).
    explicit SignOutCommand(SignOut signOut, QObject* parent = nullptr);
    SignOutCommand(SignOut signOut, SignOutConfirmation& confirmation, QObject* parent = nullptr);

    bool isRunning() const { return isRunning_; }
    // Starts a sign-out unless one is under way, once the user agrees to lose any unsaved work.
    void run();
    // The sign-out itself, for a flow that signs out as its last step.
    async::Task<void> signOut() const { return signOut_(); }

Q_SIGNALS:
    void isRunningChanged();

private:
    static async::Task<void> runToEnd(SignOutCommand* self);
    void start();
    void setRunning(bool running);

    SignOut signOut_;
    SignOutConfirmation& confirmation_;
    bool isRunning_ = false;
    async::TaskScope tasks_; // last: tasks end before what they use
};
