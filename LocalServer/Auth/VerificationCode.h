#pragma once

#include "Http/ServerResponse.h"

#include <QJsonObject>
#include <QString>
#include <optional>

class GuessLimiter;
struct ServerContext;

// Six-digit one-time codes for email and phone verification. On a demo server, addresses at the
// reserved test domain example.com also accept the fixed code 424242.
namespace VerificationCode {
constexpr qint64 lifetimeMs = 10 * 60 * 1000;
constexpr int maxAttempts = 5;
inline const QString fixedTestCode = QStringLiteral("424242");
// One attempt sends a new code at most this often: asking again sooner is refused with 429.
constexpr qint64 resendCooldownMs = 30 * 1000;

// Creates a code, delivers it (ServerContext::deliverMail) and returns it.
QString send(ServerContext& context, const QString& recipient, const QString& purpose);
// Nothing when an attempt whose last code went out at `lastSentMs` (0: none yet) may be sent
// another at `nowMs`, else the 429 to answer with, its Retry-After the whole seconds left.
std::optional<ServerResponse> throttle(qint64 lastSentMs, qint64 nowMs);
// Whether `recipient` may answer with the fixed code: only at example.com and only with --demo.
bool acceptsFixedCode(const ServerContext& context, const QString& recipient);
// A verification object as the auth service shows it.
QJsonObject verification(const QString& status, const QString& strategy, int attempts, qint64 expireAt);
// Checks `given` against the pending verification in `verification` (updated in place: attempts,
// status). Nothing when it is accepted, else the error to answer with. With `guesses`, a code that
// would be compared must first be admitted there, and its outcome is counted there.
std::optional<ServerResponse> check(QJsonObject& verification, const QString& expected, const QString& given,
                                    bool fixedCodeAccepted, qint64 nowMs, GuessLimiter* guesses = nullptr);
} // namespace VerificationCode
