#include "Shell/UserKeyedTask.h"

UserKeyedTask::UserKeyedTask(UserId userId, Work work, QObject* parent)
    : QObject(parent), userId_(std::move(userId)), work_(std::move(work)) {}

UserKeyedTask::~UserKeyedTask() = default;

void UserKeyedTask::update() {
    std::optional<QString> id = userId_();
    if (id && id->isEmpty())
        id.reset();
    if (id == current_)
        return;
    current_ = id;
    tasks_.cancel(running_);
    running_ = 0;
    if (current_)
        running_ = tasks_.spawn(work_(*current_));
}
