#pragma once

#include "TaskScope.h"
#include "URLError.h"
#include "Wakeup.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace async {

// One piece of work that any number of callers await together. The work runs as a root task of
// its owner's scope, so a caller that goes away (its frame destroyed) leaves it running for the
// others. Its value or error reaches every waiter; when the work is cancelled before it ends,
// the waiters resume with URLError(cancelled).
template <class T> class SharedTask {
    struct State {
        std::optional<T> value;
        std::exception_ptr error;
        bool done = false;
        std::vector<Wakeup*> waiters;
        std::function<void()> onDone;

        void finish() {
            done = true;
            if (onDone)
                std::exchange(onDone, {})();
            for (Wakeup* waiter : std::exchange(waiters, {}))
                waiter->fire();
        }
    };

    // Completes the state however the work's frame ends: normally or destroyed by cancellation.
    struct Completion {
        std::shared_ptr<State> state;
        ~Completion() {
            if (state->done)
                return;
            if (!state->value && !state->error)
                state->error = std::make_exception_ptr(URLError(URLError::Code::cancelled));
            state->finish();
        }
    };

public:
    class Awaiter {
    public:
        explicit Awaiter(std::shared_ptr<State> state) : state_(std::move(state)) {}
        Awaiter(const Awaiter&) = delete;
        Awaiter& operator=(const Awaiter&) = delete;
        ~Awaiter() { std::erase(state_->waiters, &wakeup_); }

        bool await_ready() const noexcept { return state_->done; }
        void await_suspend(std::coroutine_handle<> handle) {
            wakeup_.arm(handle);
            state_->waiters.push_back(&wakeup_);
        }
        T await_resume() const {
            if (state_->error)
                std::rethrow_exception(state_->error);
            return *state_->value;
        }

    private:
        std::shared_ptr<State> state_;
        Wakeup wakeup_;
    };

    // Starts `work` in `scope`; `onDone` runs once when it has ended, before any waiter resumes.
    static SharedTask start(TaskScope& scope, Task<T> work, std::function<void()> onDone = {}) {
        SharedTask shared;
        shared.state_->onDone = std::move(onDone);
        shared.id_ = scope.spawn(run(shared.state_, std::move(work)));
        return shared;
    }

    // co_await shared.wait(): the work's value, or its error.
    Awaiter wait() const { return Awaiter(state_); }
    bool isDone() const { return state_->done; }
    TaskScope::TaskId id() const { return id_; }

private:
    SharedTask() : state_(std::make_shared<State>()) {}

    static Task<void> run(std::shared_ptr<State> state, Task<T> work) {
        Completion completion{state};
        try {
            state->value.emplace(co_await std::move(work));
        } catch (...) {
            state->error = std::current_exception();
        }
    }

    std::shared_ptr<State> state_;
    TaskScope::TaskId id_ = 0;
};

} // namespace async
