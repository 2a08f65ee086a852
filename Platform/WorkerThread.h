#pragma once

#include "Wakeup.h"

#include <QMutex>
#include <QThread>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

namespace async {

// A thread of its own that runs jobs one at a time, in the order they were posted. Awaiting
// run(fn) executes fn there and resumes the caller on its own thread with fn's result or error;
// a caller destroyed meanwhile is simply not resumed. The destructor lets queued jobs finish.
class WorkerThread {
public:
    explicit WorkerThread(const QString& name);
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread();

    void post(std::function<void()> job);

    template <class F> class RunAwaiter {
        using R = std::invoke_result_t<F>;
        struct State {
            QMutex mutex;
            Wakeup* wakeup = nullptr;
            std::conditional_t<std::is_void_v<R>, bool, std::optional<R>> value{};
            std::exception_ptr error;
        };

    public:
        RunAwaiter(WorkerThread& worker, F fn) : worker_(worker), fn_(std::move(fn)) {}
        RunAwaiter(const RunAwaiter&) = delete;
        RunAwaiter& operator=(const RunAwaiter&) = delete;
        ~RunAwaiter() {
            QMutexLocker lock(&state_->mutex);
            state_->wakeup = nullptr;
        }

        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> handle) {
            wakeup_.arm(handle);
            state_->wakeup = &wakeup_;
            worker_.post([state = state_, fn = std::move(fn_)]() mutable {
                try {
                    if constexpr (std::is_void_v<R>) {
                        fn();
                        state->value = true;
                    } else {
                        state->value.emplace(fn());
                    }
                } catch (...) {
                    state->error = std::current_exception();
                }
                QMutexLocker lock(&state->mutex);
                if (state->wakeup)
                    state->wakeup->fire();
            });
        }
        R await_resume() {
            QMutexLocker lock(&state_->mutex);
            if (state_->error)
                std::rethrow_exception(state_->error);
            if constexpr (!std::is_void_v<R>)
                return std::move(*state_->value);
        }

    private:
        WorkerThread& worker_;
        F fn_;
        std::shared_ptr<State> state_ = std::make_shared<State>();
        Wakeup wakeup_;
    };

    // co_await worker.run(fn)
    template <class F> RunAwaiter<F> run(F fn) { return RunAwaiter<F>(*this, std::move(fn)); }

private:
    QThread thread_;
    QObject* context_;
};

} // namespace async
