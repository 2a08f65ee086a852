#include "Clock.h"

#include "SystemClock.h"

namespace async {

Clock* Clock::override_ = nullptr;

Clock& Clock::system() {
    static SystemClock clock;
    return clock;
}

Clock& Clock::current() {
    return override_ ? *override_ : system();
}

SleepAwaiter Clock::sleep(Duration delay) {
    return SleepAwaiter(*this, delay);
}

SleepAwaiter::~SleepAwaiter() {
    if (timer_)
        clock_.cancel(timer_);
}

void SleepAwaiter::await_suspend(std::coroutine_handle<> handle) {
    wakeup_.arm(handle);
    timer_ = clock_.schedule(delay_, [this] {
        timer_ = 0;
        wakeup_.fire();
    });
}

} // namespace async
