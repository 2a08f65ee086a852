#pragma once

#include "Task.h"

#include <QtGlobal>

#include <coroutine>
#include <exception>
#include <functional>
#include <map>
#include <type_traits>

namespace async {

// Owns the tasks that an object starts. Destroying the scope (with its owner) or cancelling a
// task destroys the task's coroutine frames at their current suspension point, so nothing in them
// runs again. Declare the scope as the owner's last member so the tasks go before anything they use.
class TaskScope {
public:
    using TaskId = quint64;
    using ErrorHandler = std::function<void(std::exception_ptr)>;

    TaskScope() = default;
    TaskScope(const TaskScope&) = delete;
    TaskScope& operator=(const TaskScope&) = delete;
    ~TaskScope();

    // Starts `task` at once; it runs until its first suspension before spawn returns.
    // Errors go to `onError`, or are logged when there is none.
    TaskId spawn(Task<void> task, ErrorHandler onError = {});

    template <class T, class OnValue> TaskId spawn(Task<T> task, OnValue onValue, ErrorHandler onError = {}) {
        return spawn(deliver(std::move(task), std::move(onValue)), std::move(onError));
    }

    void cancel(TaskId id);
    void cancelAll();
    bool isRunning(TaskId id) const { return roots_.contains(id); }
    int runningCount() const { return int(roots_.size()); }

private:
    template <class T, class OnValue> static Task<void> deliver(Task<T> task, OnValue onValue) {
        if constexpr (std::is_void_v<T>) {
            co_await std::move(task);
            onValue();
        } else {
            onValue(co_await std::move(task));
        }
    }

    void finished(TaskId id);

    std::map<TaskId, std::coroutine_handle<>> roots_;
    TaskId nextId_ = 1;
};

} // namespace async
