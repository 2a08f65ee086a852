#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace async {

namespace detail {

// Shared by every promise: the awaiting coroutine to resume when this one finishes, and the
// exception it ended with, if any.
struct PromiseBase {
    std::coroutine_handle<> continuation;
    std::exception_ptr exception;

    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <class Promise>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> self) noexcept {
            auto next = self.promise().continuation;
            return next ? next : std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { exception = std::current_exception(); }
};

template <class T> struct ValuePromise : PromiseBase {
    std::optional<T> value;
    template <class U> void return_value(U&& v) { value.emplace(std::forward<U>(v)); }
    T take() {
        if (exception)
            std::rethrow_exception(exception);
        return std::move(*value);
    }
};

template <> struct ValuePromise<void> : PromiseBase {
    void return_void() noexcept {}
    void take() {
        if (exception)
            std::rethrow_exception(exception);
    }
};

} // namespace detail

// A lazily started coroutine that produces a T or throws. The Task owns its coroutine frame:
// destroying a Task that is suspended destroys the frame and, with it, every awaiter in it
// (pending HTTP replies are aborted, timers cancelled). That is how cancellation works here;
// see docs/async.md.
template <class T = void> class [[nodiscard]] Task {
public:
    struct promise_type : detail::ValuePromise<T> {
        Task get_return_object() { return Task(std::coroutine_handle<promise_type>::from_promise(*this)); }
    };

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    auto operator co_await() && noexcept {
        struct Awaiter {
            std::coroutine_handle<promise_type> handle;
            bool await_ready() noexcept { return false; }
            std::coroutine_handle<> await_suspend(std::coroutine_handle<> caller) noexcept {
                handle.promise().continuation = caller;
                return handle;
            }
            T await_resume() { return handle.promise().take(); }
        };
        return Awaiter{handle_};
    }

private:
    explicit Task(std::coroutine_handle<promise_type> handle) : handle_(handle) {}
    void reset() {
        if (handle_)
            std::exchange(handle_, {}).destroy();
    }

    std::coroutine_handle<promise_type> handle_;
};

} // namespace async
