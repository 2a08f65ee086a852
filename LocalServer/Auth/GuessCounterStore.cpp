#include "Auth/GuessCounterStore.h"

#include "Storage/Database.h"

namespace {
QString placeholders(const QStringList& keys) {
    return QStringList(keys.size(), QStringLiteral("?")).join(", ");
}

QVariantList values(const QStringList& keys) {
    return QVariantList(keys.begin(), keys.end());
}
} // namespace

bool GuessCounterStore::take(const QString& key, int maxFailures, qint64 windowMs, qint64 nowMs) {
    // One statement, so that two guesses racing for the last place cannot both get it.
    const qint64 windowEnds = nowMs + windowMs;
    return !db_.rows(
                   "INSERT INTO guess_counters (key, failures, window_ends, locked_until) VALUES (?, 1, ?, 0)"
                   " ON CONFLICT (key) DO UPDATE SET failures = CASE WHEN guess_counters.window_ends <= ?"
                   " THEN 1 ELSE guess_counters.failures + 1 END,"
                   " window_ends = CASE WHEN guess_counters.window_ends <= ? THEN ? ELSE "
                   "guess_counters.window_ends END"
                   " WHERE guess_counters.window_ends <= ? OR (guess_counters.locked_until <= ?"
                   " AND guess_counters.failures < ?)"
                   " RETURNING failures",
                   {key, windowEnds, nowMs, nowMs, windowEnds, nowMs, nowMs, maxFailures})
                .isEmpty();
}

void GuessCounterStore::giveBack(const QString& key) {
    db_.exec("UPDATE guess_counters SET failures = CASE WHEN failures > 0 THEN failures - 1 ELSE 0 END"
             " WHERE key = ?",
             {key});
}

void GuessCounterStore::lockIfFull(const QString& key, int maxFailures, qint64 untilMs, qint64 nowMs) {
    db_.exec("UPDATE guess_counters SET locked_until = ?, window_ends = ?"
             " WHERE key = ? AND failures >= ? AND locked_until <= ?",
             {untilMs, untilMs, key, maxFailures, nowMs});
}

void GuessCounterStore::forgetEnded(qint64 nowMs) {
    db_.exec("DELETE FROM guess_counters WHERE window_ends <= ?", {nowMs});
}

void GuessCounterStore::forget(const QStringList& keys) {
    db_.exec(QStringLiteral("DELETE FROM guess_counters WHERE key IN (%1)").arg(placeholders(keys)),
             values(keys));
}

qint64 GuessCounterStore::lockedUntil(const QStringList& keys) {
    const auto row =
        db_.row(QStringLiteral("SELECT MAX(locked_until) AS until FROM guess_counters WHERE key IN (%1)")
                    .arg(placeholders(keys)),
                values(keys));
    return row ? row->value("until").toLongLong() : 0;
}
