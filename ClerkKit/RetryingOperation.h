#pragma once

#include "ClerkLogger.h"
#include "Clock.h"
#include "RetryPolicy.h"
#include "Task.h"
#include "URLError.h"

#include <type_traits>

namespace detail {
template <class T> struct TaskValue;
template <class T> struct TaskValue<async::Task<T>> { using type = T; };
} // namespace detail

// Runs `operation` (a callable returning a Task) until it succeeds or has failed policy.maxAttempts
// times, waiting with exponential backoff in between; rethrows the last error. Cancellation ends
// the wait like any other suspension, and a cancelled attempt (URLError cancelled) is never repeated.
template <class Operation, class R = typename detail::TaskValue<std::invoke_result_t<Operation>>::type>
async::Task<R> retryingOperation(RetryPolicy policy, QString operationName, Operation operation,
                                 ClerkLogger logger) {
    for (int failure = 1;; ++failure) {
        std::exception_ptr error;
        try {
            co_return co_await operation();
        } catch (const URLError& e) {
            if (e.code() == URLError::Code::cancelled)
                throw;
            error = std::current_exception();
        } catch (...) {
            error = std::current_exception();
        }
        if (failure >= policy.maxAttempts)
            std::rethrow_exception(error);
        const auto delay = policy.delayAfter(failure);
        logger.debug(QStringLiteral("Retrying %1 after failure. Attempt %2 of %3. Backing off for %4ms.")
                         .arg(operationName)
                         .arg(failure + 1)
                         .arg(policy.maxAttempts)
                         .arg(delay.count()));
        co_await async::Clock::current().sleep(delay);
    }
}
