#pragma once

#include <QString>
#include <QStringList>

class Database;

// The counters of wrong guesses (GuessLimiter), by key. Every connection to the database sees the
// same counts.
class GuessCounterStore {
public:
    explicit GuessCounterStore(Database& db) : db_(db) {}

    // Takes one place on the counter at `nowMs`, starting a window of `windowMs` when the last one
    // has ended. False, taking nothing, when the counter is locked or already holds `maxFailures`.
    bool take(const QString& key, int maxFailures, qint64 windowMs, qint64 nowMs);
    void giveBack(const QString& key);
    // Locks a counter that holds `maxFailures` and is not locked yet until `untilMs`, when its
    // window ends too.
    void lockIfFull(const QString& key, int maxFailures, qint64 untilMs, qint64 nowMs);
    void forgetEnded(qint64 nowMs);
    void forget(const QStringList& keys);
    // The latest end of a lock among the counters; 0 when none is locked.
    qint64 lockedUntil(const QStringList& keys);

private:
    Database& db_;
};
