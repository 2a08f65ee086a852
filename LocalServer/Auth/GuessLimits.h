#pragma once

#include "Auth/GuessLimiter.h"

#include <QHostAddress>
#include <QString>

class Database;
struct ServerContext;

// How many wrong codes, passwords and backup codes the auth service takes, and on which counters.
namespace GuessLimits {
constexpr qint64 minuteMs = 60 * 1000;
// As many wrong codes as one code takes, however often the sign-in or sign-up asks for a new one.
constexpr GuessLimiter::Policy codesPerAttempt{5, 15 * minuteMs, 5 * minuteMs, true};
// An address's codes across all its attempts, so that new attempts bring no new guesses: at most
// about 240 of a million six-digit codes a day.
constexpr GuessLimiter::Policy codesPerAddress{10, 60 * minuteMs, 60 * minuteMs, true};
// Room for typos and a stuck caps lock, none for a word list.
constexpr GuessLimiter::Policy passwordsPerAccount{10, 15 * minuteMs, 15 * minuteMs, true};
// Whoever gets this far already knows the password; the owner has the phone or the codes at hand.
constexpr GuessLimiter::Policy backupCodesPerAccount{5, 15 * minuteMs, 15 * minuteMs, true};
// One device trying the passwords or backup codes of many accounts.
constexpr GuessLimiter::Policy secretsPerClient{20, 15 * minuteMs, 15 * minuteMs, false};
// Devices that drop their device token to start afresh. Every local client shares the loopback
// address, hence the high limit.
constexpr GuessLimiter::Policy secretsPerPeer{100, 15 * minuteMs, 15 * minuteMs, false};

// The counters of a code sent to `address` for the sign-in or sign-up `attemptId`.
GuessLimiter code(ServerContext& context, const QString& attemptId, const QString& address);
GuessLimiter password(ServerContext& context, const QString& userId, const QString& clientId,
                      const QHostAddress& peer);
GuessLimiter backupCode(ServerContext& context, const QString& userId, const QString& clientId,
                        const QHostAddress& peer);
// Empties the account's password counter, as after a new password.
void forgetPasswordGuesses(Database& db, const QString& userId);
// Removes the counters that name the account: its password, backup codes and addresses.
void forgetAccount(Database& db, const QString& userId, const QString& email, const QString& phone);
} // namespace GuessLimits
