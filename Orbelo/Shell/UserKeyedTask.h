#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "TaskScope.h"

#include <functional>
#include <optional>

// Runs a piece of work for the signed-in user: once per user id, again whenever the id changes,
// and not at all while nobody is signed in. A change of user cancels the run for the previous one.
class UserKeyedTask : public QObject {
    Q_OBJECT
public:
    using UserId = std::function<std::optional<QString>()>;
    using Work = std::function<async::Task<void>(QString userId)>;

    UserKeyedTask(UserId userId, Work work, QObject* parent = nullptr);
    ~UserKeyedTask() override;

    // Re-reads the user id; starts the work when it is a new one.
    void update();
    bool isRunning() const { return tasks_.isRunning(running_); }

private:
    UserId userId_;
    Work work_;
    std::optional<QString> current_;
    async::TaskScope::TaskId running_ = 0;
    async::TaskScope tasks_; // last: tasks end before what they use
};
