#pragma once

#include "TaskScope.h"
#include "VirtualClock.h"

#include <QTest>

#include <QString>

#include <exception>
#include <optional>

// Runs a task in a test and keeps how it ended: QTRY_VERIFY(probe.done) waits for real I/O, and
// error<E>() hands back the exception it ended with.
template <class T> class TaskProbe {
public:
    explicit TaskProbe(async::Task<T> task) {
        if constexpr (std::is_void_v<T>)
            scope_.spawn(
                std::move(task), [this] { finished_ = true; }, [this](std::exception_ptr e) { fail(e); });
        else
            scope_.spawn(
                std::move(task),
                [this](T v) {
                    value_ = std::move(v);
                    finished_ = true;
                },
                [this](std::exception_ptr e) { fail(e); });
    }

    bool done() const { return finished_; }
    bool succeeded() const { return finished_ && !error_; }
    const auto& value() const { return *value_; }

    template <class E> E error() const {
        if (!error_)
            qFatal("the task did not fail");
        try {
            std::rethrow_exception(error_);
        } catch (const E& e) {
            return e;
        } catch (const std::exception& e) {
            qFatal("the task failed otherwise: %s", e.what());
        }
        qFatal("the task failed with an unknown exception");
    }

    // Lets real I/O finish and moves virtual time on to each wait of at most `longestWait` (longer
    // timers are the timeouts of requests in flight), until the task ends. False if it stalls.
    bool runOnVirtualTime(async::VirtualClock& clock, std::chrono::milliseconds longestWait) {
        while (!finished_) {
            if (!QTest::qWaitFor([&] { return finished_ || clock.nextTimerIn() <= longestWait; }))
                return false;
            if (!finished_)
                clock.advance(clock.nextTimerIn());
        }
        return true;
    }

    // What the task failed with, for test messages.
    QString errorText() const {
        try {
            if (error_)
                std::rethrow_exception(error_);
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        } catch (...) {
            return QStringLiteral("an unknown exception");
        }
        return {};
    }

    void cancel() { scope_.cancelAll(); }

private:
    void fail(std::exception_ptr e) {
        error_ = e;
        finished_ = true;
    }
    struct Nothing {};
    std::optional<std::conditional_t<std::is_void_v<T>, Nothing, T>> value_;
    std::exception_ptr error_;
    bool finished_ = false;
    async::TaskScope scope_;
};
