#pragma once

#include "Auth/GuessCounterStore.h"
#include "Http/ServerResponse.h"

#include <QList>
#include <QString>
#include <optional>

class Database;

// Limits wrong guesses at one secret (a code, a password, a backup code) on several counters at
// once. The counters live in the database, so every connection to it sees the same counts. A guess
// takes its place on every counter before the secret is compared, so concurrent guesses can never
// overfill a counter; a counter that fills up with failures refuses guesses for its cool-down and
// then starts again from nothing.
class GuessLimiter {
public:
    struct Policy {
        int maxFailures;
        qint64 windowMs;     // failures are forgotten this long after the first of them
        qint64 cooldownMs;   // how long a full counter refuses guesses
        bool resetOnSuccess; // a right guess empties the counter rather than only not counting
    };

    // `refusal` opens the long message of the 429; `paramName` is the form field it is about.
    GuessLimiter(Database& db, qint64 nowMs, QString refusal, QString paramName);

    GuessLimiter& count(const QString& key, const Policy& policy);
    // Takes a place for this guess on every counter. Nothing when the guess may be compared, else
    // the 429 to answer with, its Retry-After the whole seconds until the last counter opens; a
    // refused guess counts nowhere.
    std::optional<ServerResponse> admit();
    void succeeded();
    void failed();

private:
    struct Counter {
        QString key;
        Policy policy;
    };

    bool take(const Counter& counter);
    void giveBack(const Counter& counter);
    ServerResponse refusal();

    GuessCounterStore counterStore_;
    qint64 nowMs_;
    QString refusal_;
    QString paramName_;
    QList<Counter> counters_;
    bool admitted_ = false;
};
