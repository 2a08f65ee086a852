#include "TaskScope.h"

#include "Logging.h"

#include <stdexcept>

namespace async {

namespace {

// The coroutine at the bottom of every spawned task. It reports its end to the scope, which
// destroys it; a root that outlived its scope destroys itself.
struct Root {
    struct promise_type {
        TaskScope* scope = nullptr;
        TaskScope::TaskId id = 0;
        void (*onFinished)(TaskScope*, TaskScope::TaskId) = nullptr;

        Root get_return_object() { return Root{std::coroutine_handle<promise_type>::from_promise(*this)}; }
        std::suspend_always initial_suspend() noexcept { return {}; }
        struct Final {
            bool await_ready() noexcept { return false; }
            void await_suspend(std::coroutine_handle<promise_type> self) noexcept {
                auto& p = self.promise();
                if (p.scope)
                    p.onFinished(p.scope, p.id);
                else
                    self.destroy();
            }
            void await_resume() noexcept {}
        };
        Final final_suspend() noexcept { return {}; }
        void return_void() noexcept {}
        void unhandled_exception() noexcept { std::terminate(); }
    };
    std::coroutine_handle<promise_type> handle;
};

Root run(Task<void> task, TaskScope::ErrorHandler onError) {
    try {
        co_await std::move(task);
    } catch (...) {
        if (onError) {
            onError(std::current_exception());
        } else {
            try {
                throw;
            } catch (const std::exception& e) {
                qCWarning(lcTasks, "task ended with an unhandled error: %s", e.what());
            } catch (...) {
                qCWarning(lcTasks, "task ended with an unhandled error");
            }
        }
    }
}

} // namespace

TaskScope::~TaskScope() {
    cancelAll();
}

TaskScope::TaskId TaskScope::spawn(Task<void> task, ErrorHandler onError) {
    auto root = run(std::move(task), std::move(onError));
    const TaskId id = nextId_++;
    auto& promise = root.handle.promise();
    promise.scope = this;
    promise.id = id;
    promise.onFinished = [](TaskScope* scope, TaskId finishedId) { scope->finished(finishedId); };
    roots_.emplace(id, root.handle);
    root.handle.resume();
    return id;
}

void TaskScope::cancel(TaskId id) {
    auto it = roots_.find(id);
    if (it == roots_.end())
        return;
    auto handle = it->second;
    roots_.erase(it);
    handle.destroy();
}

void TaskScope::cancelAll() {
    while (!roots_.empty())
        cancel(roots_.begin()->first);
}

void TaskScope::finished(TaskId id) {
    cancel(id);
}

} // namespace async
