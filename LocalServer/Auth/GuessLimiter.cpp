#include "GuessLimiter.h"

#include "ClerkError.h"
#include "Database.h"

GuessLimiter::GuessLimiter(Database& db, qint64 nowMs, QString refusal, QString paramName)
    : db_(db), nowMs_(nowMs), refusal_(std::move(refusal)), paramName_(std::move(paramName)) {}

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
            db_.exec("DELETE FROM guess_counters WHERE key = ?", {counter.key});
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
        db_.exec("UPDATE guess_counters SET locked_until = ?, window_ends = ?"
                 " WHERE key = ? AND failures >= ? AND locked_until <= ?",
                 {until, until, counter.key, counter.policy.maxFailures, nowMs_});
    }
    db_.exec("DELETE FROM guess_counters WHERE window_ends <= ?", {nowMs_});
}

bool GuessLimiter::take(const Counter& counter) {
    // One statement, so that two guesses racing for the last place cannot both get it.
    const qint64 windowEnds = nowMs_ + counter.policy.windowMs;
    return !db_.rows(
                   "INSERT INTO guess_counters (key, failures, window_ends, locked_until) VALUES (?, 1, ?, 0)"
                   " ON CONFLICT (key) DO UPDATE SET"
                   " failures = CASE WHEN window_ends <= ? THEN 1 ELSE failures + 1 END,"
                   " window_ends = CASE WHEN window_ends <= ? THEN ? ELSE window_ends END"
                   " WHERE window_ends <= ? OR (locked_until <= ? AND failures < ?)"
                   " RETURNING failures",
                   {counter.key, windowEnds, nowMs_, nowMs_, windowEnds, nowMs_, nowMs_,
                    counter.policy.maxFailures})
                .isEmpty();
}

void GuessLimiter::giveBack(const Counter& counter) {
    db_.exec("UPDATE guess_counters SET failures = MAX(failures - 1, 0) WHERE key = ?", {counter.key});
}

ServerResponse GuessLimiter::refusal() {
    QStringList placeholders;
    QVariantList keys;
    for (const Counter& counter : counters_) {
        placeholders.append("?");
        keys.append(counter.key);
    }
    const auto row =
        db_.row(QStringLiteral("SELECT MAX(locked_until) AS until FROM guess_counters WHERE key IN (%1)")
                    .arg(placeholders.join(", ")),
                keys);
    const qint64 leftMs = row ? row->value("until").toLongLong() - nowMs_ : 0;
    // Rounded up, so that a client waiting as told is not refused again. A full counter that is
    // not yet locked has a guess still being compared: its outcome is known within a second.
    return ClerkError::tooManyRequests(qMax<qint64>(1, (leftMs + 999) / 1000), refusal_, paramName_);
}
