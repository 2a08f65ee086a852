#include "Auth/GuessLimiter.h"

#include "Auth/ClerkError.h"

GuessLimiter::GuessLimiter(Database& db, qint64 nowMs, QString refusal, QString paramName)
    : counterStore_(db), nowMs_(nowMs), refusal_(std::move(refusal)), paramName_(std::move(paramName)) {}

GuessLimiter& GuessLimiter::count(const QString& key, const Policy& policy) {
    counters_.append({key, policy});
    return *this;
}

std::optional<ServerResponse> GuessLimiter::admit() {
    for (qsizetype i = 0; i < counters_.size(); ++i) {
        if (!take(counters_[i])) {
            for (qsizetype j = 0; j < i; ++j)
                giveBack(counters_[j]);
            return refusal();
        }
    }
    admitted_ = true;
    return std::nullopt;
}

void GuessLimiter::succeeded() {
    if (!admitted_)
        return;
    admitted_ = false;
    for (const Counter& counter : counters_) {
        if (counter.policy.resetOnSuccess)
            counterStore_.forget({counter.key});
        else
            giveBack(counter);
    }
}

void GuessLimiter::failed() {
    if (!admitted_)
        return;
    admitted_ = false;
    for (const Counter& counter : counters_) {
        // The window ends with the cool-down, so that the counter starts again from nothing.
        const qint64 until = nowMs_ + counter.policy.cooldownMs;
        counterStore_.lockIfFull(counter.key, counter.policy.maxFailures, until, nowMs_);
    }
    counterStore_.forgetEnded(nowMs_);
}

bool GuessLimiter::take(const Counter& counter) {
    return counterStore_.take(counter.key, counter.policy.maxFailures, counter.policy.windowMs, nowMs_);
}

void GuessLimiter::giveBack(const Counter& counter) {
    counterStore_.giveBack(counter.key);
}

ServerResponse GuessLimiter::refusal() {
    QStringList keys;
    for (const Counter& counter : counters_)
        keys.append(counter.key);
    const qint64 leftMs = counterStore_.lockedUntil(keys) - nowMs_;
    // Rounded up, so that a client waiting as told is not refused again. A full counter that is
    // not yet locked has a guess still being compared: its outcome is known within a second.
    return ClerkError::tooManyRequests(qMax<qint64>(1, (leftMs + 999) / 1000), refusal_, paramName_);
}
