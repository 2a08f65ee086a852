#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <functional>

// Signing out from a button or a menu: one sign-out at a time, and whether one is under way.
class SignOutCommand : public QObject {
    Q_OBJECT
public:
    using SignOut = std::function<async::Task<void>()>;

    // AuthKit's sign-out.
    explicit SignOutCommand(QObject* parent = nullptr);
    // `signOut` replaces AuthKit::signOut (tests).
    explicit SignOutCommand(SignOut signOut, QObject* parent = nullptr);

    bool isRunning() const { return isRunning_; }
    // Starts a sign-out unless one is under way.
    void run();
    // The sign-out itself, for a flow that signs out as its last step.
    async::Task<void> signOut() const { return signOut_(); }

Q_SIGNALS:
    void isRunningChanged();

private:
    static async::Task<void> runToEnd(SignOutCommand* self);
    void setRunning(bool running);

    SignOut signOut_;
    bool isRunning_ = false;
    async::TaskScope tasks_; // last: tasks end before what they use
};
