#pragma once

#include <QObject>

#include <coroutine>

namespace async {

// Resumes a suspended coroutine from the event loop, never from inside the callback or signal
// that woke it. Owned by an awaiter: when the awaiter dies with its frame, a wake-up already
// posted is dropped along with the guard object it was posted to.
class Wakeup {
public:
    void arm(std::coroutine_handle<> handle) { handle_ = handle; }
    void fire();

private:
    QObject guard_;
    std::coroutine_handle<> handle_;
};

} // namespace async
